// The words of a file's style command and the rules they install.
#include "style/style_command.h"

#include <gtest/gtest.h>

namespace flawseek {
namespace {

TEST(StyleCommandWords, AreTheLiteralsWithoutTheirPrefix) {
  EXPECT_EQ(command_word(StyleKeyword::KEYWORD_STYLE), "STYLE");
  EXPECT_EQ(command_word(StyleKeyword::KEYWORD_TAVIK_95), "TAVIK_95");
  EXPECT_EQ(command_word(StyleKeyword::KEYWORD_BRIGHTMOOR), "BRIGHTMOOR");
}

TEST(StyleCommandWords, MatchInAnyLetterCaseButWhole) {
  EXPECT_EQ(find_style_keyword("style"), StyleKeyword::KEYWORD_STYLE);
  EXPECT_EQ(find_style_keyword("Tavik_95"), StyleKeyword::KEYWORD_TAVIK_95);
  EXPECT_EQ(find_style_keyword("TAVIK"), StyleKeyword::KEYWORD_TAVIK);
  EXPECT_FALSE(find_style_keyword("TAVIK_9"));
  EXPECT_FALSE(find_style_keyword("TAVIKS"));
  EXPECT_FALSE(find_style_keyword(""));
  EXPECT_FALSE(find_style_keyword("KEYWORD_TAVIK"));
}

TEST(InstalledStyleRules, EachSetWordInstallsItsBook) {
  EXPECT_EQ(installed_style_rules("TAVIK"), tavik_style_rules);
  EXPECT_EQ(installed_style_rules("tavik_95"), tavik_95_style_rules);
  EXPECT_EQ(installed_style_rules("NONE"), default_style_rules);
  const auto brightmoor = installed_style_rules("Brightmoor");
  ASSERT_TRUE(brightmoor);
  EXPECT_EQ(brightmoor->max_line_length, 120);
  EXPECT_EQ(brightmoor->pragma_case, CaseConvention::Mixed);
}

TEST(InstalledStyleRules, OtherWordsChangeNothing) {
  EXPECT_FALSE(installed_style_rules("FOO"));
  EXPECT_FALSE(installed_style_rules("STYLE"));
  EXPECT_FALSE(installed_style_rules("USER"));
  EXPECT_FALSE(installed_style_rules("TAVIK:"));
}

}  // namespace
}  // namespace flawseek
