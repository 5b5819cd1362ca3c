#pragma once
// The player's input at the story's waits (text/Input.cpp).


namespace mirel {

struct InputState {
  bool WakuHidden = false;
  // Keys is waiting for the player: the only time saving and loading may
  // interrupt the story.
  bool InKeys = false;
};

}  // namespace mirel
