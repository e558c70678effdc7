// The text of a style finding about a word read long before the rule could
// judge it (a type's name, judged after a long definition) is the word's own
// line, not the line that has taken its place among the last lines kept.
#include <gtest/gtest.h>

#include <string>

#include "bugcheck/bug_checker.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

TEST(StyleFindingText, ADeclaredNameJudgedManyLinesLaterQuotesItsOwnLine) {
  std::string source = "package Long_Types is\n   type Wide_Record is record\n";
  for (int i = 0; i < 14; ++i) source += "      F" + std::to_string(i) + " : INTEGER;\n";
  source += "   end record;\nend Long_Types;\n";
  testing_support::RecordingSink sink(false);
  BugChecker checker;
  checker.start(0);
  testing_support::UnitSettings settings;
  settings.scan.style_rules = tavik_style_rules;
  testing_support::check_unit(checker, sink, {{"long_types.ads", true, source}}, settings);
  ASSERT_EQ(sink.findings.size(), 1U);
  const auto& finding = sink.findings.front();
  EXPECT_EQ(finding.kind, FindingKind(StyleKind::BAD_PREFIX));
  EXPECT_EQ(finding.line, 2);
  EXPECT_EQ(finding.column, 9);
  EXPECT_NE(finding.reason.find("type Wide_Record is record"), std::string::npos) << finding.reason;
}

}  // namespace
}  // namespace flawseek
