#pragma once
// How the game speaks for itself: the player's settings for it.
namespace mirel {

struct SpeechSettings {
  bool speak = false;
  bool duck = true;  // music and effects lower while the game speaks
  int rate = 0;      // -10 (slow) to 10 (fast)
  int volume = 100;  // 0 to 100
  bool operator==(const SpeechSettings&) const = default;
};

// While the game speaks music and effects sound at this share.
constexpr float kDuckedGain = 0.3f;

}  // namespace mirel
