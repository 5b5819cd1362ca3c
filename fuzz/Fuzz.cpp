#include "Fuzz.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace mirel::fuzz {

namespace {

class NoEvents final : public EventSource {
 public:
  void Pump(EventQueue&) override {}
};

}  // namespace

const std::string& ScratchDir() {
  namespace fs = std::filesystem;
  struct Folder {
    std::string path;
    Folder() {
      std::error_code ec;
      fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
      fs::path d = base / ("mirel-fuzz-" + std::to_string(::getpid()));
      fs::create_directories(d);
      path = d.string() + "/";
    }
    ~Folder() {
      std::error_code ec;
      fs::remove_all(path, ec);
    }
  };
  static const Folder folder;
  return folder.path;
}

void WriteScratch(const std::string& path, std::string_view bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(f.good());
}

FuzzPlatform::FuzzPlatform() {
  static NoEvents events;
  platform.clock = &clock;
  platform.events = &events;
  platform.messages = &messages;
  platform.images = &images;
  platform.fonts = &fonts;
  platform.audio = &audio;
  platform.system = &system;
  platform.window = &window;
  platform.dialogs = &dialogs;
}

}  // namespace mirel::fuzz
