// Latin-1 letter case folded a word at a time: a word's bytes lowered, a
// text lowered where it stands, and two texts compared in any letter case.
// Plain ASCII, nearly every name, needs only its capitals given bit 5; a
// word with a byte above 127 goes through the table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/latin1.h"
#include "platform/text_scan/word_reads.h"

namespace flawseek::text_scan {

// Each byte's lower-case form.
inline constexpr std::array<unsigned char, 256> lower_case_bytes = [] {
  std::array<unsigned char, 256> folds{};
  for (int code = 0; code < 256; ++code) folds[code] = latin1::to_lower(static_cast<unsigned char>(code));
  return folds;
}();

// Each byte of `word` in lower case.
inline std::uint64_t lower_case_word(std::uint64_t word) noexcept {
  if ((word & byte_tops) != 0) {
    std::uint64_t folded = 0;
    for (int shift = 0; shift < 64; shift += 8)
      folded |= std::uint64_t{lower_case_bytes[static_cast<unsigned char>(word >> shift)]} << shift;
    return folded;
  }
  return word | bytes_within(word, 'A', 'Z') >> 2;
}

// The `size` characters at `text` in lower case where they stand, a word at
// a time. Folding a folded character changes nothing, so the last word may
// overlap the one before it and nothing outside the text is touched.
inline void lower_case_in_place(char* text, std::size_t size) noexcept {
  const auto fold_at = []<class Word>(char* at, Word) {
    store_word(at, static_cast<Word>(lower_case_word(load_word<Word>(at))));
  };
  if (size >= 8) {
    for (std::size_t at = 0; at + 8 < size; at += 8) fold_at(text + at, std::uint64_t{});
    fold_at(text + size - 8, std::uint64_t{});
  } else if (size >= 4) {
    fold_at(text, std::uint32_t{});
    fold_at(text + size - 4, std::uint32_t{});
  } else {
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(lower_case_bytes[static_cast<unsigned char>(text[i])]);
  }
}

// Whether `a` and `b` are the same text, each letter in either case. Texts
// compared are mostly spelt alike, letter case and all: eight bytes at a
// time while they are, then a byte at a time, folded only where they differ.
inline bool same_ignoring_case(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (load_word<std::uint64_t>(a.data() + i) != load_word<std::uint64_t>(b.data() + i)) break;
  }
  for (; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && lower_case_bytes[x] != lower_case_bytes[y]) return false;
  }
  return true;
}

}  // namespace flawseek::text_scan
