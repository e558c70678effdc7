// The line reader's searches over a source: where a code line's scan must
// stop next, where a comment's line ends, and how a line starts (its
// indentation, whether it is a comment only, its first stop). Each has a
// byte loop (scalar::) and a sixteen-byte block version (vector::); how a
// line starts is read over 32-byte blocks (avx2::) on machines that have
// them, which is asked once, at start.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "platform/text_scan/block16.h"
#include "platform/text_scan/vector_build.h"

namespace flawseek::text_scan {

// How a line starts: where its first stop lies (for a comment-only line,
// the line's end), how many spaces begin it as far as was seen (0 where
// unknown), and whether it is nothing but a comment after them.
struct LineStart {
  std::size_t end = 0;
  std::uint32_t indentation = 0;
  bool comment_only = false;
};

// The bytes a code line's scan stops at: control characters (a line end, or
// blanked), '-' (a comment may start) and '"' (a string may start or end).
constexpr bool is_line_stop(unsigned char c) { return c < 32 || c == '-' || c == '"'; }
// Inside a comment only the line end matters: LF or CR.
constexpr bool is_line_end(unsigned char c) { return c == '\n' || c == '\r'; }

namespace line_scan_detail {

// The line start once the spaces that begin it are known to end at `first`
// (or `unknown`), from the two searches of a version.
inline constexpr std::size_t unknown = ~std::size_t{0};
template <std::size_t (*find_stop)(const char*, std::size_t, std::size_t) noexcept,
          std::size_t (*find_end)(const char*, std::size_t, std::size_t) noexcept>
inline LineStart line_start_after(const char* text, std::size_t left, std::size_t first) noexcept {
  if (first == unknown) return {find_stop(text, 0, left), 0, false};
  // Leading spaces hold no stop: the scan begins after them.
  if (first < left - 1 && text[first] == '-' && text[first + 1] == '-')
    return {find_end(text, first + 2, left), static_cast<std::uint32_t>(first), true};
  return {find_stop(text, first, left), static_cast<std::uint32_t>(first), false};
}

}  // namespace line_scan_detail

namespace scalar {

// The first byte in [from, length) that is_line_stop marks, or `length`.
inline std::size_t find_line_stop(const char* text, std::size_t from, std::size_t length) noexcept {
  for (std::size_t i = from; i < length; ++i)
    if (is_line_stop(static_cast<unsigned char>(text[i]))) return i;
  return length;
}
// The first LF or CR in [from, length), or `length`.
inline std::size_t find_line_end(const char* text, std::size_t from, std::size_t length) noexcept {
  for (std::size_t i = from; i < length; ++i)
    if (is_line_end(static_cast<unsigned char>(text[i]))) return i;
  return length;
}
// How the line at `text` starts, `left` bytes of source from it on; the
// indentation is seen within the first sixteen bytes, as the block version
// sees it.
inline LineStart line_start(const char* text, std::size_t left) noexcept {
  std::size_t first = line_scan_detail::unknown;
  if (left >= 16) {
    std::size_t spaces = 0;
    while (spaces < 16 && text[spaces] == ' ') ++spaces;
    if (spaces < 16) first = spaces;
  }
  return line_scan_detail::line_start_after<find_line_stop, find_line_end>(text, left, first);
}

}  // namespace scalar

#if defined(FLAWSEEK_TEXT_SCAN_SSE2)
namespace vector {

inline std::size_t find_line_stop(const char* text, std::size_t from, std::size_t length) noexcept {
  using namespace block16;
  const auto stops = [](Block v) { return either(at_most(v, 31), either(equal(v, '-'), equal(v, '"'))); };
  const std::ptrdiff_t at = find_far(reinterpret_cast<const unsigned char*>(text), static_cast<std::ptrdiff_t>(from),
                                     static_cast<std::ptrdiff_t>(length), stops);
  if (at >= 0) return static_cast<std::size_t>(at);
  return scalar::find_line_stop(text, from, length);
}

inline std::size_t find_line_end(const char* text, std::size_t from, std::size_t length) noexcept {
  using namespace block16;
  const auto stops = [](Block v) { return either(equal(v, '\n'), equal(v, '\r')); };
  const std::ptrdiff_t at = find_far(reinterpret_cast<const unsigned char*>(text), static_cast<std::ptrdiff_t>(from),
                                     static_cast<std::ptrdiff_t>(length), stops);
  if (at >= 0) return static_cast<std::size_t>(at);
  return scalar::find_line_end(text, from, length);
}

// Where the spaces that begin a line end, when one block tells (unknown when
// not: the rest of the source is short, or the block holds spaces only).
inline std::size_t indentation_end(const char* text, std::size_t length) noexcept {
  using namespace block16;
  if (length >= 16) {
    if (const unsigned others = bits(equal(load(text), ' ')) ^ 0xFFFFu; others != 0)
      return static_cast<std::size_t>(std::countr_zero(others));
  }
  return line_scan_detail::unknown;
}

inline LineStart line_start(const char* text, std::size_t left) noexcept {
  return line_scan_detail::line_start_after<find_line_stop, find_line_end>(text, left, indentation_end(text, left));
}

}  // namespace vector
using vector::find_line_end;
using vector::find_line_stop;
#else
using scalar::find_line_end;
using scalar::find_line_stop;
#endif

#if defined(FLAWSEEK_TEXT_SCAN_AVX2)
namespace avx2 {
// The machine runs line_start.
extern const bool usable;
// How the line at `text` starts, `left` (at least 32) bytes of source from
// it on, the indentation seen within the first 32. Only where `usable`.
LineStart line_start(const char* text, std::size_t left) noexcept;
}  // namespace avx2
#endif

// The line start by the widest blocks the machine has: inline, since the
// line reader asks it once a line. Either answer goes to one named result:
// returned directly, the two were packed into one register word first, a
// dozen instructions a line.
inline LineStart line_start(const char* text, std::size_t left) noexcept {
  LineStart start;
#if defined(FLAWSEEK_TEXT_SCAN_AVX2)
  if (avx2::usable && left >= 32)
    start = avx2::line_start(text, left);
  else
    start = vector::line_start(text, left);
#elif defined(FLAWSEEK_TEXT_SCAN_SSE2)
  start = vector::line_start(text, left);
#else
  start = scalar::line_start(text, left);
#endif
  return start;
}

}  // namespace flawseek::text_scan
