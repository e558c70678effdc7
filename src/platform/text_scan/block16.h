// The sixteen-byte block kit (SSE2) the text scans' block versions are built
// of, and the two block searches that find a stop byte without one branch
// per byte. Only the scans of this folder include it.
#pragma once

#include "platform/text_scan/vector_build.h"

#if defined(FLAWSEEK_TEXT_SCAN_SSE2)
#include <emmintrin.h>

#include <bit>
#include <cstddef>

namespace flawseek::text_scan::block16 {

using Block = __m128i;

inline Block load(const unsigned char* p) noexcept {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline Block load(const char* p) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline Block splat(unsigned char c) noexcept { return _mm_set1_epi8(static_cast<char>(c)); }
// 0xFF in each byte equal to c.
inline Block equal(Block v, unsigned char c) noexcept { return _mm_cmpeq_epi8(v, splat(c)); }
// 0xFF in each byte that is at most `limit`, unsigned.
inline Block at_most(Block v, unsigned char limit) noexcept {
  return _mm_cmpeq_epi8(_mm_min_epu8(v, splat(limit)), v);
}
// 0xFF in each byte within [low, low + span], unsigned.
inline Block within(Block v, unsigned char low, unsigned char span) noexcept {
  return at_most(_mm_sub_epi8(v, splat(low)), span);
}
inline Block either(Block a, Block b) noexcept { return _mm_or_si128(a, b); }
inline Block opposite(Block v) noexcept { return _mm_xor_si128(v, splat(0xFF)); }
// 0xFF in each byte of `v` that `unless` does not mark.
inline Block but_not(Block v, Block unless) noexcept { return _mm_andnot_si128(unless, v); }
inline Block lower_case(Block v) noexcept { return _mm_or_si128(v, splat(0x20)); }
// The low eight or four bytes of a block from a word; the rest are zero.
inline Block from_word(unsigned long long word) noexcept { return _mm_cvtsi64_si128(static_cast<long long>(word)); }
inline Block from_word(unsigned word) noexcept { return _mm_cvtsi32_si128(static_cast<int>(word)); }
inline unsigned bits(Block v) noexcept { return static_cast<unsigned>(_mm_movemask_epi8(v)); }

// Index of the first byte in [from, length) for which `stops` (a function of a
// Block giving 0xFF per stop byte) holds, or `length`. No byte past `length`
// is read: blocks are read from `from` on while a whole one fits, and the
// last one ends at `length`, its mask shifted past what was seen already.
// The usual search (a stop in the first block) takes one predictable branch.
// A text shorter than a block is left to the caller (-1: "not decided").
template <typename Stops>
inline std::ptrdiff_t find(const unsigned char* text, std::ptrdiff_t from, std::ptrdiff_t length,
                           Stops stops) noexcept {
  if (length < 16) return from >= length ? length : -1;
  const std::ptrdiff_t last = length - 16;
  std::ptrdiff_t i = from;
  for (; i <= last; i += 16) {
    if (const unsigned m = bits(stops(load(text + i))); m != 0) return i + std::countr_zero(m);
  }
  if (i >= length) return length;
  const unsigned m = bits(stops(load(text + last))) >> (i - last);
  return m != 0 ? i + std::countr_zero(m) : length;
}

// The same two blocks a round, for searches that usually run further (to a
// line end).
template <typename Stops>
inline std::ptrdiff_t find_far(const unsigned char* text, std::ptrdiff_t from, std::ptrdiff_t length,
                               Stops stops) noexcept {
  if (length < 32) return find(text, from, length, stops);
  const std::ptrdiff_t last = length - 32;
  std::ptrdiff_t i = from;
  for (; i <= last; i += 32) {
    if (const unsigned m = bits(stops(load(text + i))) | bits(stops(load(text + i + 16))) << 16; m != 0)
      return i + std::countr_zero(m);
  }
  if (i >= length) return length;
  const unsigned m = (bits(stops(load(text + last))) | bits(stops(load(text + last + 16))) << 16) >> (i - last);
  return m != 0 ? i + std::countr_zero(m) : length;
}

}  // namespace flawseek::text_scan::block16
#endif
