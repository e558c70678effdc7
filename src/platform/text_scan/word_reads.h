// Reading and writing several characters as one machine word: a word of
// eight or four bytes at any address, a short text as one word with zero
// bytes above it, and two readings that cover a text of up to sixteen
// characters. The word tests of this folder are built on them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace flawseek::text_scan {

// The word tests number a word's bytes from its low end.
static_assert(std::endian::native == std::endian::little, "the word readings assume a little-endian machine");

inline constexpr std::uint64_t byte_ones = 0x0101010101010101u;
inline constexpr std::uint64_t byte_tops = byte_ones * 0x80;

// The sizeof(Word) bytes at `at`, any alignment, as one word.
template <class Word>
inline Word load_word(const void* at) noexcept {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}
template <class Word>
inline void store_word(void* at, Word word) noexcept {
  std::memcpy(at, &word, sizeof word);
}

// The `count` (1 to 8) characters at `at` as one word, zero bytes above
// them. Overlapping loads: nothing after them is read.
inline std::uint64_t load_partial_word(const char* at, std::size_t count) noexcept {
  if (count == 8) return load_word<std::uint64_t>(at);
  if (count >= 4)
    return load_word<std::uint32_t>(at) | std::uint64_t{load_word<std::uint32_t>(at + count - 4)} << (8 * (count - 4));
  const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])} << (8 * i); };
  return byte(0) | byte(count / 2) | byte(count - 1);
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
    readings.first = load_word<std::uint64_t>(at);
    readings.second = load_word<std::uint64_t>(at + size - 8);
  } else if (size >= 4) {
    readings.first = load_word<std::uint32_t>(at) | std::uint64_t{load_word<std::uint32_t>(at + size - 4)} << 32;
    readings.second = readings.first;
  } else if (size > 0) {
    const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])}; };
    readings.first = byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
    readings.second = readings.first;
  }
  return true;
}

// Bit 7 of each byte of `word` that lies in first..last, for a word of ASCII
// bytes: the sums stay within their bytes.
constexpr std::uint64_t bytes_within(std::uint64_t word, unsigned char first, unsigned char last) noexcept {
  return (word + byte_ones * (0x80u - first)) & ~(word + byte_ones * (0x7Fu - last)) & byte_tops;
}

}  // namespace flawseek::text_scan
