#include "platform/host/SdlGamepads.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include "comfort/GamepadMapper.h"

namespace mirel {

namespace {

// -1 for buttons the game has no use for.
int PadButtonOf(Uint8 b) {
  switch (b) {
    case SDL_CONTROLLER_BUTTON_A: return static_cast<int>(PadButton::A);
    case SDL_CONTROLLER_BUTTON_B: return static_cast<int>(PadButton::B);
    case SDL_CONTROLLER_BUTTON_X: return static_cast<int>(PadButton::X);
    case SDL_CONTROLLER_BUTTON_Y: return static_cast<int>(PadButton::Y);
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return static_cast<int>(PadButton::LeftShoulder);
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return static_cast<int>(PadButton::RightShoulder);
    case SDL_CONTROLLER_BUTTON_START: return static_cast<int>(PadButton::Start);
    case SDL_CONTROLLER_BUTTON_BACK: return static_cast<int>(PadButton::Back);
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return static_cast<int>(PadButton::Up);
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return static_cast<int>(PadButton::Down);
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return static_cast<int>(PadButton::Left);
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return static_cast<int>(PadButton::Right);
    default: return -1;
  }
}

}  // namespace

SdlGamepads::SdlGamepads(EventSource* inner) : inner_(inner) {
  // Ctrl+C in the terminal stays the program's own business.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  // Pads already plugged in arrive as "added" events at the first pump.
}

SdlGamepads::~SdlGamepads() {
  for (auto& [id, pad] : open_) SDL_GameControllerClose(static_cast<SDL_GameController*>(pad));
  if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepads::Pump(EventQueue& queue) {
  if (inner_) inner_->Pump(queue);
  if (!ready_) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which))
          open_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
        break;
      case SDL_CONTROLLERDEVICEREMOVED: {
        auto it = open_.find(e.cdevice.which);
        if (it != open_.end()) {
          SDL_GameControllerClose(static_cast<SDL_GameController*>(it->second));
          open_.erase(it);
          // A pad pulled out with its shoulder held lets go of it.
          if (triggers_[e.cdevice.which] != 0) queue.push_back(PadEvent(static_cast<int>(PadButton::RightShoulder), false));
          triggers_.erase(e.cdevice.which);
        }
        break;
      }
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP: {
        int b = PadButtonOf(e.cbutton.button);
        if (b >= 0) queue.push_back(PadEvent(b, e.type == SDL_CONTROLLERBUTTONDOWN));
        break;
      }
      case SDL_CONTROLLERAXISMOTION:
        // A trigger pulled past half way counts as a shoulder held.
        if (e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
          // Either trigger holds it; it is let go when both are.
          const int bit = e.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ? 1 : 2;
          int& held = triggers_[e.caxis.which];
          const int before = held;
          held = e.caxis.value > 16384 ? held | bit : held & ~bit;
          if ((before == 0) != (held == 0))
            queue.push_back(PadEvent(static_cast<int>(PadButton::RightShoulder), held != 0));
        }
        break;
      default:
        break;
    }
  }
}

}  // namespace mirel
