// The line reader's first look at a line over 32-byte blocks, for machines
// that have them (AVX2): the line's indentation, the "--" of a comment-only
// line and the line's first stop mostly lie within its first such block,
// where the 16-byte searches take two or three. Whether the machine has them
// is asked once, at start.
#pragma once

#include <cstddef>
#include <cstdint>

namespace flawseek {

// How a line starts: where its first stop lies (see line_stops in
// ada_line_reading.h; for a comment-only line, the line's end), how many
// spaces begin it as far as was seen (0 where unknown), and whether it is
// nothing but a comment after them.
struct LineStart {
  std::size_t end = 0;
  std::uint32_t indentation = 0;
  bool comment_only = false;
};

namespace wide_line_search {

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// The machine runs line_start.
extern const bool usable;
// How the line at `text` starts, `left` (at least 32) bytes of source from
// it on. Only where `usable`.
LineStart line_start(const char* text, std::size_t left) noexcept;
#else
inline constexpr bool usable = false;
inline LineStart line_start(const char*, std::size_t left) noexcept { return {left, 0, false}; }
#endif

}  // namespace wide_line_search
}  // namespace flawseek
