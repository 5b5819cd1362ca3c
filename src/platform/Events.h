#pragma once
// Input as the engine sees it: mouse and keys in 640x480 picture
// coordinates, menu commands, dialog controls and the window's close box.
// Hosts only queue these; the engine dispatches them inside its waits.
#include <cstdint>
#include <deque>
#include <string>
#include <utility>

#include "base/Text.h"

namespace mirel {

enum class MenuItem { prog_end, prog_load, prog_save, opt_menu, speedup, vvrr };
constexpr int kMenuItemCount = 6;

enum class EventKind {
  MouseDown,     // x, y, button (1 left, 2 right)
  MouseMove,     // x, y
  KeyDown,       // key: Windows virtual-key code (13 Enter, 27 Esc, 32 Space)
  KeyUp,         // key: released (hosts report at least Ctrl, 17)
  Wheel,         // value: wheel notches, positive turned away from the player
  Menu,          // menu
  Close,         // the main window's close box
  DialogControl, // form, control, value / text: a control of an open dialog was used
  Pad,           // key: gamepad button (comfort/GamepadMapper.h), value: 1 pressed, 0 released
  Focus          // value: 1 the window has the keyboard focus, 0 it lost it
};

// The Windows virtual-key codes the program names.
constexpr int kVkTab = 9, kVkEnter = 13, kVkControl = 17, kVkEscape = 27, kVkSpace = 32, kVkPageUp = 33, kVkPageDown = 34,
              kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkPrint = 44, kVkF1 = 112, kVkF11 = 122, kVkF12 = 123;

// Modifier keys held with a key.
constexpr int kModShift = 1, kModCtrl = 2, kModAlt = 4;

struct InputEvent {
  EventKind kind = EventKind::MouseDown;
  int x = 0, y = 0;
  int button = 1;
  int key = 0;
  int mods = 0;  // kMod* held with the key
  MenuItem menu = MenuItem::prog_end;
  std::string form;     // dialog name, e.g. "Option_Window"
  std::string control;  // control name, e.g. "Command1"
  int value = 0;        // new value of a scroll bar / check box / option button
  Text text;            // new text of a text box
};

// Hosts, the input script and the tests make events in only these shapes, so each is built here once.
inline InputEvent MouseEvent(EventKind kind, int x, int y, int button = 1) {
  InputEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.button = button;
  return e;
}
inline InputEvent KeyEvent(int key, int mods = 0) {
  InputEvent e;
  e.kind = EventKind::KeyDown;
  e.key = key;
  e.mods = mods;
  return e;
}
inline InputEvent KeyUpEvent(int key) {
  InputEvent e;
  e.kind = EventKind::KeyUp;
  e.key = key;
  return e;
}
inline InputEvent PadEvent(int button, bool down) {
  InputEvent e;
  e.kind = EventKind::Pad;
  e.key = button;
  e.value = down ? 1 : 0;
  return e;
}
inline InputEvent FocusEvent(bool focused) {
  InputEvent e;
  e.kind = EventKind::Focus;
  e.value = focused ? 1 : 0;
  return e;
}
inline InputEvent WheelEvent(int notches) {
  InputEvent e;
  e.kind = EventKind::Wheel;
  e.value = notches;
  return e;
}
inline InputEvent MenuEvent(MenuItem item) {
  InputEvent e;
  e.kind = EventKind::Menu;
  e.menu = item;
  return e;
}
inline InputEvent CloseEvent() {
  InputEvent e;
  e.kind = EventKind::Close;
  return e;
}
inline InputEvent ControlEvent(std::string form, std::string control, int value = 0, Text text = {}) {
  InputEvent e;
  e.kind = EventKind::DialogControl;
  e.form = std::move(form);
  e.control = std::move(control);
  e.value = value;
  e.text = std::move(text);
  return e;
}

using EventQueue = std::deque<InputEvent>;

// The host side of the event pump: moves what the window system has for us
// into the queue (and lets the host paint). Never runs engine code itself.
class EventSource {
 public:
  virtual ~EventSource() = default;
  virtual void Pump(EventQueue& queue) = 0;
};

}  // namespace mirel
