// Case-blind comparison of Latin-1 text: which bytes pair up as one letter in
// two cases, and which stand alone.
#include "platform/latin1.h"

#include <gtest/gtest.h>

#include <string>

namespace flawseek {
namespace {

TEST(Latin1EqualIgnoringCase, PairsEachLetterWithItsOtherCaseOnly) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const char left = static_cast<char>(a);
      const char right = static_cast<char>(b);
      // The two case mappings must agree on what is the same letter.
      const bool same_upper = latin1::to_upper(static_cast<unsigned char>(a)) ==
                              latin1::to_upper(static_cast<unsigned char>(b));
      EXPECT_EQ(latin1::equal_ignoring_case({&left, 1}, {&right, 1}), same_upper) << a << " " << b;
    }
  }
}

TEST(Latin1EqualIgnoringCase, ComparesWholeTexts) {
  EXPECT_TRUE(latin1::equal_ignoring_case("Ada.Text_IO", "ADA.TEXT_io"));
  EXPECT_TRUE(latin1::equal_ignoring_case("\xC9t\xE9", "\xE9T\xC9"));  // Été, éTÉ
  EXPECT_TRUE(latin1::equal_ignoring_case("", ""));
  EXPECT_FALSE(latin1::equal_ignoring_case("Text_IO", "Text_I"));
  EXPECT_FALSE(latin1::equal_ignoring_case("Text_IO", "Text_IP"));
  // Multiplication and division signs sit among the letters but are not letters.
  EXPECT_FALSE(latin1::equal_ignoring_case("\xD7", "\xF7"));
  // Sharp s and y with diaeresis have no partner in Latin-1.
  EXPECT_FALSE(latin1::equal_ignoring_case("\xDF", "\xFF"));
  EXPECT_FALSE(latin1::equal_ignoring_case("\xFF", "Y"));
  // Bytes after a NUL still count.
  EXPECT_FALSE(latin1::equal_ignoring_case(std::string("a\0b", 3), std::string("a\0c", 3)));
}

}  // namespace
}  // namespace flawseek
