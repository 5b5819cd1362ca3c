#pragma once
// The choice menu on the message window (ui/ChoiceMenu.cpp).
#include <array>
#include <cstdint>

#include "base/Text.h"

namespace mirel {

struct ChoiceMenuState {
  int16_t LastHover = 5;
  std::array<Text, 3> ChoiceTexts;
  std::array<int32_t, 3> ChoiceTargets{};
  bool ChoiceOpen = false;
};

}  // namespace mirel
