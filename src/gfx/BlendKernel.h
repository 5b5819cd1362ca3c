#pragma once
// The blend of one weight worked out in whole numbers, eight pixels at a
// time, giving the same bytes as the rounding in double precision it
// stands for. A weight it cannot stand for exactly is left to the table.
#include <cstdint>

namespace mirel {

struct BlendKernel {
  bool usable = false;
  // The sum source x w1 + destination x w0, exact in double, is a whole
  // number N over 2^s; each weight's whole factor is split at 15 bits.
  int16_t sourceHigh = 0, sourceLow = 0, destHigh = 0, destLow = 0;
  int shift = 0;          // s - 15
  int32_t mask = 0, half = 0;
};

// For the weight and its complement in single precision, as the blend
// takes them. Not usable when the processor lacks the instructions or the
// numbers do not fit.
BlendKernel MakeBlendKernel(float weight);
// Blends the leading pixels it can (a multiple of eight) and returns how
// many; the caller does the rest.
int BlendRowWide(const BlendKernel& k, uint32_t* dst, const uint32_t* src, int n);

}  // namespace mirel
