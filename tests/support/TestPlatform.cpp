#include "support/TestPlatform.h"

#include <sys/wait.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/BmpCodec.h"

namespace mirel::test {

uint32_t FakeAudio::SendString(const std::string& command, std::string* result) {
  commands.push_back(command);
  if (result) result->clear();
  if (!mixerOk) return 263;
  if (command.rfind("open ", 0) == 0) {
    size_t a = command.find('"'), b = command.find('"', a + 1);
    openPath = command.substr(a + 1, b - a - 1);
    if (!std::filesystem::exists(openPath)) return 275;  // file not found
    open = true;
    return 0;
  }
  if (!open) return 263;
  if (command == "play midifile from 0") {
    playing = true;
    playStart = clock_.GetTickCount();
    return 0;
  }
  if (command == "stop midifile ") {
    playing = false;
    return 0;
  }
  if (command == "close midifile") {
    open = playing = false;
    return 0;
  }
  if (command == "status midifile mode") {
    if (playing && TicksSince(playStart, clock_.GetTickCount()) >= songMs) playing = false;
    if (result) *result = playing ? "playing" : "stopped";
    return 0;
  }
  return 0;
}

bool FakeAudio::PlaySound(const Bytes& wave, uint32_t flags) {
  sounds.emplace_back(wave.size(), flags);
  return true;
}

bool TestImageCodec::Decode(const Bytes& b, Image& out) {
  if (BmpCodec().Decode(b, out)) return true;
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  for (size_t i = 2; i + 9 < b.size();) {
    if (b[i] != 0xFF) return false;
    uint8_t marker = b[i + 1];
    size_t len = (b[i + 2] << 8) | b[i + 3];
    if (marker >= 0xC0 && marker <= 0xC3) {
      out.height = (b[i + 5] << 8) | b[i + 6];
      out.width = (b[i + 7] << 8) | b[i + 8];
      out.pixels.assign(static_cast<size_t>(out.width) * out.height, JpegColour(b));
      return out.width > 0 && out.height > 0;
    }
    i += 2 + len;
  }
  return false;
}

uint32_t TestImageCodec::JpegColour(const Bytes& b) {
  uint32_t h = 2166136261u;
  for (uint8_t c : b) h = (h ^ c) * 16777619u;
  return h & 0xFFFFFF;
}

TestPlatform::TestPlatform() {
  platform.clock = &clock;
  platform.events = &events;
  platform.messages = &messages;
  platform.images = &images;
  platform.fonts = &fonts;
  platform.audio = &audio;
  platform.system = &system;
  platform.window = &window;
  platform.dialogs = &dialogs;
  system.facts.dateTime = "2026/12/06 12:00:00";
  system.facts.screenWidth = 1920;
  system.facts.screenHeight = 1080;
  system.facts.screenDepth = 32;
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "mirel-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only folders made by tests must still go.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
  for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

Image Painted(int w, int h, const std::function<uint32_t(int, int)>& colour) {
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.pixels[static_cast<size_t>(y) * w + x] = colour(x, y);
  return img;
}

void WriteBmp(const std::string& path, const Image& img) {
  Bytes b = BmpCodec::Encode(img);
  WriteBytes(path, std::string(b.begin(), b.end()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::map<std::string, std::string> FolderFiles(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (auto& e : std::filesystem::directory_iterator(dir)) files[e.path().filename()] = ReadBytes(e.path());
  return files;
}

std::vector<std::string> Lines(const std::string& s, const std::string& end) {
  std::vector<std::string> v;
  for (size_t start = 0; start < s.size();) {
    size_t e = s.find(end, start);
    if (e == std::string::npos) e = s.size();
    v.push_back(s.substr(start, e - start));
    start = e + end.size();
  }
  return v;
}

Bytes Restored(const std::string& bytes, bool jpeg) {
  Bytes b(bytes.begin(), bytes.end());
  if (b.size() >= 2) {
    b[0] = jpeg ? 0xFF : 'B';
    b[1] = jpeg ? 0xD8 : 'M';
  }
  return b;
}

Outcome Shell(const std::string& cmd) {
  Outcome r;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  return r;
}

namespace {

// Held while a test uses a virtual X display: the desktop tests run one at a
// time, since X servers started side by side can take one display number.
class DesktopLock {
 public:
  DesktopLock() : fd_(open("/tmp/mirel-desktop-tests.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666)) {
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  ~DesktopLock() {
    if (fd_ >= 0) close(fd_);
  }
  DesktopLock(const DesktopLock&) = delete;
  DesktopLock& operator=(const DesktopLock&) = delete;

 private:
  int fd_;
};

}  // namespace

Outcome OnDesktop(const std::string& dir, const std::string& screen, const std::string& inner,
                  const std::string& env) {
  // Tests run side by side, and other machines' X servers may answer on
  // the low display numbers: each test process looks for a free display
  // from a number of its own, and xvfb-run's cookie keeps its clients off
  // any server but the one it started. The server is never reset: a
  // client that connects and leaves (the accessibility bus) would otherwise
  // take it down just as the game connects.
  const std::string from = std::to_string(100 + getpid() % 5000);
  DesktopLock one;
  // The player's settings (full screen, the window's place) are the test's
  // own, not left over from another run.
  return Shell("cd '" + dir + "' && HOME='" + dir + "' XDG_CONFIG_HOME='" + dir + "config' XDG_DATA_HOME='" + dir +
               "share' MIREL_LOCK_DIR='" + dir + "' QT_QPA_PLATFORM=xcb " + env + " xvfb-run -a -n " + from +
               " -s '-noreset -screen 0 " + screen + "x24' " + inner + " 2>&1");
}

Outcome RunOnDesktop(const std::string& dir, const std::string& screen, const std::string& args,
                     const std::string& env) {
  return OnDesktop(dir, screen, "sh -c 'openbox >/dev/null 2>&1 & sleep 1; " + BuildDir() + "src/mirel " + args + "'",
                   env);
}

bool CopyDemoData(const std::string& dir) {
  std::filesystem::path from = BuildDir() + "demo-data";
  if (!std::filesystem::exists(from / "90.dat")) return false;
  for (auto& e : std::filesystem::directory_iterator(from))
    std::filesystem::copy_file(e.path(), std::filesystem::path(dir) / e.path().filename(),
                               std::filesystem::copy_options::overwrite_existing);
  return true;
}

std::string BuildDir() {
  const char* d = std::getenv("MIREL_BUILD_DIR");
  return std::string(d ? d : MIREL_TEST_BUILD_DIR) + "/";
}

}  // namespace mirel::test
