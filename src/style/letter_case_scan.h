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

// The slow way, for Latin-1 or long text.
bool has_class_by_table(std::string_view text, case_classes::CharacterClass wanted) noexcept;

}  // namespace letter_case_scan

// What a reading of a text for letters of one class found: none, one at
// least, or nothing certain: a byte above 127, which only the Latin-1
// classes can judge, or a text longer than the reading takes.
enum class LetterScan : std::uint8_t { NONE, FOUND, UNDECIDED };

// The letters of class `wanted` (UPPER or LOWER) in plain ASCII text of up
// to sixteen characters, read as one or two words. The words overlap where
// the length is no multiple of eight (a letter seen twice is still one
// letter), and nothing outside the text is read.
inline LetterScan scan_ascii_letters(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  using namespace letter_case_scan;
  const unsigned char first = wanted == case_classes::UPPER ? 'A' : 'a';
  const unsigned char last = wanted == case_classes::UPPER ? 'Z' : 'z';
  const char* const at = text.data();
  const std::size_t size = text.size();
  std::uint64_t bytes = 0;  // every byte read, for the test of bit 7
  std::uint64_t found = 0;
  if (size >= 8) {
    if (size > 16) return LetterScan::UNDECIDED;
    const std::uint64_t head = load<std::uint64_t>(at);
    const std::uint64_t tail = load<std::uint64_t>(at + size - 8);
    bytes = head | tail;
    found = bytes_within(head, first, last) | bytes_within(tail, first, last);
  } else if (size >= 4) {
    bytes = load<std::uint32_t>(at) | std::uint64_t{load<std::uint32_t>(at + size - 4)} << 32;
    found = bytes_within(bytes, first, last);
  } else if (size > 0) {
    const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])}; };
    bytes = byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
    found = bytes_within(bytes, first, last);
  }
  if ((bytes & byte_tops) != 0) return LetterScan::UNDECIDED;
  return found != 0 ? LetterScan::FOUND : LetterScan::NONE;
}

// The same reading for a reserved word, which is ASCII letters alone (the
// scanner matches it against the word list in either case): bit 5 alone then
// tells a lower-case letter from a capital, one test a word instead of a
// range test. A word of more than sixteen characters is UNDECIDED; a text
// that is not a reserved word gets a wrong answer.
inline LetterScan scan_reserved_word(std::string_view word, case_classes::CharacterClass wanted) noexcept {
  using namespace letter_case_scan;
  constexpr std::uint64_t lower_bits = byte_ones * 0x20;
  const char* const at = word.data();
  const std::size_t size = word.size();
  // Two readings that cover every character between them, and the bits of
  // the bytes they hold.
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  std::uint64_t bits = lower_bits;
  if (size >= 8) {
    if (size > 16) return LetterScan::UNDECIDED;
    first = load<std::uint64_t>(at);
    second = load<std::uint64_t>(at + size - 8);
  } else if (size >= 4) {
    first = load<std::uint32_t>(at) | std::uint64_t{load<std::uint32_t>(at + size - 4)} << 32;
    second = first;
  } else if (size > 0) {
    const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])}; };
    first = byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
    second = first;
    bits = 0x202020u;
  } else {
    return LetterScan::NONE;
  }
  // A capital is a letter without bit 5, a lower-case letter one with it.
  const bool found = wanted == case_classes::UPPER ? (first & second & bits) != bits : ((first | second) & bits) != 0;
  return found ? LetterScan::FOUND : LetterScan::NONE;
}

// Whether `text` holds a letter of class `wanted` (UPPER or LOWER).
inline bool has_letter_of_class(std::string_view text, case_classes::CharacterClass wanted) noexcept {
  const LetterScan scan = scan_ascii_letters(text, wanted);
  if (scan == LetterScan::UNDECIDED) return letter_case_scan::has_class_by_table(text, wanted);
  return scan == LetterScan::FOUND;
}

}  // namespace flawseek
