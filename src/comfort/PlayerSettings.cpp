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
  return v;
}

PlayerSettings LoadPlayerSettings(SettingsStore& store, std::string& problem) {
  PlayerSettings s;
  problem.clear();
  SettingsValues v;
  std::string why;
  if (!store.Read(v, why)) {
    problem = "player settings unreadable (" + why + "), defaults used";
    return PlayerSettings{};
  }
  if (v.empty()) return s;
  auto has = [&](const char* k) { return v.count(k) != 0; };
  bool ok = v["format"] == kFormat;
  if (ok && has("display/scale")) ok = ParseScaleMode(v["display/scale"], s.scale);
  if (ok && has("display/filter")) ok = ParseScaleFilter(v["display/filter"], s.filter);
  if (ok && has("window/zoom")) ok = ReadInt(v["window/zoom"], 1, kMaxZoom, s.zoom);
  if (ok && has("window/fullscreen")) ok = ReadBool(v["window/fullscreen"], s.fullScreen);
  if (ok && has("window/x") && has("window/y")) {
    ok = ReadInt(v["window/x"], -100000, 100000, s.windowX) && ReadInt(v["window/y"], -100000, 100000, s.windowY);
    s.hasWindowPos = ok;
  }
  if (ok && has("sound/music")) ok = ReadInt(v["sound/music"], 0, 100, s.musicVolume);
  if (ok && has("sound/effects")) ok = ReadInt(v["sound/effects"], 0, 100, s.effectsVolume);
  if (ok && has("sound/muted")) ok = ReadBool(v["sound/muted"], s.muted);
  if (ok && has("sound/mute_unfocused")) ok = ReadBool(v["sound/mute_unfocused"], s.muteUnfocused);
  int ms = 0;
  if (ok && has("reading/auto_base_ms") && (ok = ReadInt(v["reading/auto_base_ms"], 0, kMaxAutoMs, ms)))
    s.reading.autoBaseMs = static_cast<uint32_t>(ms);
  if (ok && has("reading/auto_per_char_ms") && (ok = ReadInt(v["reading/auto_per_char_ms"], 0, kMaxAutoMs, ms)))
    s.reading.autoPerCharMs = static_cast<uint32_t>(ms);
  if (ok && has("reading/fast_forward_unread")) ok = ReadBool(v["reading/fast_forward_unread"], s.reading.fastForwardUnread);
  if (ok && has("reading/copy_every_message")) ok = ReadBool(v["reading/copy_every_message"], s.reading.copyEveryMessage);
  if (!ok) {
    // Half a damaged file is no better than none: start clean.
    problem = "player settings damaged, defaults used";
    return PlayerSettings{};
  }
  return s;
}

bool SavePlayerSettings(SettingsStore& store, const PlayerSettings& s, std::string& problem) {
  return store.Write(ToValues(s), problem);
}

}  // namespace mirel
