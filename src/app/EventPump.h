#pragma once
// The main window's event pump: the queue it dispatches from and what it
// counts (app/EventPump.cpp).
#include <cstdint>

#include "platform/Events.h"

namespace mirel {

struct EventPumpState {
  // Input came while nothing pumped (a message being typed).
  bool EarlyInput = false;
  EventQueue events;
  uint64_t Pumps = 0;  // DoEvents calls so far: a step that pumped has waited
  bool QuitRequested = false;
  int ClickerTimer = -1, BGMLoopTimer = -1;

 protected:
  int dispatchDepth_ = 0;
};

}  // namespace mirel
