#include "platform/headless/Observation.h"

#include <algorithm>
#include <cstdio>

namespace mirel {

namespace {

constexpr uint64_t kFnvBasis = 1469598103934665603ull, kFnvPrime = 1099511628211ull;

uint64_t Mix(uint64_t h, uint64_t v) { return (h ^ v) * kFnvPrime; }

std::string Hex64(uint64_t v) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
  return buf;
}

std::string Colour(uint32_t c) {
  if (c == 0xFFFFFFFF) return "default";
  char buf[8];
  std::snprintf(buf, sizeof buf, "%06x", c & 0xFFFFFF);
  return buf;
}

const char* const kMenuNames[kMenuItemCount] = {"prog_end", "prog_load", "prog_save", "opt_menu", "speedup", "vvrr"};

const char* KindName(ControlKind k) {
  switch (k) {
    case ControlKind::Label: return "label";
    case ControlKind::Button: return "button";
    case ControlKind::OptionButton: return "option";
    case ControlKind::CheckBox: return "check";
    case ControlKind::HScrollBar: return "scroll";
    case ControlKind::TextBox: return "textbox";
    case ControlKind::Frame: return "frame";
    case ControlKind::Panel: return "panel";
    case ControlKind::Picture: return "picture";
  }
  return "?";
}

// Everything of a control the player can see, as one line.
std::string ControlText(const DialogControl& c) {
  std::string s = c.name + " " + KindName(c.kind) + " " + Quoted(Utf8(c.caption)) + " " + std::to_string(c.x) + "," +
                  std::to_string(c.y) + "," + std::to_string(c.w) + "," + std::to_string(c.h);
  if (!c.parent.empty()) s += " in=" + c.parent;
  if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::OptionButton || c.kind == ControlKind::HScrollBar)
    s += " value=" + std::to_string(c.value);
  if (c.backColor != 0xFFFFFFFF) s += " back=" + Colour(c.backColor);
  if (c.foreColor != 0xFFFFFFFF) s += " fore=" + Colour(c.foreColor);
  if (c.fontSize != 0) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%g", c.fontSize);
    s += std::string(" size=") + buf;
  }
  if (c.bold) s += " bold";
  if (!c.pixels.empty())
    s += " pixels=" + HashText(reinterpret_cast<const uint8_t*>(c.pixels.data()), c.pixels.size() * sizeof(uint32_t));
  if (!c.enabled) s += " disabled";
  if (!c.visible) s += " hidden";
  return s;
}

}  // namespace

std::string Quoted(const std::string& utf8) {
  std::string out = "\"";
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;  // CR LF is one break
    if (c == '\n' || c == '\r') out += "\\n";
    else if (c == '"' || c == '\\') out += std::string("\\") + c;
    else out += c;
  }
  return out + "\"";
}

std::string HashText(const uint8_t* data, size_t size) {
  uint64_t h = kFnvBasis;
  for (size_t i = 0; i < size; ++i) h = Mix(h, data[i]);
  return Hex64(h);
}

void Observation::Note(const std::string& what) { sink_(std::to_string(clock_.GetTickCount()) + " " + what + "\n"); }

std::string Observation::FileName(const std::string& path) const {
  if (dataDir_) {
    const std::string dir = dataDir_();
    if (!dir.empty() && path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0) return path.substr(dir.size());
  }
  const size_t slash = path.rfind('/');
  return "<outside>/" + (slash == std::string::npos ? path : path.substr(slash + 1));
}

std::string Observation::WithoutDataDir(std::string text) const {
  const std::string dir = dataDir_ ? dataDir_() : std::string();
  if (dir.empty()) return text;
  for (size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at + 7))
    text.replace(at, dir.size(), "<data>/");
  return text;
}

std::string Observation::WaveName(const Bytes& wave) const {
  std::string name = waveNamer_ ? waveNamer_(wave) : "";
  return name.empty() ? "wave " + HashText(wave.data(), wave.size()) : name;
}

bool Observation::Hashed(const std::string& name) const {
  return std::find(unhashed_.begin(), unhashed_.end(), name) == unhashed_.end();
}

// ---- the window ----

void ObservedWindow::Show() {
  obs_.Note("window shown");
  inner_.Show();
}

void ObservedWindow::Present(PictureView frame, const std::vector<Rect>& dirty) {
  // A picture of a new size is hashed whole.
  const bool fresh = frame.width != width_ || frame.height != height_;
  if (fresh) {
    width_ = frame.width;
    height_ = frame.height;
    rows_.assign(static_cast<size_t>(height_), 0);
  }
  std::vector<bool> touched(static_cast<size_t>(height_), fresh);
  std::string line = "present";
  for (const Rect& r : dirty) {
    line += " " + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h);
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.h, height_); ++y) touched[static_cast<size_t>(y)] = true;
  }
  uint64_t all = kFnvBasis;
  for (int y = 0; y < height_; ++y) {
    uint64_t& row = rows_[static_cast<size_t>(y)];
    if (touched[static_cast<size_t>(y)]) {
      // Pixels are taken as values, two to a step, so the hash is the same
      // whatever the machine's byte order.
      const uint32_t* p = frame.pixels + static_cast<size_t>(y) * frame.width;
      row = kFnvBasis;
      int x = 0;
      for (; x + 1 < frame.width; x += 2) row = Mix(row, (uint64_t{p[x] & 0xFFFFFF} << 32) | (p[x + 1] & 0xFFFFFF));
      if (x < frame.width) row = Mix(row, p[x] & 0xFFFFFF);
    }
    all = Mix(all, row);
  }
  obs_.Note(line + " frame=" + Hex64(all));
  inner_.Present(frame, dirty);
}

void ObservedWindow::Sync(const FormState& state) {
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuState& now = state.menus[static_cast<size_t>(i)];
    MenuState& was = state_.menus[static_cast<size_t>(i)];
    if (now.caption == was.caption && now.enabled == was.enabled && now.visible == was.visible) continue;
    std::string line = std::string("menu ") + kMenuNames[i];
    if (now.caption != was.caption) line += " " + Quoted(Utf8(now.caption));
    if (now.enabled != was.enabled) line += now.enabled ? " enabled" : " disabled";
    if (now.visible != was.visible) line += now.visible ? " shown" : " hidden";
    obs_.Note(line);
    was = now;
  }
  if (state.enabled != state_.enabled) obs_.Note(state.enabled ? "window enabled" : "window disabled");
  if (state.busyCursor != state_.busyCursor) obs_.Note(state.busyCursor ? "cursor busy" : "cursor normal");
  state_.enabled = state.enabled;
  state_.busyCursor = state.busyCursor;
  inner_.Sync(state);
}

void ObservedWindow::SetOuterSize(int w, int h) {
  obs_.Note("window size " + std::to_string(w) + "x" + std::to_string(h));
  inner_.SetOuterSize(w, h);
}

void ObservedWindow::Move(int x, int y) {
  obs_.Note("window move " + std::to_string(x) + "," + std::to_string(y));
  inner_.Move(x, y);
}

void ObservedWindow::SetCaption(bool on) {
  obs_.Note(on ? "window caption on" : "window caption off");
  inner_.SetCaption(on);
}

bool ObservedWindow::ChangeDisplayMode(bool fullScreen) {
  const bool ok = inner_.ChangeDisplayMode(fullScreen);
  obs_.Note(std::string("display ") + (fullScreen ? "full screen" : "window") + (ok ? "" : " refused"));
  return ok;
}

void ObservedWindow::SetImeOpen(bool open) {
  obs_.Note(open ? "input method on" : "input method off");
  inner_.SetImeOpen(open);
}

// ---- sound ----

uint32_t ObservedAudio::SendString(const std::string& command, std::string* result) {
  const uint32_t status = inner_.SendString(command, result);
  // Status questions change nothing the player hears.
  if (command.rfind("status ", 0) == 0) return status;
  std::string what = command;
  const size_t q1 = what.find('"'), q2 = q1 == std::string::npos ? q1 : what.find('"', q1 + 1);
  if (q2 != std::string::npos) what = what.substr(0, q1) + Quoted(obs_.FileName(what.substr(q1 + 1, q2 - q1 - 1))) + what.substr(q2 + 1);
  while (!what.empty() && what.back() == ' ') what.pop_back();
  obs_.Note("midi " + what + (status ? " -> error " + std::to_string(status) : ""));
  return status;
}

bool ObservedAudio::PlaySound(const Bytes& wave, uint32_t flags) {
  obs_.Note("sound " + obs_.WaveName(wave) + ((flags & kSndAsync) ? " async" : " sync"));
  const bool ok = inner_.PlaySound(wave, flags);
  if (!ok) obs_.Note("sound failed");
  return ok;
}

bool ObservedAudio::MixerOpen() {
  const bool ok = inner_.MixerOpen();
  obs_.Note(ok ? "mixer open" : "mixer refused");
  return ok;
}

bool ObservedAudio::SetVolume(uint32_t value) {
  const bool ok = inner_.SetVolume(value);
  obs_.Note("volume " + std::to_string(value) + (ok ? "" : " refused"));
  return ok;
}

void ObservedAudio::SetPlayerGains(float music, float effects) {
  if (music != music_ || effects != effects_) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "gains music %.3f effects %.3f", music, effects);
    obs_.Note(buf);
    music_ = music;
    effects_ = effects;
  }
  inner_.SetPlayerGains(music, effects);
}

// ---- message boxes and dialogs ----

MsgAnswer ObservedMessages::Show(const Text& text, MsgButtons buttons) {
  const MsgAnswer a = inner_.Show(text, buttons);
  const char* answer = a == MsgAnswer::Ok ? "ok" : a == MsgAnswer::Yes ? "yes" : "no";
  obs_.Note(std::string("message ") + (buttons == MsgButtons::Ok ? "ok " : "yes/no ") +
            Quoted(obs_.WithoutDataDir(Utf8(text))) + " -> " + answer);
  return a;
}

void ObservedDialogs::Changes(const DialogModel& model, bool all) {
  DialogModel& was = shown_[model.name];
  if (all) {
    char size[32];
    std::snprintf(size, sizeof size, " %dx%d", model.clientWidth, model.clientHeight);
    obs_.Note("dialog " + model.name + " open " + Quoted(Utf8(model.caption)) + size + " back=" + Colour(model.backColor));
  } else if (model.caption != was.caption) {
    obs_.Note("dialog " + model.name + " caption " + Quoted(Utf8(model.caption)));
  }
  for (const DialogControl& c : model.controls) {
    const DialogControl* old = all ? nullptr : was.Find(c.name);
    const std::string now = ControlText(c);
    if (!old || ControlText(*old) != now) obs_.Note("dialog " + model.name + " " + now);
  }
  was = model;
}

void ObservedDialogs::ShowDialog(const DialogModel& model) {
  Changes(model, true);
  inner_.ShowDialog(model);
}

void ObservedDialogs::UpdateDialog(const DialogModel& model) {
  // A dialog not on screen shows nothing of its changes.
  if (shown_.count(model.name)) Changes(model, false);
  inner_.UpdateDialog(model);
}

void ObservedDialogs::CloseDialog(const DialogModel& model) {
  obs_.Note("dialog " + model.name + " closed");
  shown_.erase(model.name);
  inner_.CloseDialog(model);
}

// ---- the machine and its files ----

HostFacts ObservedSystem::Facts() {
  HostFacts f = inner_.Facts();
  const uint32_t s = clock_.GetTickCount() / 1000;
  char when[32];
  std::snprintf(when, sizeof when, "2026/01/01 %02u:%02u:%02u", (s / 3600) % 24, (s / 60) % 60, s % 60);
  f.dateTime = when;
  f.cpuVendor = "vendor";
  f.cpuModel = "processor";
  f.cpuCount = 2;
  f.screenWidth = 1920;
  f.screenHeight = 1080;
  f.screenDepth = 32;
  f.memTotal = f.virtTotal = 8ull << 30;
  f.memFree = f.virtFree = 4ull << 30;
  f.swapTotal = f.swapFree = 0;
  f.memoryLoad = 50;
  return f;
}

ObservedFiles::ObservedFiles(Observation& obs) : obs_(obs), previous_(SetFileObserver(this)) {}

ObservedFiles::~ObservedFiles() { SetFileObserver(previous_); }

void ObservedFiles::Written(const std::string& path, const uint8_t* data, size_t size) {
  const std::string name = obs_.FileName(path);
  // An unhashed file's size differs from machine to machine too.
  obs_.Note("file write " + name + (obs_.Hashed(name) ? " " + std::to_string(size) + " bytes " + HashText(data, size) : ""));
}

void ObservedFiles::Patched(const std::string& path, size_t offset, const uint8_t* data, size_t size) {
  std::string bytes;
  for (size_t i = 0; i < size && i < 8; ++i) {
    char b[4];
    std::snprintf(b, sizeof b, " %02x", data[i]);
    bytes += b;
  }
  obs_.Note("file patch " + obs_.FileName(path) + " at " + std::to_string(offset) + ":" + bytes);
}

void ObservedFiles::Removed(const std::string& path) { obs_.Note("file remove " + obs_.FileName(path)); }

Recording::Recording(Platform& p, Observation::Sink sink)
    : p_(p),
      was_(p),
      obs_(*p.clock, std::move(sink)),
      window_(*p.window, obs_),
      audio_(*p.audio, obs_),
      messages_(*p.messages, obs_),
      dialogs_(*p.dialogs, obs_),
      system_(*p.system, *p.clock),
      files_(obs_) {
  p.window = &window_;
  p.audio = &audio_;
  p.messages = &messages_;
  p.dialogs = &dialogs_;
  p.system = &system_;
}

Recording::~Recording() { p_ = was_; }

}  // namespace mirel
