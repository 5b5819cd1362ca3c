#include "gfx/BlendKernel.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MIREL_WIDE_BLEND 1
#endif

namespace mirel {

BlendKernel MakeBlendKernel(float weight) {
  BlendKernel k;
#ifdef MIREL_WIDE_BLEND
  if (!__builtin_cpu_supports("avx2")) return k;
  // Each weight is a 24-bit whole number times a power of two.
  const float w1 = weight, w0 = 1.0f - weight;
  int e1 = 0, e0 = 0;
  const double f1 = std::frexp(static_cast<double>(w1), &e1), f0 = std::frexp(static_cast<double>(w0), &e0);
  const uint64_t m1 = static_cast<uint64_t>(std::ldexp(f1, 24)), m0 = static_cast<uint64_t>(std::ldexp(f0, 24));
  int p1 = e1 - 24, p0 = e0 - 24;
  if (m1 == 0) p1 = p0;
  if (m0 == 0) p0 = p1;
  const int p = std::min(p1, p0), s = -p;
  if (s < 16 || s > 45 || p1 - p > 20 || p0 - p > 20) return k;
  const uint64_t k1 = m1 << (p1 - p), k0 = m0 << (p0 - p);
  // Both whole factors in two 15-bit halves, for the signed 16-bit
  // multiply-adds; 255 x (k1 + k0) stays below 2^53, so the double sum it
  // stands for was exact.
  if ((k1 >> 15) >= 32768 || (k0 >> 15) >= 32768) return k;
  k.sourceHigh = static_cast<int16_t>(k1 >> 15);
  k.sourceLow = static_cast<int16_t>(k1 & 0x7FFF);
  k.destHigh = static_cast<int16_t>(k0 >> 15);
  k.destLow = static_cast<int16_t>(k0 & 0x7FFF);
  k.shift = s - 15;
  k.mask = static_cast<int32_t>((1u << k.shift) - 1);
  k.half = static_cast<int32_t>(1u << (k.shift - 1));
  k.usable = true;
#else
  (void)weight;
#endif
  return k;
}

#ifdef MIREL_WIDE_BLEND
namespace {

struct Wide {
  __m256i low, high, low15, mask, half, one, allOnes;
  __m128i shift;
};

// Eight channels, each a destination and source pair of 16-bit numbers:
// N = d x k0 + s x k1 in a high and a low part, then N / 2^s rounded half
// to even.
__attribute__((target("avx2"))) inline __m256i Round8(__m256i pairs, const Wide& w) {
  const __m256i lo = _mm256_madd_epi16(pairs, w.low);
  const __m256i hi = _mm256_add_epi32(_mm256_madd_epi16(pairs, w.high), _mm256_srli_epi32(lo, 15));
  const __m256i below = _mm256_and_si256(lo, w.low15);
  const __m256i q = _mm256_srl_epi32(hi, w.shift);
  const __m256i rest = _mm256_and_si256(hi, w.mask);
  const __m256i atHalf = _mm256_cmpeq_epi32(rest, w.half);
  const __m256i aboveHalfOrOdd =
      _mm256_or_si256(_mm256_xor_si256(_mm256_cmpeq_epi32(below, _mm256_setzero_si256()), w.allOnes),
                      _mm256_cmpeq_epi32(_mm256_and_si256(q, w.one), w.one));
  const __m256i up = _mm256_or_si256(_mm256_cmpgt_epi32(rest, w.half), _mm256_and_si256(atHalf, aboveHalfOrOdd));
  return _mm256_sub_epi32(q, up);  // up is -1 where the quotient goes up
}

__attribute__((target("avx2"))) int BlendRowAvx2(const BlendKernel& k, uint32_t* dst, const uint32_t* src, int n) {
  Wide w;
  w.low = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(k.sourceLow)) << 16 |
                                                 static_cast<uint16_t>(k.destLow)));
  w.high = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(k.sourceHigh)) << 16 |
                                                  static_cast<uint16_t>(k.destHigh)));
  w.low15 = _mm256_set1_epi32(0x7FFF);
  w.mask = _mm256_set1_epi32(k.mask);
  w.half = _mm256_set1_epi32(k.half);
  w.one = _mm256_set1_epi32(1);
  w.allOnes = _mm256_set1_epi32(-1);
  w.shift = _mm_cvtsi32_si128(k.shift);
  const __m256i zero = _mm256_setzero_si256(), colour = _mm256_set1_epi32(0x00FFFFFF);
  int x = 0;
  for (; x + 8 <= n; x += 8) {
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + x));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
    const __m256i dLo = _mm256_unpacklo_epi8(d, zero), dHi = _mm256_unpackhi_epi8(d, zero);
    const __m256i sLo = _mm256_unpacklo_epi8(s, zero), sHi = _mm256_unpackhi_epi8(s, zero);
    const __m256i r0 = Round8(_mm256_unpacklo_epi16(dLo, sLo), w), r1 = Round8(_mm256_unpackhi_epi16(dLo, sLo), w);
    const __m256i r2 = Round8(_mm256_unpacklo_epi16(dHi, sHi), w), r3 = Round8(_mm256_unpackhi_epi16(dHi, sHi), w);
    const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(r0, r1), _mm256_packs_epi32(r2, r3));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x), _mm256_and_si256(bytes, colour));
  }
  return x;
}

}  // namespace
#endif

int BlendRowWide(const BlendKernel& k, uint32_t* dst, const uint32_t* src, int n) {
#ifdef MIREL_WIDE_BLEND
  if (k.usable) return BlendRowAvx2(k, dst, src, n);
#else
  (void)k, (void)dst, (void)src, (void)n;
#endif
  return 0;
}

}  // namespace mirel
