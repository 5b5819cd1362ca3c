#include "app/Main_Form.h"

namespace mirel {

namespace {

// The volume a fade starts from. While an earlier fade-out holds the music
// down, the level read is the faded one and SavedVolume keeps the player's
// own volume, or the next fade would start from almost nothing and the
// volume would be lost for good.
uint32_t VolumeBeforeFade(Mci& mci, uint32_t& savedVolume) {
  uint32_t v = 0;
  if (!mci.GetVolume(v)) return savedVolume;
  if (!mci.FadedOut()) savedVolume = v;
  return v;
}

}  // namespace

int32_t Main_Form::CmdAudio() {
  if (!BgmOn && !SeOn) return 2;
  if (CmdText.empty()) return 2;
  int c = static_cast<int>(CmdText.back()) - '0';
  if (c == 0) {
    CurMusic = 0;
    uint32_t v = VolumeBeforeFade(mci, SavedVolume);
    if (v != 0) mci.FadeOut(v);
    mci.StopMidi();
    mci.SetVolume(SavedVolume);
    return 2;
  }
  // Only the digits 1 to 9 name sounds: anything below "0" is no sound.
  if (c >= 1 && c <= 9) {
    if (SeOn) mci.PlaySe(c + 99);
    return 2;
  }
  int m = c - 16;
  if (m > 32 && BgmOn) m -= 32;
  if (m < 1 || !BgmOn) return 2;
  if (m == 10) {
    uint32_t v = VolumeBeforeFade(mci, SavedVolume);
    if (v != 0) mci.FadeOut(v);
    return 2;
  }
  if (m == 11) {
    if (SavedVolume != 0) mci.FadeIn(SavedVolume);
    return 2;
  }
  // Letters past "K" name no music.
  if (m > 9) return 2;
  if (MusicFiles[m].empty() || m == CurMusic) return 2;
  uint32_t v = VolumeBeforeFade(mci, SavedVolume);
  if (mci.MidiStatus() == "PLAYING") {
    if (v != 0) mci.FadeOut(v);
    DoEvents();
    mci.StopMidi();
    mci.SetVolume(SavedVolume);
  } else if (mci.SongOpen()) {
    // A song that has just ended still holds the alias (the loop timer has
    // not restarted it yet): opening the next one would fail and switch the
    // music off.
    mci.StopMidi();
    mci.SetVolume(SavedVolume);
  }
  CurMusic = static_cast<int16_t>(m);
  mci.PlayMidi(DataPath(Utf8(MusicFiles[m])));
  DoEvents();
  return 2;
}

}  // namespace mirel
