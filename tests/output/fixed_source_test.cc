// A finding's mend read back from its words, and a text mended only where
// its tokens stay the same but for the mended words.
#include "output/fixed_source.h"

#include <gtest/gtest.h>

#include <vector>

#include "output/source_fix.h"

namespace flawseek {
namespace {

TEST(SourceFix, ReadsTheMendFromTheWordsOfFixableKindsOnly) {
  const SharedPath file("p.adb");
  const auto record = [&file](FindingKind kind, std::string_view detail) {
    return FindingRecord{kind, &file, 3, 5, "source", detail};
  };
  struct Case {
    FindingKind kind;
    std::string_view detail;
    std::optional<SourceFix> expected;
  };
  const Case cases[] = {
      {StyleKind::BAD_KEYWORD, "reserved word `BEGIN` must be `begin`", SourceFix{3, 5, "BEGIN", "begin"}},
      {StyleKind::NOT_UPPERCASE, "name `Integer` must be `INTEGER` (upper case)", SourceFix{3, 5, "Integer", "INTEGER"}},
      {StyleKind::INCONSISTENT_PACKAGE_NAME, "package name `TEXT` must be `Text`", SourceFix{3, 5, "TEXT", "Text"}},
      {StyleKind::IDENTIFIER_MISSING, "end must be followed by `Pkg.Child`", SourceFix{3, 5, "", " Pkg.Child"}},
      // Words that do not say a respelling of the same letters ask for no mend.
      {StyleKind::BAD_IDENTIFIER, "identifier `Foo` must be `Bar`", std::nullopt},
      {StyleKind::BAD_IDENTIFIER, "", std::nullopt},
      {StyleKind::BAD_PREFIX, "constant `Max` needs the prefix C_", std::nullopt},
      {BugKind::SYNTAX_ERROR, "reserved word `BEGIN` must be `begin`", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(source_fix(record(c.kind, c.detail)), c.expected) << c.detail;
  }
  FindingRecord suppressed = record(StyleKind::BAD_KEYWORD, cases[0].detail);
  suppressed.suppressed = true;
  EXPECT_EQ(source_fix(suppressed), std::nullopt);
}

TEST(ApplyFixes, MendsOnlyWhereTheTokensStayTheSame) {
  const std::string text =
      "PROCEDURE P IS\n"
      "   S : constant String := \"BEGIN\";  -- BEGIN\n"
      "BEGIN\n"
      "   null;\n"
      "end;\n";
  struct Case {
    const char* what;
    std::vector<SourceFix> fixes;
    std::vector<FixState> states;
    std::string mended;  // empty when nothing is applied
  };
  const Case cases[] = {
      {"respellings and an end name",
       {{1, 1, "PROCEDURE", "procedure"}, {1, 13, "IS", "is"}, {3, 1, "BEGIN", "begin"}, {5, 4, "", " P"}},
       {FixState::Applied, FixState::Applied, FixState::Applied, FixState::Applied},
       "procedure P is\n   S : constant String := \"BEGIN\";  -- BEGIN\nbegin\n   null;\nend P;\n"},
      {"the same fix twice goes in once",
       {{3, 1, "BEGIN", "begin"}, {3, 1, "BEGIN", "begin"}},
       {FixState::Applied, FixState::Applied},
       "PROCEDURE P IS\n   S : constant String := \"BEGIN\";  -- BEGIN\nbegin\n   null;\nend;\n"},
      {"two results for one word: neither",
       {{3, 1, "BEGIN", "begin"}, {3, 1, "BEGIN", "Begin"}, {1, 13, "IS", "is"}},
       {FixState::Conflict, FixState::Conflict, FixState::Applied},
       "PROCEDURE P is\n   S : constant String := \"BEGIN\";  -- BEGIN\nBEGIN\n   null;\nend;\n"},
      {"a text that no longer reads so, part of a word, a line past the end",
       {{3, 1, "BEGAN", "began"}, {1, 2, "ROCEDURE", "rocedure"}, {9, 1, "X", "x"}},
       {FixState::Stale, FixState::Stale, FixState::Stale},
       ""},
      {"a word inside a string literal refuses the whole file",
       {{3, 1, "BEGIN", "begin"}, {2, 28, "BEGIN", "begin"}},
       {FixState::Refused, FixState::Refused},
       ""},
      {"a word inside a comment",
       {{2, 40, "BEGIN", "begin"}},
       {FixState::Refused},
       ""},
      {"other letters than the word's",
       {{3, 1, "BEGIN", "BEGUN"}},
       {FixState::Refused},
       ""},
      {"an insertion that is no name",
       {{5, 4, "", " P;"}},
       {FixState::Refused},
       ""},
  };
  for (const Case& c : cases) {
    const FixedSource fixed = apply_fixes(text, c.fixes);
    EXPECT_EQ(fixed.states, c.states) << c.what;
    EXPECT_EQ(fixed.text, c.mended) << c.what;
    const bool refused = !c.states.empty() && c.states.front() == FixState::Refused;
    EXPECT_EQ(fixed.refusal.empty(), !refused) << c.what << ": " << fixed.refusal;
  }
  EXPECT_EQ(apply_fixes(text, std::vector<SourceFix>{{2, 28, "BEGIN", "begin"}}).refusal,
            "the fixes would change the tokens at line 2");
  // Character literals after WHEN are no attribute ticks, whatever they hold.
  const std::string literals = "when ''' => Ct := X'First; when '\"' => Ct := 1;\n";
  EXPECT_EQ(apply_fixes(literals, std::vector<SourceFix>{{1, 13, "Ct", "CT"}, {1, 40, "Ct", "CT"}}).text,
            "when ''' => CT := X'First; when '\"' => CT := 1;\n");
}

}  // namespace
}  // namespace flawseek
