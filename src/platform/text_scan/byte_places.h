// The places of one byte value within up to 64 characters, one bit each: the
// dots of a dotted name, which the declaration rules split nearly every name
// at. A byte loop (scalar::) and a sixteen-byte block version (vector::) that
// reads short texts in overlapping eight- and four-byte words.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/text_scan/block16.h"
#include "platform/text_scan/vector_build.h"
#include "platform/text_scan/word_reads.h"

namespace flawseek::text_scan {

namespace scalar {

// Bit i set where text[i] is `byte`, for the `size` (0 to 64) characters at `text`.
inline std::uint64_t byte_places(const char* text, std::size_t size, char byte) noexcept {
  std::uint64_t places = 0;
  for (std::size_t at = 0; at < size; ++at) places |= std::uint64_t{text[at] == byte} << at;
  return places;
}

}  // namespace scalar

#if defined(FLAWSEEK_TEXT_SCAN_SSE2)
namespace vector {

// Where the last loads overlap earlier ones they find the same bytes at the
// same places; nothing outside the characters is read.
inline std::uint64_t byte_places(const char* text, std::size_t size, char byte) noexcept {
  using namespace block16;
  const auto places = [byte](Block block) -> std::uint64_t {
    return bits(equal(block, static_cast<unsigned char>(byte)));
  };
  if (size >= 16) {
    std::uint64_t found = 0;
    for (std::size_t at = 0; at + 16 < size; at += 16) found |= places(load(text + at)) << at;
    return found | places(load(text + size - 16)) << (size - 16);
  }
  // The block's bytes past the word are zero: a zero byte is found only
  // where the text has it once they are masked off (for any other byte the
  // mask folds away).
  const std::uint64_t past_8 = byte == 0 ? 0xFFu : ~std::uint64_t{0};
  const std::uint64_t past_4 = byte == 0 ? 0xFu : ~std::uint64_t{0};
  const auto of_8 = [&](const char* at) { return places(from_word(load_word<unsigned long long>(at))) & past_8; };
  const auto of_4 = [&](const char* at) { return places(from_word(load_word<unsigned>(at))) & past_4; };
  if (size >= 8) return of_8(text) | of_8(text + size - 8) << (size - 8);
  if (size >= 4) return of_4(text) | of_4(text + size - 4) << (size - 4);
  return scalar::byte_places(text, size, byte);
}

}  // namespace vector
using vector::byte_places;
#else
using scalar::byte_places;
#endif

}  // namespace flawseek::text_scan
