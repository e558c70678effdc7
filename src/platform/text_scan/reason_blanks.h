// The searches behind collapsing the blanks of a finding's reason text: where
// a run of blanks ends, where words parted by single spaces stop, and whether
// a stretch holds no blank but single spaces. A blank there is the space and
// every control character but the tab (kept as designed), DEL and the C1
// controls. Each search is a byte loop (scalar::) and a sixteen-byte block
// version (vector::); the face is whichever the build has.
#pragma once

#include <array>
#include <bit>
#include <cstddef>

#include "platform/text_scan/block16.h"
#include "platform/text_scan/vector_build.h"

namespace flawseek::text_scan {

constexpr bool counts_as_reason_blank(unsigned char code) {
  return code == ' ' || (code < ' ' && code != '\t') || code == 0x7F || (code >= 0x80 && code <= 0x9F);
}

inline constexpr std::array<bool, 256> reason_blank_table = [] {
  std::array<bool, 256> table{};
  for (int code = 0; code < 256; ++code) table[code] = counts_as_reason_blank(static_cast<unsigned char>(code));
  return table;
}();

inline bool is_reason_blank(char c) noexcept { return reason_blank_table[static_cast<unsigned char>(c)]; }

namespace scalar {

// The first byte from `read` on that is no blank, or `size`.
inline std::size_t reason_blanks_end(const char* text, std::size_t read, std::size_t size) noexcept {
  while (read < size && is_reason_blank(text[read])) ++read;
  return read;
}

// The first place from `read` on where the text stops being words parted by
// single spaces: a blank that is no space, or a space at the end or before
// another blank. Everything before it stays as it is.
inline std::size_t single_spaced_end(const char* text, std::size_t read, std::size_t size) noexcept {
  while (read < size) {
    if (!is_reason_blank(text[read])) {
      ++read;
    } else if (text[read] == ' ' && read + 1 < size && !is_reason_blank(text[read + 1])) {
      read += 2;
    } else {
      break;
    }
  }
  return read;
}

// True when [from, to) holds no blank but spaces, none of them followed by
// another within the range: then collapsing leaves it as it is.
inline bool is_single_spaced(const char* text, std::size_t from, std::size_t to) noexcept {
  for (std::size_t i = from; i < to; ++i) {
    if (!is_reason_blank(text[i])) continue;
    if (text[i] != ' ' || (i + 1 < to && text[i + 1] == ' ')) return false;
  }
  return true;
}

}  // namespace scalar

#if defined(FLAWSEEK_TEXT_SCAN_SSE2)
namespace vector {

namespace detail {
using namespace block16;
// 0xFF in each byte of `v` that is a blank.
inline Block blanks_of(Block v) noexcept {
  const Block control = but_not(at_most(v, 0x1F), equal(v, '\t'));
  return either(either(equal(v, ' '), control), either(equal(v, 0x7F), within(v, 0x80, 0x1F)));
}
// 0xFF in each byte of `v` that is a blank but no space; DEL and the C1
// controls lie together, 0x7F to 0x9F.
inline Block blanks_but_spaces_of(Block v) noexcept {
  return either(but_not(at_most(v, 0x1F), equal(v, '\t')), within(v, 0x7F, 0x20));
}
// True when the sixteen bytes at `at` hold no blank but single spaces, the
// bytes before bit `first` of the block not counted.
inline bool plain_block(const char* at, unsigned first) noexcept {
  const Block here = load(at);
  const unsigned spaces = bits(equal(here, ' '));
  const unsigned stops = bits(blanks_but_spaces_of(here)) | (spaces & (spaces >> 1));
  return (stops >> first) == 0;
}
}  // namespace detail

inline std::size_t reason_blanks_end(const char* text, std::size_t read, std::size_t size) noexcept {
  using namespace detail;
  // Indentation mostly ends within sixteen bytes.
  while (read + 16 <= size) {
    const unsigned others = ~bits(blanks_of(load(text + read))) & 0xFFFFu;
    if (others != 0) return read + static_cast<std::size_t>(std::countr_zero(others));
    read += 16;
  }
  return scalar::reason_blanks_end(text, read, size);
}

inline std::size_t single_spaced_end(const char* text, std::size_t read, std::size_t size) noexcept {
  using namespace detail;
  if (size < 17) return scalar::single_spaced_end(text, read, size);
  // Sixteen places a round, each judged with the byte after it; the last
  // round is moved back to end at the last byte but one, its places before
  // `read` left out, so no byte past the text is read.
  const std::size_t last_base = size - 17;
  while (read + 1 < size) {
    const std::size_t base = read < last_base ? read : last_base;
    const Block here = load(text + base);
    const unsigned blanks = bits(blanks_of(here));
    const unsigned spaces = bits(equal(here, ' '));
    // The byte after each place: the next place's, and for the last the
    // byte after the block, which the text holds.
    const unsigned blanks_after = (blanks >> 1) | (static_cast<unsigned>(is_reason_blank(text[base + 16])) << 15);
    const unsigned stops = (blanks & (~spaces | blanks_after)) >> (read - base);
    if (stops != 0) return read + static_cast<std::size_t>(std::countr_zero(stops));
    read = base + 16;
  }
  // The last byte: a blank there ends the stretch.
  if (read < size && !is_reason_blank(text[read])) return size;
  return read;
}

// Blocks overlap by one byte, so each pair of neighbours lies within one
// block, and the last ends at `to`; no byte outside [0, to) is read, and
// those before `from` in a short range's block are masked off.
inline bool is_single_spaced(const char* text, std::size_t from, std::size_t to) noexcept {
  using namespace detail;
  if (to < 16) return scalar::is_single_spaced(text, from, to);
  if (to - from <= 16) return plain_block(text + to - 16, static_cast<unsigned>(from - (to - 16)));
  for (std::size_t base = from; base + 16 < to; base += 15) {
    if (!plain_block(text + base, 0)) return false;
  }
  return plain_block(text + to - 16, 0);
}

}  // namespace vector
using vector::is_single_spaced;
using vector::reason_blanks_end;
using vector::single_spaced_end;
#else
using scalar::is_single_spaced;
using scalar::reason_blanks_end;
using scalar::single_spaced_end;
#endif

}  // namespace flawseek::text_scan
