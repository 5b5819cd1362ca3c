#pragma once
// The sprites on the screen (gfx/Sprites.cpp).
#include <array>
#include <cstdint>

namespace mirel {

struct SpritesState {
  std::array<std::array<int16_t, 4>, 8> DollPose{};
  std::array<bool, 3> PosUsed{};
  // Per character: the picture whose file could not be loaded, 0 for none.
  std::array<int16_t, 8> DollMissing{};
};

}  // namespace mirel
