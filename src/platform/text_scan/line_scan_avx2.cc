// How a line starts, read over 32-byte blocks: compiled for AVX2 whatever
// the build's target, and called only where the machine has it.
#include "platform/text_scan/line_scan.h"

#if defined(FLAWSEEK_TEXT_SCAN_AVX2)
#include <immintrin.h>

#include <bit>
#include <cstdint>

namespace flawseek::text_scan::avx2 {

namespace {

bool machine_has_wide_blocks() noexcept {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

}  // namespace

const bool usable = machine_has_wide_blocks();

// Everything from here on, the lambdas in it too, is compiled for AVX2 and
// run only where `usable` tells the machine has it.
#pragma GCC push_options
#pragma GCC target("avx2")

namespace {

inline __m256i block(const char* text, std::size_t at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + at));
}
inline unsigned bits(__m256i v) { return static_cast<unsigned>(_mm256_movemask_epi8(v)); }

// Blocks of 32 copies of one byte, read from memory in one instruction: the
// compiler would rather build each from the byte, in three, on every call.
struct alignas(32) Splat {
  unsigned char bytes[32];
};
constexpr Splat splat_of(unsigned char c) {
  Splat s{};
  for (unsigned char& b : s.bytes) b = c;
  return s;
}
constexpr Splat spaces = splat_of(' '), controls = splat_of(31), dashes = splat_of('-'), quotes = splat_of('"'),
                line_feeds = splat_of('\n'), carriage_returns = splat_of('\r');
inline __m256i splat(const Splat& s) {
  __m256i v;
  asm("vmovdqa %1, %0" : "=x"(v) : "m"(s));
  return v;
}

// The bytes is_line_stop marks: control characters, '-' and '"'.
inline __m256i line_stops(__m256i v) {
  return _mm256_or_si256(_mm256_cmpeq_epi8(_mm256_min_epu8(v, splat(controls)), v),
                         _mm256_or_si256(_mm256_cmpeq_epi8(v, splat(dashes)), _mm256_cmpeq_epi8(v, splat(quotes))));
}
// Within a comment only the line end: LF or CR.
inline __m256i line_ends(__m256i v) {
  return _mm256_or_si256(_mm256_cmpeq_epi8(v, splat(line_feeds)), _mm256_cmpeq_epi8(v, splat(carriage_returns)));
}

// The first byte of [from, length) that `stops` marks, or `length`, for
// 32 <= from <= length: whole blocks are read from `from` on, and the last
// ends at `length`, its mask shifted past what was seen already, so no byte
// past `length` is read.
template <typename Stops>
[[gnu::always_inline]] inline std::size_t find(const char* text, std::size_t from, std::size_t length,
                                               Stops stops) noexcept {
  const std::size_t last = length - 32;
  std::size_t i = from;
  for (; i <= last; i += 32) {
    if (const unsigned m = bits(stops(block(text, i))); m != 0) return i + std::countr_zero(m);
  }
  if (i >= length) return length;
  const unsigned m = bits(stops(block(text, last))) >> (i - last);
  return m != 0 ? i + std::countr_zero(m) : length;
}

}  // namespace

LineStart line_start(const char* text, std::size_t left) noexcept {
  // The first block tells the indentation, unless it holds spaces only, and
  // mostly the first stop too: only past it is searched.
  const __m256i first_block = block(text, 0);
  const unsigned others = ~bits(_mm256_cmpeq_epi8(first_block, splat(spaces)));
  if (others == 0) return {find(text, 0, left, line_stops), 0, false};
  const unsigned first = static_cast<unsigned>(std::countr_zero(others));
  if (first + 1 < left && text[first] == '-' && text[first + 1] == '-') {
    const unsigned from = first + 2;
    if (const unsigned m = from < 32 ? bits(line_ends(first_block)) >> from : 0; m != 0)
      return {from + static_cast<std::size_t>(std::countr_zero(m)), first, true};
    return {find(text, 32, left, line_ends), first, true};
  }
  if (const unsigned m = bits(line_stops(first_block)) >> first; m != 0)
    return {first + static_cast<std::size_t>(std::countr_zero(m)), first, false};
  return {find(text, 32, left, line_stops), first, false};
}

#pragma GCC pop_options

}  // namespace flawseek::text_scan::avx2
#endif
