// Labels name stored settings and report sections, so the labels of the style
// vocabulary and of odd literals are pinned here.
#include <gtest/gtest.h>

#include "platform/label.h"
#include "style/style_kind.h"

namespace flawseek {
namespace {

TEST(StyleLabels, KindsAndSetsReadAsWords) {
  EXPECT_EQ(label(image(StyleKind::CHARACTER_NOT_PORTABLE)), "Character Not Portable");
  EXPECT_EQ(label(image(StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION)), "Inconsistent Parameter Association");
  EXPECT_EQ(label(image(StyleKind::NOT_UPPERCASE)), "Not Uppercase");
  EXPECT_EQ(label(image(StyleKind::NO_STYLE_CHECKS)), "No Style Checks");
  EXPECT_EQ(label(image(StyleSet::USER_95)), "User 95");
  EXPECT_EQ(label(image(StyleSet::TAVIK_95)), "Tavik 95");
}

TEST(StyleLabels, OddLiterals) {
  // Leading and doubled underscores vanish; a trailing one stays as a blank.
  EXPECT_EQ(label("_A__B_"), "A B ");
  EXPECT_EQ(label("A1_B2"), "A1 B2");
  // The first letter of a word is upper case even after a digit.
  EXPECT_EQ(label("X_9LIVES"), "X 9Lives");
  EXPECT_EQ(label("__"), "");
  // Latin-1 letters change case too: "ÄRGER_ÜBER" -> "Ärger Über".
  EXPECT_EQ(label("\xC4RGER_\xDC" "BER"), "\xC4rger \xDC" "ber");
  EXPECT_EQ(label("stra\xDF" "e"), "Stra\xDF" "e");
}

TEST(StyleLabels, NumbersLoseTheirBlank) {
  EXPECT_EQ(label(std::int64_t{7}), "7");
  EXPECT_EQ(number_image(12), " 12");
  EXPECT_EQ(number_image(-3), "-3");
}

}  // namespace
}  // namespace flawseek
