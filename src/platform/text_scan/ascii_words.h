// Tests of short texts read a word at a time: whether a text is plain ASCII,
// whether a short ASCII text holds a byte of a range or a letter of a case,
// and comparisons of letters in any case. Names, reserved words, attribute
// and pragma names are short and nearly always plain ASCII; a byte loop
// would cost a branch per character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/text_scan/word_reads.h"

namespace flawseek::text_scan {

// Whether no byte of `text` is above 127. Two loads that overlap in the
// middle cover every length from one word up to two, and nothing before or
// after the text is read.
inline bool is_plain_ascii(std::string_view text) noexcept {
  const char* const at = text.data();
  const std::size_t size = text.size();
  if (size >= 8) {
    std::uint64_t bits = load_word<std::uint64_t>(at + size - 8);
    for (std::size_t i = 0; i + 8 < size; i += 8) bits |= load_word<std::uint64_t>(at + i);
    return (bits & byte_tops) == 0;
  }
  if (size >= 4) {
    const std::uint32_t bits = load_word<std::uint32_t>(at) | load_word<std::uint32_t>(at + size - 4);
    return (bits & 0x80808080u) == 0;
  }
  unsigned char high = 0;
  for (std::size_t i = 0; i < size; ++i) high |= static_cast<unsigned char>(at[i]);
  return high < 0x80;
}

// What a reading of a short text found: nothing, one at least, or nothing
// certain (the text is longer than the reading takes, or holds a byte above
// 127 that only a closer look can judge).
enum class ShortScan : std::uint8_t { NONE, FOUND, UNDECIDED };

// Whether a plain ASCII text of up to sixteen characters holds a byte within
// first..last (both ASCII).
inline ShortScan find_ascii_within(std::string_view text, unsigned char first, unsigned char last) noexcept {
  CoveringReadings readings;
  if (!read_covering(text, readings)) return ShortScan::UNDECIDED;
  if (((readings.first | readings.second) & byte_tops) != 0) return ShortScan::UNDECIDED;
  const std::uint64_t found = bytes_within(readings.first, first, last) | bytes_within(readings.second, first, last);
  return found != 0 ? ShortScan::FOUND : ShortScan::NONE;
}

// For a text of ASCII letters alone, up to sixteen of them: whether it holds
// a capital (`capitals`) or else a lower-case letter. Bit 5 alone then tells
// the two apart, one test a word instead of a range test. A text of any
// other bytes gets a wrong answer.
inline ShortScan find_letter_case(std::string_view letters, bool capitals) noexcept {
  CoveringReadings readings;
  if (!read_covering(letters, readings)) return ShortScan::UNDECIDED;
  if (letters.empty()) return ShortScan::NONE;
  // The bits of the bytes the readings hold: three of them for a short text.
  const std::uint64_t bits = letters.size() >= 4 ? byte_ones * 0x20 : 0x202020u;
  // A capital is a letter without bit 5, a lower-case letter one with it.
  const bool found = capitals ? (readings.first & readings.second & bits) != bits
                              : ((readings.first | readings.second) & bits) != 0;
  return found ? ShortScan::FOUND : ShortScan::NONE;
}

// Whether the four bytes at `at` are the four lower-case ASCII letters
// `lower` in any letter case. Setting bit 5 lowers a letter's case, and of
// all bytes only 'T' and 't' give 't' so (and so on).
inline bool four_letters_any_case(const char* at, const char (&lower)[5]) noexcept {
  return (load_word<std::uint32_t>(at) | 0x20202020u) == load_word<std::uint32_t>(lower);
}

// Whether `text` is `known` (ASCII capitals and underscores, 4 to 16 of
// them, as many as `text` has) in any letter case, compared eight or four
// characters at a time in two readings that may overlap. Under bit 5 set
// only a letter and its lower-case form become the same byte; an
// underscore, the one byte of such names whose low five bits are all set,
// keeps bit 5 as it is and must match exactly.
inline bool spells_in_any_case(std::string_view known, const char* text) noexcept {
  const auto same = []<class Word>(const char* k_at, const char* n_at, Word) {
    constexpr Word ones = static_cast<Word>(byte_ones);
    const Word k = load_word<Word>(k_at);
    const Word n = load_word<Word>(n_at);
    const Word underscores = static_cast<Word>(((k & ones * 0x1F) + ones) & ones * 0x20);
    const Word case_bits = static_cast<Word>(ones * 0x20 ^ underscores);
    return (k | case_bits) == (n | case_bits);
  };
  const std::size_t size = known.size();
  if (size >= 8) {
    const std::size_t last = size - 8;
    return same(known.data(), text, std::uint64_t{}) && same(known.data() + last, text + last, std::uint64_t{});
  }
  const std::size_t last = size - 4;
  return same(known.data(), text, std::uint32_t{}) && same(known.data() + last, text + last, std::uint32_t{});
}

}  // namespace flawseek::text_scan
