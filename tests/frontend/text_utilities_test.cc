// Tests of the file-name and word helpers.
#include "frontend/text_utilities.h"

#include <gtest/gtest.h>

namespace flawseek {
namespace {

TEST(TextUtilities, FileNameParts) {
  const struct {
    const char* path;
    const char* base;
    const char* extension;
    const char* directory;
  } cases[] = {
      {"/src/pkg_.ada", "pkg_", "ada", "/src"},
      {"pkg.ads", "pkg", "ads", ""},
      {"/a/b/x-a-textio.adb", "x-a-textio", "adb", "/a/b"},
      {"a.b.c", "a.b", "c", ""},
      {"/dir.d/file", "file", "", "/dir.d"},
      {"/x/Main.ADB", "Main", "ADB", "/x"},
      {"name.", "name", "", ""},
      {"noext", "noext", "", ""},
      {"/dir/", "", "", "/dir"},
      {"/file", "file", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(base_name(c.path), c.base) << c.path;
    EXPECT_EQ(extension(c.path), c.extension) << c.path;
    EXPECT_EQ(directory(c.path), c.directory) << c.path;
  }
}

TEST(TextUtilities, LetterCaseTests) {
  EXPECT_TRUE(has_no_upper_case("abc_1 x"));
  EXPECT_FALSE(has_no_upper_case("aBc"));
  EXPECT_TRUE(has_no_upper_case(""));
  EXPECT_TRUE(has_no_upper_case("\xE9t\xE9"));   // été
  EXPECT_FALSE(has_no_upper_case("\xC9t\xE9"));  // Été
  EXPECT_TRUE(has_no_lower_case("ABC_1 X"));
  EXPECT_FALSE(has_no_lower_case("ABc"));
  EXPECT_FALSE(has_no_lower_case("STRA\xDF" "E"));  // ß has no upper-case partner but is lower case
  EXPECT_FALSE(has_no_lower_case("\xFF"));
  EXPECT_TRUE(has_no_lower_case("\xC9T\xC9 \xD7"));  // × is no letter
  EXPECT_TRUE(has_no_upper_case("123 _$"));
  EXPECT_TRUE(has_no_lower_case("123 _$"));
}

TEST(TextUtilities, SameNameFoldsLettersOnlyWhereverTheyStand) {
  EXPECT_TRUE(same_name("Ada.Strings.Unbounded", "ADA.STRINGS.UNBOUNDED"));
  EXPECT_TRUE(same_name("Ada.Strings.Unbounded", "Ada.Strings.Unbounded"));
  EXPECT_FALSE(same_name("Ada.Strings.Unbounded", "Ada.Strings.Unbounder"));
  EXPECT_FALSE(same_name("Ada.Strings", "Ada.String"));
  EXPECT_TRUE(same_name("Stra\xDF" "e_\xC9t\xE9", "STRA\xDF" "E_\xE9T\xC9"));  // ß has no partner
  // Bytes 0x20 apart that are no letters differ, in the first eight bytes
  // and after them.
  EXPECT_FALSE(same_name("@", "`"));
  EXPECT_FALSE(same_name("Abcdefgh@", "ABCDEFGH`"));
  EXPECT_FALSE(same_name("\xD7", "\xF7"));  // × and ÷
  EXPECT_TRUE(same_name("", ""));
}

TEST(TextUtilities, Words) {
  const struct {
    const char* text;
    const char* words;
  } cases[] = {
      {"WITH_CLAUSE", "With Clause"},
      {"NO_STYLE_CHECKS", "No Style Checks"},
      {"gnat_extensions", "Gnat Extensions"},
      {"__a__b__", "A B"},
      {"  many   blanks ", "Many Blanks"},
      {"TAVIK_95", "Tavik 95"},
      {"x1Y", "X1y"},
      {"\xC9T\xC9_\xE9t\xE9", "\xC9t\xE9 \xC9t\xE9"},
      {"", ""},
      {"___", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(words(c.text), c.words) << c.text;
}

}  // namespace
}  // namespace flawseek
