#pragma once
// What the comforts see of the game and what they may ask of it. The main
// window implements it; the comforts know nothing else of the game. A new
// comfort reads the screen through this view, acts through its commands,
// and is consulted through its hub at the waits and at input.
#include <cstdint>
#include <memory>
#include <string>

#include "comfort/GamepadMapper.h"
#include "comfort/SpeechSettings.h"
#include "platform/Events.h"
#include "platform/Image.h"

namespace mirel {

struct Surface;
class RollbackHost;

// What the game is waiting for the player to do.
enum class PlayerWait { None, Click, Choice, Title, Gallery, Dialog, Confirm };

class GameView {
 public:
  virtual ~GameView() = default;

  // ---- what is up ----
  virtual PlayerWait CurrentWait() const = 0;
  // In the story, not at the title, in the gallery or idle between plays.
  virtual bool InStory() const = 0;
  virtual bool OnTitle() const = 0;
  virtual bool InGallery() const = 0;
  // One of the game's dialogs is open; the screen under it takes nothing.
  virtual bool DialogUp() const = 0;
  virtual bool MessageWindowHidden() const = 0;
  // The record of the message on screen; whether the game types its text
  // (it does, unless the options skip to the next choice).
  virtual int32_t CurrentRecord() const = 0;
  virtual bool TypesText() const = 0;
  virtual bool InFullScreen() const = 0;
  virtual bool CanGoFullScreen() const = 0;
  // What the pad's buttons and the arrow keys reach on this screen.
  virtual PadScreen Reachable() const = 0;
  // The message window, for what a comfort lays over it.
  virtual Surface& MessageWindow() = 0;
  // The 640x480 picture as composed now.
  virtual void ComposeScreen(Image& out) = 0;
  // A file of the data folder by its name.
  virtual std::string DataPath(const std::string& name) const = 0;
  virtual uint32_t GetTickCount() = 0;

  // ---- what the comforts may ask ----
  // A surface of the comforts' own, drawn over the game's.
  virtual void AddOverlay(Surface* s) = 0;
  virtual void RefreshForm() = 0;
  // An input event as though the player had made it.
  virtual void Dispatch(const InputEvent& e) = 0;
  virtual void EnterFullScreen() = 0;
  virtual void LeaveFullScreen() = 0;
  // What going back through the story needs of the game: its state kept
  // and restored, and the story run again out of sight.
  virtual std::unique_ptr<RollbackHost> RollbackSide() = 0;
  // The player changed how the game speaks.
  virtual void SpeechChanged(const SpeechSettings& s) = 0;
};

}  // namespace mirel
