// Tests of the block searches: the same answer as a byte-by-byte search for
// every text length and start, a stop at every place, and no byte read past
// the text's end (each text lies at the very end of its own allocation).
#include "frontend/byte_search.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

namespace flawseek {
namespace {

#if defined(__SSE2__)
using namespace byte_search;

// The stop byte is '-': the text is otherwise 'a', with '-' only at `stop`
// (none when stop is past the end).
std::unique_ptr<unsigned char[]> text_of(std::ptrdiff_t length, std::ptrdiff_t stop) {
  auto text = std::make_unique<unsigned char[]>(static_cast<std::size_t>(length > 0 ? length : 1));
  for (std::ptrdiff_t i = 0; i < length; ++i) text[i] = i == stop ? '-' : 'a';
  return text;
}

std::ptrdiff_t expected(std::ptrdiff_t from, std::ptrdiff_t length, std::ptrdiff_t stop) {
  return stop >= from && stop < length ? stop : length;
}

const auto dashes = [](Block v) { return equal(v, '-'); };

TEST(ByteSearch, FindAgreesWithAByteByByteSearchAtEveryLengthStartAndStop) {
  for (std::ptrdiff_t length = 16; length <= 70; ++length) {
    for (std::ptrdiff_t stop = 0; stop <= length; ++stop) {
      const auto text = text_of(length, stop);
      for (std::ptrdiff_t from = 0; from <= length; ++from) {
        ASSERT_EQ(find(text.get(), from, length, dashes), expected(from, length, stop))
            << "length " << length << ", stop " << stop << ", from " << from;
      }
    }
  }
}

TEST(ByteSearch, FindFarAgreesWithAByteByByteSearchAtEveryLengthStartAndStop) {
  for (std::ptrdiff_t length = 16; length <= 110; ++length) {
    for (std::ptrdiff_t stop = 0; stop <= length; ++stop) {
      const auto text = text_of(length, stop);
      for (std::ptrdiff_t from = 0; from <= length; ++from) {
        ASSERT_EQ(find_far(text.get(), from, length, dashes), expected(from, length, stop))
            << "length " << length << ", stop " << stop << ", from " << from;
      }
    }
  }
}
#endif

}  // namespace
}  // namespace flawseek
