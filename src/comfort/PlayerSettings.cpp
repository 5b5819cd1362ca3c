#include "comfort/PlayerSettings.h"

#include <charconv>

namespace mirel {

namespace {

constexpr const char* kFormat = "1";

bool ReadInt(const std::string& s, int lo, int hi, int& out) {
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool ReadBool(const std::string& s, bool& out) {
  if (s != "true" && s != "false") return false;
  out = s == "true";
  return true;
}

const char* Bool(bool b) { return b ? "true" : "false"; }

}  // namespace

SettingsValues ToValues(const PlayerSettings& s) {
  SettingsValues v;
  v["format"] = kFormat;
  v["display/scale"] = ScaleModeName(s.scale);
  v["display/filter"] = ScaleFilterName(s.filter);
  v["window/zoom"] = std::to_string(s.zoom);
  v["window/fullscreen"] = Bool(s.fullScreen);
  if (s.hasWindowPos) {
    v["window/x"] = std::to_string(s.windowX);
    v["window/y"] = std::to_string(s.windowY);
  }
  v["sound/music"] = std::to_string(s.musicVolume);
  v["sound/effects"] = std::to_string(s.effectsVolume);
  v["sound/muted"] = Bool(s.muted);
  v["sound/mute_unfocused"] = Bool(s.muteUnfocused);
  v["reading/auto_base_ms"] = std::to_string(s.reading.autoBaseMs);
  v["reading/auto_per_char_ms"] = std::to_string(s.reading.autoPerCharMs);
  v["reading/fast_forward_unread"] = Bool(s.reading.fastForwardUnread);
  v["reading/copy_every_message"] = Bool(s.reading.copyEveryMessage);
  v["speech/speak"] = Bool(s.speech.speak);
  v["speech/lower_sound"] = Bool(s.speech.duck);
  v["speech/rate"] = std::to_string(s.speech.rate);
  v["speech/volume"] = std::to_string(s.speech.volume);
  v["reading/resume_on_close"] = Bool(s.reading.resumeOnClose);
  return v;
}

PlayerSettings PlayerSettingsFile::Load(SettingsStore& store, std::string& problem) {
  PlayerSettings s;
  problem.clear();
  stored_.clear();
  saved_ = s;
  std::string why;
  if (!(readable_ = store.Read(stored_, why))) {
    stored_.clear();
    problem = "player settings unreadable (" + why + "), defaults used";
    return s;
  }
  const SettingsValues defaults = ToValues(s);
  // Each key the file names is read on its own: a bad one keeps its
  // default and is told, the others still count.
  auto read = [&](const char* key, auto&& parse) {
    auto it = stored_.find(key);
    if (it == stored_.end() || parse(it->second)) return;
    const std::string k = key;
    const size_t slash = k.find('/');
    const std::string shown = slash == std::string::npos ? k : "[" + k.substr(0, slash) + "] " + k.substr(slash + 1);
    if (!problem.empty()) problem += "\r\n";
    problem += "player settings " + store.Name() + ": " + shown + "=" + it->second + " is not valid, " +
               (defaults.count(key) ? defaults.at(key) : std::string("none")) + " used";
  };
  auto integer = [&](int lo, int hi, int& out) {
    return [lo, hi, &out](const std::string& v) { return ReadInt(v, lo, hi, out); };
  };
  auto boolean = [](bool& out) { return [&out](const std::string& v) { return ReadBool(v, out); }; };
  auto ms = [&](uint32_t& out) {
    return [&out](const std::string& v) {
      int n = 0;
      if (!ReadInt(v, 0, kMaxAutoMs, n)) return false;
      out = static_cast<uint32_t>(n);
      return true;
    };
  };
  read("format", [](const std::string& v) { return v == kFormat; });
  read("display/scale", [&](const std::string& v) { return ParseScaleMode(v, s.scale); });
  read("display/filter", [&](const std::string& v) { return ParseScaleFilter(v, s.filter); });
  read("window/zoom", integer(1, kMaxZoom, s.zoom));
  read("window/fullscreen", boolean(s.fullScreen));
  int x = 0, y = 0;
  bool xOk = false, yOk = false;
  read("window/x", [&](const std::string& v) { return xOk = ReadInt(v, -100000, 100000, x); });
  read("window/y", [&](const std::string& v) { return yOk = ReadInt(v, -100000, 100000, y); });
  if (xOk && yOk) {
    s.hasWindowPos = true;
    s.windowX = x;
    s.windowY = y;
  }
  read("sound/music", integer(0, 100, s.musicVolume));
  read("sound/effects", integer(0, 100, s.effectsVolume));
  read("sound/muted", boolean(s.muted));
  read("sound/mute_unfocused", boolean(s.muteUnfocused));
  read("reading/auto_base_ms", ms(s.reading.autoBaseMs));
  read("reading/auto_per_char_ms", ms(s.reading.autoPerCharMs));
  read("reading/fast_forward_unread", boolean(s.reading.fastForwardUnread));
  read("reading/copy_every_message", boolean(s.reading.copyEveryMessage));
  read("speech/speak", boolean(s.speech.speak));
  read("speech/lower_sound", boolean(s.speech.duck));
  read("speech/rate", integer(-10, 10, s.speech.rate));
  read("speech/volume", integer(0, 100, s.speech.volume));
  read("reading/resume_on_close", boolean(s.reading.resumeOnClose));
  saved_ = s;
  return s;
}

bool PlayerSettingsFile::Save(SettingsStore& store, const PlayerSettings& s, std::string& problem) {
  if (!readable_) return false;
  SettingsValues out = stored_;
  const SettingsValues was = ToValues(saved_), now = ToValues(s);
  for (const auto& [key, value] : now) {
    auto before = was.find(key);
    if (before == was.end() || before->second != value) out[key] = value;
  }
  // A place no longer kept goes from the file.
  for (const auto& [key, value] : was)
    if (!now.count(key)) out.erase(key);
  // A file the game starts says which format it is in.
  if (stored_.empty() && !out.empty()) out["format"] = kFormat;
  if (out == stored_) return true;
  if (!store.Write(out, problem)) return false;
  stored_ = std::move(out);
  saved_ = s;
  return true;
}

PlayerSettings LoadPlayerSettings(SettingsStore& store, std::string& problem) {
  return PlayerSettingsFile().Load(store, problem);
}

bool SavePlayerSettings(SettingsStore& store, const PlayerSettings& s, std::string& problem) {
  return store.Write(ToValues(s), problem);
}

}  // namespace mirel
