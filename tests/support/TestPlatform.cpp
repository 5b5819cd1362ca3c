#include "support/TestPlatform.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string BuildDir() {
  const char* d = std::getenv("MIREL_BUILD_DIR");
  return d ? std::string(d) + "/" : std::string("./");
}

}  // namespace mirel::test
