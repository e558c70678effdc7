// Searches over a line's bytes sixteen at a time, for the line reader and the
// scanner: where the next byte of a kind stands, without one branch per byte.
#pragma once

#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace flawseek::byte_search {

#if defined(__SSE2__)
inline constexpr bool wide = true;

using Block = __m128i;

inline Block load(const unsigned char* p) noexcept {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
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
inline Block lower_case(Block v) noexcept { return _mm_or_si128(v, splat(0x20)); }
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
#else
inline constexpr bool wide = false;
#endif

}  // namespace flawseek::byte_search
