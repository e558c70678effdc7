// Tests of the line reader's first look at a line over 32-byte blocks: the
// same indentation, comment-only verdict and first stop as a byte-by-byte
// reading, for lines of every shape across block boundaries, and no byte
// read past the source's end (each source lies at the very end of its own
// allocation).
#include "frontend/wide_line_search.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <random>
#include <string>

namespace flawseek {
namespace {

// The byte-by-byte reading: the spaces that begin the line (0 when the first
// block holds nothing else), a "--" after them, and the first stop: for a
// comment-only line its end (LF or CR), else a control character, '-' or '"'.
LineStart expected_start(const std::string& text) {
  std::size_t first = 0;
  while (first < text.size() && first < 32 && text[first] == ' ') ++first;
  LineStart start;
  if (first == 32) {
    first = 0;
  } else {
    start.indentation = static_cast<std::uint32_t>(first);
    start.comment_only = first + 1 < text.size() && text[first] == '-' && text[first + 1] == '-';
  }
  std::size_t end = start.comment_only ? first + 2 : first;
  for (; end < text.size(); ++end) {
    const auto c = static_cast<unsigned char>(text[end]);
    if (start.comment_only ? (c == '\n' || c == '\r') : (c < 32 || c == '-' || c == '"')) break;
  }
  start.end = end;
  return start;
}

TEST(WideLineSearch, AgreesWithAByteByByteReadingOfEveryLineShape) {
  if (!wide_line_search::usable) GTEST_SKIP() << "the machine has no 32-byte blocks";
  std::mt19937 random(20261210);
  // Spaces weigh most, so that indentation runs across the first block.
  const std::string bytes = "      aaaa--\"\n\r\t";
  for (int round = 0; round < 20000; ++round) {
    const std::size_t length = 32 + random() % 80;
    const std::size_t indentation = random() % 40;
    std::string text(length, 'a');
    for (std::size_t i = 0; i < length; ++i) text[i] = i < indentation ? ' ' : bytes[random() % bytes.size()];
    if (random() % 2 == 0 && indentation + 1 < length) text[indentation] = text[indentation + 1] = '-';
    const auto copy = std::make_unique<char[]>(length);
    text.copy(copy.get(), length);
    const LineStart got = wide_line_search::line_start(copy.get(), length);
    const LineStart want = expected_start(text);
    ASSERT_EQ(got.comment_only, want.comment_only) << text;
    ASSERT_EQ(got.indentation, want.indentation) << text;
    ASSERT_EQ(got.end, want.end) << text;
  }
}

}  // namespace
}  // namespace flawseek
