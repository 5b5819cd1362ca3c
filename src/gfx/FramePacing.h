#pragma once
// The frame being paced (gfx/FramePacing.cpp).
#include <cstdint>

namespace mirel {

struct FramePacingState {
  uint32_t FrameTick = 0, FrameElapsed = 0;
};

}  // namespace mirel
