// Letter classes and case mapping of ISO 8859-1 (Latin-1), the character set of
// Ada 95 sources. Table-driven so the scanner and the style rules can ask per byte.
#pragma once

#include <cstdint>
#include <string_view>

namespace flawseek::latin1 {

// 'A'-'Z', 0xC0-0xD6, 0xD8-0xDE.
constexpr bool is_upper(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}
// 'a'-'z', 0xDF-0xF6, 0xF8-0xFF.
constexpr bool is_lower(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 0xDF && c != 0xF7);
}
constexpr bool is_letter(unsigned char c) { return is_upper(c) || is_lower(c); }
constexpr bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Case mapping leaves letters without a partner in the other case (0xDF, 0xFF) alone.
constexpr unsigned char to_upper(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  return c;
}
constexpr unsigned char to_lower(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  return c;
}

// Equal when each letter may stand in either case (upper- and lower-casing
// pair the same letters, so either mapping gives the same answer).
constexpr bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (to_lower(static_cast<unsigned char>(a[i])) != to_lower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace flawseek::latin1
