#pragma once
// The message being shown (text/TextRenderer.cpp).
#include <cstdint>

namespace mirel {

struct TextRendererState {
  int16_t LineNo = 0;
  int16_t LastSpeaker = -1;
  bool MsgBusy = false, MsgDone = false;
};

}  // namespace mirel
