#pragma once
// Files of the data folder. Names are found whatever their case, since data
// copied from Windows keeps any case; writes that replace a file are atomic.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirel {

using Bytes = std::vector<uint8_t>;

// `dir` ends with a separator. Returns dir + the existing entry whose name
// equals `name` ignoring ASCII case, or dir + name when there is none.
// `name` may name folders on the way, with "/" or "\\", each part found
// whatever its case; a name that leaves the folder (see StaysInFolder) is
// returned unresolved.
std::string ResolveInDir(const std::string& dir, const std::string& name);
bool FileExists(const std::string& path);   // a regular file
bool DirExists(const std::string& path);
// -1 when the file does not exist.
long long FileSize(const std::string& path);
std::optional<Bytes> ReadFile(const std::string& path);
// Writes into a temporary file beside the target, flushes it to disk and
// renames it over the target. On failure the old file is left as it was and
// the reason is returned; a read-only target is refused.
std::optional<std::string> WriteFileAtomic(const std::string& path, const Bytes& data);
std::optional<std::string> WriteFileAtomic(const std::string& path, const std::string& data);
// Overwrites bytes in place without changing the file's length; false when
// the file cannot be opened or is shorter than offset + size.
bool PatchFile(const std::string& path, size_t offset, const uint8_t* data, size_t size);
bool RemoveFile(const std::string& path);
// Told of every change the three calls above made to a file (one at a
// time, for recording a play); returns the one it replaces.
class FileObserver {
 public:
  virtual ~FileObserver() = default;
  virtual void Written(const std::string& path, const uint8_t* data, size_t size) = 0;
  virtual void Patched(const std::string& path, size_t offset, const uint8_t* data, size_t size) = 0;
  virtual void Removed(const std::string& path) = 0;
};
FileObserver* SetFileObserver(FileObserver* observer);
// False for a name that would lead out of its folder: an absolute path, a
// drive letter or a ".." step.
bool StaysInFolder(const std::string& name);
std::string LastErrorText();
// The folder of the running program, ending with a separator.
std::string ProgramDir();
std::string JoinPath(const std::string& dir, const std::string& name);
constexpr char kPathSep = '/';

}  // namespace mirel
