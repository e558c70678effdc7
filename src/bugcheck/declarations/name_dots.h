// The dots of a dotted name ("Ada.Text_IO.Put"), found sixteen characters at
// a time. The declaration rules split nearly every name a file uses at its
// dots; names are short, and a library search per identifier cost more in
// the call than in the search.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace flawseek {

namespace name_dots_detail {

template <class Word>
Word load(const char* at) noexcept {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

#if defined(__SSE2__)
// One bit for each dot of the block.
inline std::uint64_t block_dots(__m128i block) noexcept {
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('.'))));
}
inline std::uint64_t dots_of_16(const char* at) noexcept {
  return block_dots(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
}
inline std::uint64_t dots_of_8(const char* at) noexcept {
  return block_dots(_mm_cvtsi64_si128(static_cast<long long>(load<std::uint64_t>(at))));
}
inline std::uint64_t dots_of_4(const char* at) noexcept {
  return block_dots(_mm_cvtsi32_si128(static_cast<int>(load<std::uint32_t>(at))));
}
#endif

// The places of the dots of the `size` (1 to 64) characters at `text`, one
// bit each. Where the last loads overlap earlier ones they find the same
// dots at the same places; nothing outside the characters is read.
inline std::uint64_t dot_places(const char* text, std::size_t size) noexcept {
#if defined(__SSE2__)
  if (size >= 16) {
    std::uint64_t dots = 0;
    for (std::size_t at = 0; at + 16 < size; at += 16) dots |= dots_of_16(text + at) << at;
    return dots | dots_of_16(text + size - 16) << (size - 16);
  }
  if (size >= 8) return dots_of_8(text) | dots_of_8(text + size - 8) << (size - 8);
  if (size >= 4) return dots_of_4(text) | dots_of_4(text + size - 4) << (size - 4);
#endif
  std::uint64_t dots = 0;
  for (std::size_t at = 0; at < size; ++at) dots |= std::uint64_t{text[at] == '.'} << at;
  return dots;
}

}  // namespace name_dots_detail

// A name with the dots of its first 64 characters found: the rules that
// split one used name at its dots share one search.
struct DottedName {
  explicit DottedName(std::string_view name) noexcept
      : text(name), head_dots(name_dots_detail::dot_places(name.data(), name.size() < 64 ? name.size() : 64)) {}

  // Known to hold no dot: most used names are one identifier, and the
  // rules take them without a walk over the dots. A name longer than 64
  // characters is never known so.
  bool one_identifier() const noexcept { return head_dots == 0 && text.size() <= 64; }

  std::string_view text;
  std::uint64_t head_dots;  // one bit a dot
};

// Calls `visit` with the place of each dot of `name`, in order.
template <class Visit>
void for_each_dot(const DottedName& name, Visit&& visit) {
  for (std::uint64_t dots = name.head_dots; dots != 0; dots &= dots - 1) {
    visit(static_cast<std::size_t>(std::countr_zero(dots)));
  }
  const char* const text = name.text.data();
  const std::size_t size = name.text.size();
  for (std::size_t base = 64; base < size; base += 64) {
    const std::size_t count = size - base < 64 ? size - base : 64;
    for (std::uint64_t dots = name_dots_detail::dot_places(text + base, count); dots != 0; dots &= dots - 1) {
      visit(base + static_cast<std::size_t>(std::countr_zero(dots)));
    }
  }
}

template <class Visit>
void for_each_dot(std::string_view name, Visit&& visit) {
  for_each_dot(DottedName(name), visit);
}

}  // namespace flawseek
