#pragma once
// Assistive technology and speech for a run without a desktop: what a
// screen reader would be told and what the game would say, one line each,
//   a11y: screen <screen>          a new screen, message or menu, then
//   a11y: <role> <name>            each thing on it, and
//   a11y: selected <role> <name>   each one lit;
//   a11y: focus <role> <name>      the keyboard focus moved;
//   a11y: lit|unlit <role> <name>  a thing was lit or unlit;
//   speech: <text>                 said aloud.
#include <functional>
#include <string>

#include "comfort/Accessibility.h"

namespace mirel {

class AccessLines final : public AccessibleOutput, public SpeechEngine {
 public:
  using Sink = std::function<void(const std::string&)>;
  explicit AccessLines(Sink sink) : sink_(std::move(sink)) {}

  void SceneChanged(const AccessScene& scene, int focus) override;
  void StatesChanged(const AccessScene& before, const AccessScene& scene, int focus) override;
  void FocusChanged(const AccessScene& scene, int focus) override;

  // Speech that takes no time: said as soon as it is asked for.
  bool Available() override { return true; }
  void Say(const Text& text) override;
  void Stop() override {}
  bool Speaking() override { return false; }
  void SetVoice(int, int) override {}

 private:
  void Line(const std::string& what, const AccessItem& item);
  Sink sink_;
};

// One line of text: line breaks become spaces.
std::string OneLine(const Text& text);

}  // namespace mirel
