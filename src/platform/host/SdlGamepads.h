#pragma once
// Gamepads through SDL2's game-controller interface: every pad plugged in,
// now or later, reports its buttons as Pad events. Wraps another event
// source, so the window's events and the pad's arrive through one pump.
#include <map>

#include "platform/Events.h"

namespace mirel {

class SdlGamepads final : public EventSource {
 public:
  explicit SdlGamepads(EventSource* inner);
  ~SdlGamepads() override;
  SdlGamepads(const SdlGamepads&) = delete;
  SdlGamepads& operator=(const SdlGamepads&) = delete;
  void Pump(EventQueue& queue) override;

 private:
  EventSource* inner_;
  bool ready_ = false;
  std::map<int, void*> open_;  // instance id -> SDL_GameController*
  std::map<int, int> triggers_;  // instance id -> triggers held (bit 0 left, bit 1 right)
};

}  // namespace mirel
