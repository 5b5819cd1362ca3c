#pragma once
// What the player would see and hear, written down where it leaves the
// program: every present the window is handed (with a hash of the whole
// picture as presented), every music, sound and volume operation the
// speakers are told, every message box and dialog, every file written, on
// the program's clock. One event a line, plain text and the same on every
// run and machine, so a play can be compared with one recorded before.
// Each recorder wraps the real part and passes everything on unchanged.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/Files.h"
#include "platform/AudioBackend.h"
#include "platform/Clock.h"
#include "platform/DialogHost.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "platform/WindowHost.h"

namespace mirel {

class Observation {
 public:
  using Sink = std::function<void(const std::string&)>;
  Observation(Clock& clock, Sink sink) : clock_(clock), sink_(std::move(sink)) {}
  // Where the story's folder is (asked at each use: the game finds it late);
  // names inside it are written relative to it, others by their last part.
  void SetDataDir(std::function<std::string()> dir) { dataDir_ = std::move(dir); }
  // A short name for a wave image (its resource number), "" for none.
  void SetWaveNamer(std::function<std::string(const Bytes&)> namer) { waveNamer_ = std::move(namer); }
  // Files whose bytes differ from machine to machine by design: their
  // writing is noted without size or hash.
  void SetUnhashedFiles(std::vector<std::string> names) { unhashed_ = std::move(names); }

  void Note(const std::string& what);
  std::string FileName(const std::string& path) const;
  // A message naming the story's folder names it "<data>/", the same on
  // every machine.
  std::string WithoutDataDir(std::string text) const;
  std::string WaveName(const Bytes& wave) const;
  bool Hashed(const std::string& name) const;
  uint32_t Now() { return clock_.GetTickCount(); }

 private:
  Clock& clock_;
  Sink sink_;
  std::function<std::string()> dataDir_;
  std::function<std::string(const Bytes&)> waveNamer_;
  std::vector<std::string> unhashed_;
};

// A text as the trace writes it: in double quotes, with line breaks,
// quotes and backslashes escaped.
std::string Quoted(const std::string& utf8);
// 64-bit hash of bytes, as 16 hex digits.
std::string HashText(const uint8_t* data, size_t size);

class ObservedWindow final : public WindowHost {
 public:
  ObservedWindow(WindowHost& inner, Observation& obs) : inner_(inner), obs_(obs) {}
  void Show() override;
  void Present(PictureView frame, const std::vector<Rect>& dirty) override;
  void Sync(const FormState& state) override;
  Rect OuterRect() override { return inner_.OuterRect(); }
  Rect ClientRect() override { return inner_.ClientRect(); }
  void SetOuterSize(int w, int h) override;
  void Move(int x, int y) override;
  int ScreenWidth() override { return inner_.ScreenWidth(); }
  int ScreenHeight() override { return inner_.ScreenHeight(); }
  bool HasCaption() override { return inner_.HasCaption(); }
  void SetCaption(bool on) override;
  bool ChangeDisplayMode(bool fullScreen) override;
  bool InFullScreenMode() override { return inner_.InFullScreenMode(); }
  void SetImeOpen(bool open) override;

 private:
  WindowHost& inner_;
  Observation& obs_;
  // The hash of each row of the picture as last presented: a present
  // hashes only the rows it changed, the whole picture's hash is theirs.
  std::vector<uint64_t> rows_;
  int width_ = 0, height_ = 0;
  FormState state_;
};

class ObservedAudio final : public AudioBackend {
 public:
  ObservedAudio(AudioBackend& inner, Observation& obs) : inner_(inner), obs_(obs) {}
  uint32_t SendString(const std::string& command, std::string* result) override;
  bool PlaySound(const Bytes& wave, uint32_t flags) override;
  bool MixerOpen() override;
  bool GetVolume(uint32_t& value) override { return inner_.GetVolume(value); }
  bool SetVolume(uint32_t value) override;
  void SetPlayerGains(float music, float effects) override;
  std::string Describe() override { return inner_.Describe(); }

 private:
  AudioBackend& inner_;
  Observation& obs_;
  float music_ = 1, effects_ = 1;
};

class ObservedMessages final : public MessageBoxes {
 public:
  ObservedMessages(MessageBoxes& inner, Observation& obs) : inner_(inner), obs_(obs) {}
  MsgAnswer Show(const Text& text, MsgButtons buttons) override;

 private:
  MessageBoxes& inner_;
  Observation& obs_;
};

// Dialogs as they are shown: every control when one opens, then what each
// update changed.
class ObservedDialogs final : public DialogHost {
 public:
  ObservedDialogs(DialogHost& inner, Observation& obs) : inner_(inner), obs_(obs) {}
  void ShowDialog(const DialogModel& model) override;
  void UpdateDialog(const DialogModel& model) override;
  void CloseDialog(const DialogModel& model) override;

 private:
  void Changes(const DialogModel& model, bool all);
  DialogHost& inner_;
  Observation& obs_;
  std::map<std::string, DialogModel> shown_;
};

// The machine as the trace sees it: the same facts on every machine, the
// date and time running from a fixed day on the program's clock.
class ObservedSystem final : public SystemInfo {
 public:
  ObservedSystem(SystemInfo& inner, Clock& clock) : inner_(inner), clock_(clock) {}
  HostFacts Facts() override;

 private:
  SystemInfo& inner_;
  Clock& clock_;
};

// Notes every file written, patched or removed while it lives.
class ObservedFiles final : public FileObserver {
 public:
  explicit ObservedFiles(Observation& obs);
  ~ObservedFiles() override;
  ObservedFiles(const ObservedFiles&) = delete;
  ObservedFiles& operator=(const ObservedFiles&) = delete;
  void Written(const std::string& path, const uint8_t* data, size_t size) override;
  void Patched(const std::string& path, size_t offset, const uint8_t* data, size_t size) override;
  void Removed(const std::string& path) override;

 private:
  Observation& obs_;
  FileObserver* previous_;
};

// The recorders put in place of the parts of a platform that reach the
// player, for as long as it lives; each passes everything on.
class Recording {
 public:
  Recording(Platform& p, Observation::Sink sink);
  ~Recording();
  Observation& Log() { return obs_; }

 private:
  Platform& p_;
  Platform was_;
  Observation obs_;
  ObservedWindow window_;
  ObservedAudio audio_;
  ObservedMessages messages_;
  ObservedDialogs dialogs_;
  ObservedSystem system_;
  ObservedFiles files_;
};

}  // namespace mirel
