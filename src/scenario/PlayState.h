#pragma once
// The play variables shared across the engine. They live for the whole run.
#include <array>
#include <cstdint>
#include <string>

#include "base/Text.h"

namespace mirel {

struct FaceEntry {
  int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, w = 0, h = 0, column = 0;
};

struct PlayState {
  std::string BaseDir;  // the program's folder, ending with a separator
  std::string DataDir;  // the data folder, ending with a separator

  int32_t CurSeq = 0;
  int16_t CurNum = 0;
  Text CmdText;
  int16_t JumpNum = 0;
  int16_t SpeakerNo = 0;
  Text MsgText, Param1, Param2;
  uint8_t DollNo = 0, FaceNo = 0, DollParam = 0;
  Text EffectCode = u"BI";

  // Route counters and the ending counter.
  int16_t kou = 0, hap = 0, bad = 0, mak = 0;
  int16_t EndPoints = 0;
  // Record index in decimal, caption 1, caption 2.
  std::array<Text, 3> SavePoint;
  Text DateCaption;
  std::array<Text, 6> Names;        // 0..5; 1 family name, 2 given name
  std::array<Text, 10> MusicFiles;  // 1..9
  std::array<Text, 10> MusicFilesB; // 1..9, only checked for existence
  int16_t CurMusic = 0;
  bool BgmOn = true, SeOn = true;
  uint32_t SavedVolume = 0;
  std::array<bool, 19> CgUnlocked{};
  int16_t MessageSpeed = 3;
  float WakuOpacity = 0.6f;
  int16_t BgRequest = 0, BgNumber = -1;
  int32_t ChoiceBase = 0;

  // Text and input.
  bool ClickWait = false;
  bool WaitAfterLine = true;
  bool DateTabOn = false;
  int16_t BigFontSize = 0;
  int16_t CaptionX = 0, CaptionY = 0;
  int16_t ChoicePick = -1;

  // Display.
  bool FullScreen = false;
  bool FullScreenUnavailable = false;

  // Sprites.
  std::array<int16_t, 3> PosX{40, 350, 130};
  std::array<int16_t, 5> DollX{}, DollY{}, DollW{}, DollH{};
  std::array<FaceEntry, 13> FaceTable{};

  // Saved game.
  std::array<Text, 4> SaveSnapshot;

  int16_t Counter(TextView name, bool* found = nullptr) const;
  int16_t* CounterRef(TextView name);
};

}  // namespace mirel
