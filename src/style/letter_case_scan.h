// Whether a text holds an upper- or a lower-case letter: the Lower and Upper
// case tests. The word steps run them on every reserved word, attribute and
// pragma name, nearly all short and plain ASCII, so they are inline and read
// eight characters at a time; a longer text, or one with a byte above 127,
// is read character by character through the Latin-1 classes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "style/mixed_case_machine.h"

namespace flawseek {

namespace letter_case_scan {

inline constexpr std::uint64_t byte_ones = 0x0101010101010101u;
inline constexpr std::uint64_t byte_tops = byte_ones * 0x80;

template <class Word>
Word load(const char* at) noexcept {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// Bit 7 of each byte of `word` that lies in first..last, for a word of ASCII
// bytes: the sums stay within their bytes.
constexpr std::uint64_t bytes_within(std::uint64_t word, unsigned char first, unsigned char last) noexcept {
  return (word + byte_ones * (0x80u - first)) & ~(word + byte_ones * (0x7Fu - last)) & byte_tops;
}

// Two readings of a text of up to sixteen characters that cover every one
// between them: two words that overlap where the length is no multiple of
// eight, the two halves of one word for four to seven characters (both
// readings), and the first, middle and last byte for fewer (a character
// seen twice is still one character). Nothing outside the text is read;
// false for a longer text.
struct CoveringReadings {
  std::uint64_t first = 0;
  std::uint64_t second = 0;
};
inline bool read_covering(std::string_view text, CoveringReadings& readings) noexcept {
  const char* const at = text.data();
  const std::size_t size = text.size();
  if (size >= 8) {
    if (size > 16) return false;
    readings.first = load<std::uint64_t>(at);
    readings.second = load<std::uint64_t>(at + size - 8);
  } else if (size >= 4) {
    readings.first = load<std::uint32_t>(at) | std::uint64_t{load<std::uint32_t>(at + size - 4)} << 32;
    readings.second = readings.first;
  } else if (size > 0) {
    const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])}; };
    readings.first = byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
    readings.second = readings.first;
  }
  return true;
}

// The slow way, for Latin-1 or long text.
bool has_class_by_table(std::string_view text, case_classes::CharacterClass wanted) noexcept;

}  // namespace letter_case_scan

// What a reading of a text for letters of one class found: none, one at
// least, or nothing certain: a byte above 127, which only the Latin-1
// classes can judge, or a text longer than the reading takes.
enum class LetterScan : std::uint8_t { NONE, FOUND, UNDECIDED };

// The letters of class `wanted` (UPPER or LOWER) in plain ASCII text of up
// to sixteen characters, read as two covering readings.
inline LetterScan scan_ascii_letters(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  using namespace letter_case_scan;
  const unsigned char first = wanted == case_classes::UPPER ? 'A' : 'a';
  const unsigned char last = wanted == case_classes::UPPER ? 'Z' : 'z';
  CoveringReadings readings;
  if (!read_covering(text, readings)) return LetterScan::UNDECIDED;
  if (((readings.first | readings.second) & byte_tops) != 0) return LetterScan::UNDECIDED;
  const std::uint64_t found = bytes_within(readings.first, first, last) | bytes_within(readings.second, first, last);
  return found != 0 ? LetterScan::FOUND : LetterScan::NONE;
}

// The same reading for a reserved word, which is ASCII letters alone (the
// scanner matches it against the word list in either case): bit 5 alone then
// tells a lower-case letter from a capital, one test a word instead of a
// range test. A word of more than sixteen characters is UNDECIDED; a text
// that is not a reserved word gets a wrong answer.
inline LetterScan scan_reserved_word(std::string_view word, case_classes::CharacterClass wanted) noexcept {
  using namespace letter_case_scan;
  CoveringReadings readings;
  if (!read_covering(word, readings)) return LetterScan::UNDECIDED;
  if (word.empty()) return LetterScan::NONE;
  // The bits of the bytes the readings hold: three of them for a short word.
  const std::uint64_t bits = word.size() >= 4 ? byte_ones * 0x20 : 0x202020u;
  // A capital is a letter without bit 5, a lower-case letter one with it.
  const bool found = wanted == case_classes::UPPER ? (readings.first & readings.second & bits) != bits
                                                   : ((readings.first | readings.second) & bits) != 0;
  return found ? LetterScan::FOUND : LetterScan::NONE;
}

// Whether `text` holds a letter of class `wanted` (UPPER or LOWER).
inline bool has_letter_of_class(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  const LetterScan scan = scan_ascii_letters(text, wanted);
  if (scan == LetterScan::UNDECIDED) return letter_case_scan::has_class_by_table(text, wanted);
  return scan == LetterScan::FOUND;
}

}  // namespace flawseek
