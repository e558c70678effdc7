// The scanner's runs over a line: blanks to skip, a word's ASCII letters,
// digits and underscores, a number's digits. Each is a byte loop (scalar::)
// and a sixteen-byte block search (vector::); the face is whichever the
// build has.
#pragma once

#include <bit>
#include <cstddef>

#include "platform/text_scan/block16.h"
#include "platform/text_scan/vector_build.h"

namespace flawseek::text_scan {

// Letters, digits and underscore: word characters in every character class
// and the only ASCII ones, so a word goes on after a run of them only with a
// byte of 128 or more.
constexpr bool is_ascii_word_byte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
constexpr bool is_digit_or_underscore(unsigned char c) { return (c >= '0' && c <= '9') || c == '_'; }
constexpr bool is_extended_digit_or_underscore(unsigned char c) {
  return is_digit_or_underscore(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

namespace scalar {

// The first byte in [from, length) above ' ' (the scanner takes control
// characters for blanks), or `length`.
inline std::size_t skip_blanks(const unsigned char* text, std::size_t from, std::size_t length) noexcept {
  while (from < length && text[from] <= ' ') ++from;
  return from;
}
// The end of the run of ASCII word bytes from `from`.
inline std::size_t ascii_word_end(const unsigned char* text, std::size_t from, std::size_t length) noexcept {
  while (from < length && is_ascii_word_byte(text[from])) ++from;
  return from;
}
// The end of the run of digits and underscores from `from`: decimal digits,
// or with `extended` the digits of a based number too (a-f in either case).
inline std::size_t digit_run_end(const unsigned char* text, std::size_t from, std::size_t length,
                                 bool extended) noexcept {
  if (extended) {
    while (from < length && is_extended_digit_or_underscore(text[from])) ++from;
  } else {
    while (from < length && is_digit_or_underscore(text[from])) ++from;
  }
  return from;
}
// How many of the sixteen bytes at `word` (all readable) begin it as ASCII
// word bytes: 16 when they all are.
inline int ascii_word_length_16(const unsigned char* word) noexcept {
  int n = 0;
  while (n < 16 && is_ascii_word_byte(word[n])) ++n;
  return n;
}

}  // namespace scalar

#if defined(FLAWSEEK_TEXT_SCAN_SSE2)
namespace vector {

namespace detail {
using namespace block16;
inline Block ascii_word_bytes(Block v) noexcept {
  return either(within(lower_case(v), 'a', 25), either(within(v, '0', 9), equal(v, '_')));
}
inline Block digits_or_underscores(Block v) noexcept { return either(within(v, '0', 9), equal(v, '_')); }
// Below a block's length the byte loop decides.
template <typename Stops>
inline std::ptrdiff_t find(const unsigned char* text, std::size_t from, std::size_t length, Stops stops) noexcept {
  return block16::find(text, static_cast<std::ptrdiff_t>(from), static_cast<std::ptrdiff_t>(length), stops);
}
}  // namespace detail

inline std::size_t skip_blanks(const unsigned char* text, std::size_t from, std::size_t length) noexcept {
  using namespace detail;
  if (const auto at = find(text, from, length, [](Block v) { return opposite(at_most(v, ' ')); }); at >= 0)
    return static_cast<std::size_t>(at);
  return scalar::skip_blanks(text, from, length);
}
inline std::size_t ascii_word_end(const unsigned char* text, std::size_t from, std::size_t length) noexcept {
  using namespace detail;
  if (const auto at = find(text, from, length, [](Block v) { return opposite(ascii_word_bytes(v)); }); at >= 0)
    return static_cast<std::size_t>(at);
  return scalar::ascii_word_end(text, from, length);
}
inline std::size_t digit_run_end(const unsigned char* text, std::size_t from, std::size_t length,
                                 bool extended) noexcept {
  using namespace detail;
  const auto at = extended ? find(text, from, length,
                                  [](Block v) {
                                    return opposite(either(digits_or_underscores(v), within(lower_case(v), 'a', 5)));
                                  })
                           : find(text, from, length, [](Block v) { return opposite(digits_or_underscores(v)); });
  if (at >= 0) return static_cast<std::size_t>(at);
  return scalar::digit_run_end(text, from, length, extended);
}
inline int ascii_word_length_16(const unsigned char* word) noexcept {
  using namespace detail;
  const unsigned others = bits(ascii_word_bytes(load(word))) ^ 0xFFFFu;
  return std::countr_zero(others | 0x10000u);
}

}  // namespace vector
using vector::ascii_word_end;
using vector::ascii_word_length_16;
using vector::digit_run_end;
using vector::skip_blanks;
#else
using scalar::ascii_word_end;
using scalar::ascii_word_length_16;
using scalar::digit_run_end;
using scalar::skip_blanks;
#endif

}  // namespace flawseek::text_scan
