#pragma once
// What going back and the quick save say to the player, in one place for
// translating. The questions are the game's own message boxes, in the
// game's language; the notes are the player's comforts', like theirs.
#include "platform/Text.h"

namespace mirel::words {

inline constexpr const char* kQuickSaved = "quick save kept (F9 loads it)";
inline constexpr const char* kQuickSaveFailed = "quick save not kept: ";
inline constexpr const char* kNothingToQuickSave = "quick save: nothing to keep here";
inline constexpr const char* kNoQuickSave = "no quick save to load";
inline constexpr const char16_t* kQuickLoadQuestion = u"クイックセーブした所へ戻りますか？";
inline constexpr const char16_t* kBacklogPickQuestion = u"この場面まで戻りますか？";

}  // namespace mirel::words
