#pragma once
// Where the message window stands on the game screen (app/Layout.cpp,
// app/Display.cpp).
#include <cstdint>

namespace mirel {

struct LayoutState {
  int16_t WakuLeft = 35, WakuTop = 360, WakuWidth = 576, WakuHeight = 108;
  int LineHeight = 17;
};

}  // namespace mirel
