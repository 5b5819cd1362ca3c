#include "platform/headless/AccessLines.h"

namespace mirel {

std::string OneLine(const Text& text) {
  std::string out;
  const std::string s = Utf8(text);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += s[i] == '\n' || s[i] == '\r' ? ' ' : s[i];
  }
  return out;
}

void AccessLines::Line(const std::string& what, const AccessItem& item) {
  sink_("a11y: " + what + RoleName(item.role) + " " + OneLine(item.name));
}

void AccessLines::SceneChanged(const AccessScene& scene, int) {
  sink_(std::string("a11y: screen ") + ScreenName(scene.screen));
  for (const AccessItem& i : scene.items) Line("", i);
  for (const AccessItem& i : scene.items)
    if (i.selected) Line("selected ", i);
}

void AccessLines::StatesChanged(const AccessScene& before, const AccessScene& scene, int) {
  for (size_t k = 0; k < scene.items.size() && k < before.items.size(); ++k)
    if (scene.items[k].selected != before.items[k].selected) Line(scene.items[k].selected ? "lit " : "unlit ", scene.items[k]);
}

void AccessLines::FocusChanged(const AccessScene& scene, int focus) {
  if (focus >= 0 && focus < static_cast<int>(scene.items.size())) Line("focus ", scene.items[static_cast<size_t>(focus)]);
}

void AccessLines::Say(const Text& text) { sink_("speech: " + OneLine(text)); }

}  // namespace mirel
