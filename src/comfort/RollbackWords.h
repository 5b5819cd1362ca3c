#pragma once
// What going back and the quick save ask the player: the game's own
// message boxes, in the game's language. Their notes are comfort words
// (comfort/Words.h), where they are said.
#include "base/Text.h"

namespace mirel::words {

inline constexpr const char16_t* kQuickLoadQuestion = u"クイックセーブした所へ戻りますか？";
inline constexpr const char16_t* kBacklogPickQuestion = u"この場面まで戻りますか？";

}  // namespace mirel::words
