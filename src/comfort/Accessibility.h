#pragma once
// Reaching the game without the picture: a plain description of what the
// player can read and use on the screen now, handed to the desktop's
// assistive technology (or printed by a headless run); the keyboard on
// every screen of the game, with a focus mark the comfort draws over the
// presented frame; and the game speaking for itself. The game's screens,
// files and timings stay as they are: a key does what the mouse would.
//
//   Up, Down, Left, Right  move the keyboard focus (title buttons, choice
//                          answers, gallery entries)
//   Enter                  use the focused one
//   1, 2, 3                pick that answer of a choice
//   Esc                    in the gallery: close the full view, or leave
//   Tab, Shift+Tab, Enter  a dialog without a window of its own (headless)
//   V                      the game speaks, or stops speaking
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "comfort/SpeechSettings.h"
#include "gfx/Surface.h"
#include "platform/Events.h"
#include "base/Text.h"
#include "platform/WindowHost.h"

namespace mirel {

enum class AccessScreen { None, Story, Choice, Title, Gallery, FullView, Backlog, Dialog };
enum class AccessRole { Tag, Message, Caption, Button, Picture, Dialog };

const char* ScreenName(AccessScreen s);
const char* RoleName(AccessRole r);

struct AccessItem {
  AccessRole role = AccessRole::Message;
  Text name;              // the game's own text, or the comfort's word for it
  bool selected = false;  // the lit answer or button
  bool enabled = true;    // false: a locked gallery entry
  Rect box;               // where it is on the 640x480 picture, empty for nowhere
  int target = -1;        // the game's index for it (answer, button, entry)
  bool Focusable() const { return role == AccessRole::Button; }
  // Same thing shown, states aside.
  bool SameThing(const AccessItem& o) const { return role == o.role && name == o.name && target == o.target; }
  bool operator==(const AccessItem&) const = default;
};

struct AccessScene {
  AccessScreen screen = AccessScreen::None;
  std::vector<AccessItem> items;
  bool SameThings(const AccessScene& o) const;
  bool operator==(const AccessScene&) const = default;
};

// The game as the player can read and use it now; the main window answers.
class GameReader {
 public:
  virtual ~GameReader() = default;
  virtual AccessScene Scene() const = 0;
  // As the mouse entering the item, and as a click on it.
  virtual void Point(const AccessItem& item) = 0;
  virtual void Use(const AccessItem& item) = 0;
  // Esc on this screen: back out of it where the game has a way back.
  virtual void Back(AccessScreen screen) = 0;
};

// Where the description goes: the desktop's accessibility bus, or lines.
class AccessibleOutput {
 public:
  virtual ~AccessibleOutput() = default;
  // Something new to read: a screen, a message, a menu.
  virtual void SceneChanged(const AccessScene& scene, int focus) = 0;
  // The same things, some lit or unlit.
  virtual void StatesChanged(const AccessScene& before, const AccessScene& scene, int focus) = 0;
  virtual void FocusChanged(const AccessScene& scene, int focus) = 0;
};

// The desktop's speech synthesis.
class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  virtual bool Available() = 0;
  // Says the text, cutting short what was being said.
  virtual void Say(const Text& text) = 0;
  virtual void Stop() = 0;
  virtual bool Speaking() = 0;
  // rate -10 (slow) to 10 (fast), volume 0 to 100.
  virtual void SetVoice(int rate, int volume) = 0;
};

// A short note to the player (the desktop shows it briefly).
using NoteSink = std::function<void(const std::string&)>;

class Accessibility {
 public:
  Accessibility(GameReader& reader, AccessibleOutput* output, SpeechEngine* speech, NoteSink note);

  SpeechSettings speech;

  // Every event pump: what changed since the last is told and spoken.
  void Pumped();
  // Sees input before the game; true when it was taken here. `dialogOpen`:
  // the game's own dialog has the keyboard.
  bool Intercept(const InputEvent& e, bool dialogOpen);
  // The settings changed: the voice follows.
  void Apply();
  // Music and effects are to be lowered now.
  bool Ducking();
  // Told when V switches speaking, so the setting is kept.
  void OnSpeechSwitched(std::function<void(const SpeechSettings&)> f) { changed_ = std::move(f); }

  // The mark around the focused control, above everything the game draws.
  Surface& FocusMark() { return mark_; }
  const AccessScene& Scene() const { return scene_; }
  int Focus() const { return focus_; }

 private:
  void Update();
  void Told(const AccessScene& now);
  void Say(const Text& text);
  void Move(int step, bool grid);
  void ShowMark();
  int FirstFocusable() const;

  GameReader& reader_;
  AccessibleOutput* output_;
  SpeechEngine* engine_;
  NoteSink note_;
  AccessScene scene_;
  int focus_ = -1;
  int gridFocus_ = -1;
  AccessItem keptFocus_;  // what has the focus, to find it again
  void Keep();  // the gallery's focus while a full view is open
  std::function<void(const SpeechSettings&)> changed_;
  bool keyboard_ = false;  // the keyboard has moved the focus
  bool toldMissing_ = false;
  Surface mark_;
};

// The comfort's own words, in one place, in the desktop's language.
namespace words {
std::string TitleButton(int i);  // 0 new game, 1 load, 2 gallery, 3 end
std::string GalleryExit();
std::string Locked();
std::string Picture();  // a full view, before its number
std::string SpeechOn();
std::string SpeechOff();
std::string NoSpeechEngine();
}  // namespace words

}  // namespace mirel
