#include "base/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace mirel {

namespace {

// The entry of `dir` whose name equals `name` ignoring ASCII case, or
// `name` itself when there is none.
std::string EntryIn(const std::string& dir, const std::string& name) {
  struct stat st;
  if (::stat((dir + name).c_str(), &st) == 0) return name;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string found = name;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

std::string ResolveInDir(const std::string& dir, const std::string& name) {
  // Names written on Windows separate folders with "\"; each part is found
  // whatever its case. A name that would leave the folder is not looked up.
  if (!StaysInFolder(name)) return dir + name;
  std::string path = dir;
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("/\\", start);
    const std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) return path + EntryIn(path, part);
    if (!part.empty()) path += EntryIn(path, part) + kPathSep;
    start = end + 1;
  }
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

long long FileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

std::optional<Bytes> ReadFile(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  Bytes data;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
  bool bad = std::ferror(f);
  std::fclose(f);
  if (bad) return std::nullopt;
  return data;
}

namespace {
FileObserver* g_observer = nullptr;
}  // namespace

std::optional<std::string> WriteFileAtomic(const std::string& path, const Bytes& data) {
  // The rename would replace a file its owner made read-only: only the
  // folder's permission counts for it.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return std::string("the file is read-only");
  std::string tmp = path + ".tmp";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return LastErrorText();
  size_t done = 0;
  while (done < data.size()) {
    ssize_t w = ::write(fd, data.data() + done, data.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      std::string err = LastErrorText();
      ::close(fd);
      ::unlink(tmp.c_str());
      return err;
    }
    done += static_cast<size_t>(w);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) {
    std::string err = LastErrorText();
    ::close(fd);
    ::unlink(tmp.c_str());
    return err;
  }
  if (::close(fd) != 0) {
    std::string err = LastErrorText();
    ::unlink(tmp.c_str());
    return err;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    std::string err = LastErrorText();
    ::unlink(tmp.c_str());
    return err;
  }
  if (g_observer) g_observer->Written(path, data.data(), data.size());
  return std::nullopt;
}

std::optional<std::string> WriteFileAtomic(const std::string& path, const std::string& data) {
  return WriteFileAtomic(path, Bytes(data.begin(), data.end()));
}

bool PatchFile(const std::string& path, size_t offset, const uint8_t* data, size_t size) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && static_cast<size_t>(st.st_size) >= offset + size &&
            ::pwrite(fd, data, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
  if (::close(fd) != 0) ok = false;
  if (ok && g_observer) g_observer->Patched(path, offset, data, size);
  return ok;
}

bool RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return false;
  if (g_observer) g_observer->Removed(path);
  return true;
}

FileObserver* SetFileObserver(FileObserver* observer) {
  FileObserver* was = g_observer;
  g_observer = observer;
  return was;
}

bool StaysInFolder(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  return true;
}

std::string LastErrorText() { return std::strerror(errno); }

std::string ProgramDir() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  std::string p(buf, static_cast<size_t>(n));
  size_t slash = p.rfind('/');
  return slash == std::string::npos ? "./" : p.substr(0, slash + 1);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == kPathSep ? dir + name : dir + kPathSep + name;
}

}  // namespace mirel
