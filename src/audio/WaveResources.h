#pragma once
// The wave sounds built into the program, by resource id (100 to 108).
#include <cstdint>

#include "base/Files.h"

namespace mirel {

// A fresh copy of the complete RIFF image of that sound; empty for an id
// the program does not have.
Bytes LoadWaveResource(int32_t id);

}  // namespace mirel
