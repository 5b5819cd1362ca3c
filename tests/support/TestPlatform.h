#pragma once
// A whole platform of null, scripted and recording parts, so the engine
// runs in a test without a display, a sound card or real time.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_Form.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/headless/BoxFont.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/NullDialogHost.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "platform/headless/VirtualClock.h"

namespace mirel::test {

// Records the command texts it is sent; a song "plays" for `songMs` of the
// clock after "play", then reads as stopped.
class FakeAudio final : public AudioBackend {
 public:
  explicit FakeAudio(Clock& clock) : clock_(clock) {}
  uint32_t SendString(const std::string& command, std::string* result) override;
  bool PlaySound(const Bytes& wave, uint32_t flags) override;
  bool MixerOpen() override { return mixerOk; }
  bool GetVolume(uint32_t& v) override {
    if (!mixerOk) return false;
    v = volume;
    return true;
  }
  bool SetVolume(uint32_t v) override {
    if (!mixerOk) return false;
    volume = v;
    volumes.push_back(v);
    return true;
  }
  std::string Describe() override { return "fake audio"; }

  bool mixerOk = true;
  uint32_t volume = 65535;
  uint32_t songMs = 60000;
  std::vector<std::string> commands;
  std::vector<uint32_t> volumes;
  std::vector<std::pair<size_t, uint32_t>> sounds;  // wave size, flags
  bool open = false, playing = false;
  uint32_t playStart = 0;
  std::string openPath;

 private:
  Clock& clock_;
};

class FixedSystemInfo final : public SystemInfo {
 public:
  HostFacts facts;
  HostFacts Facts() override { return facts; }
};

// Runs a callback at every pump: the test decides what the player does.
class CallbackEvents final : public EventSource {
 public:
  std::function<void(EventQueue&)> onPump;
  void Pump(EventQueue& q) override {
    if (onPump) onPump(q);
  }
};

// Decodes BMP files for real; of a JPEG file it reads only the size and
// fills the picture with one colour taken from the file's bytes, so tests
// can tell pictures apart without a JPEG decoder.
class TestImageCodec final : public ImageCodec {
 public:
  bool Decode(const Bytes& bytes, Image& out) override;
  static uint32_t JpegColour(const Bytes& bytes);
};

struct TestPlatform {
  TestPlatform();
  VirtualClock clock;
  CallbackEvents events;
  ScriptedMessageBoxes messages;
  TestImageCodec images;
  BoxFont fonts;
  FakeAudio audio{clock};
  FixedSystemInfo system;
  HeadlessWindow window;
  NullDialogHost dialogs;
  Platform platform;
};

// A fresh, empty folder under the system's temporary folder, removed again
// with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends with '/'
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// A scenario record of block `num` with its command, text and first
// parameter; the other fields empty.
inline ScenarioRecord Record(int16_t num, Text cmd = u"", Text text = u"", Text param1 = u"") {
  ScenarioRecord r;
  r.Num = num;
  r.Cmd = std::move(cmd);
  r.Text = std::move(text);
  r.Param1 = std::move(param1);
  return r;
}

void WriteBytes(const std::string& path, const std::string& bytes);
// A w x h picture whose pixel (x, y) is colour(x, y); one of one colour; a
// picture written as a BMP file.
Image Painted(int w, int h, const std::function<uint32_t(int, int)>& colour);
inline Image Plain(int w, int h, uint32_t colour) { return Image{w, h, std::vector<uint32_t>(size_t(w) * h, colour)}; }
void WriteBmp(const std::string& path, const Image& img);
// Fills a surface with one colour, and shows it or leaves it hidden.
inline void Fill(Surface& s, uint32_t colour, bool visible = true) {
  s.BackColor = colour;
  s.Cls();
  s.Visible = visible;
}
// Copies the demo data folder the build made into `dir`; false when the
// build has not made it.
bool CopyDemoData(const std::string& dir);
std::string ReadBytes(const std::string& path);
// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> FolderFiles(const std::string& dir);
// The lines of `s`, each without the `end` that closes it; a last line
// without one counts too.
std::vector<std::string> Lines(const std::string& s, const std::string& end = "\r\n");
// A picture file as the game reads it while it runs: the first two bytes
// of its stored form repaired for a JPEG or a BMP file.
Bytes Restored(const std::string& bytes, bool jpeg);
// Runs a shell command: its exit status (-1 when it did not exit) and what
// it printed on its standard output.
struct Outcome {
  int status = -1;
  std::string out;
};
Outcome Shell(const std::string& cmd);
// Runs the shell command `inner` in the folder `dir` on a virtual X display
// of `screen` pixels (for example "1280x1024") of its own, reached with its
// own cookie, with its home and settings in `dir` (ending in a separator),
// `env` in front and both output streams caught.
Outcome OnDesktop(const std::string& dir, const std::string& screen, const std::string& inner,
                  const std::string& env = "");
// The real program on such a display, its windows managed by openbox:
// `mirel ARGS`.
Outcome RunOnDesktop(const std::string& dir, const std::string& screen, const std::string& args,
                     const std::string& env = "");
// Folder of the build (for the demo data and the program), from the
// environment the tests are run in.
std::string BuildDir();

}  // namespace mirel::test
