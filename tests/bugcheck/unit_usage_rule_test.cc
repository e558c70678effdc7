// The unused-unit rule over several pairs checked by one checker: the units a
// file declares are kept in storage that outlives the file, and no unit of
// one file may be judged with another.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

using testing_support::RecordedFinding;
using testing_support::RecordingSink;
using testing_support::UnitFile;
using testing_support::UnitSettings;

std::vector<UnitFile> pair_of(const std::string& unit, const std::string& body_units) {
  return {{unit + ".ads", true, "package " + unit + " is\n   procedure Run;\nend " + unit + ";\n"},
          {unit + ".adb", true,
           "package body " + unit + " is\n" + body_units +
               "   procedure Run is\n   begin\n      null;\n   end Run;\nend " + unit + ";\n"}};
}

std::vector<RecordedFinding> unused_units(const RecordingSink& sink) {
  std::vector<RecordedFinding> found;
  for (const auto& finding : sink.findings) {
    if (finding.kind == FindingKind(BugKind::UNUSED_UNIT)) found.push_back(finding);
  }
  return found;
}

TEST(UnitUsageRule, EachPairJudgesOnlyTheUnitsItsOwnBodyDeclares) {
  RecordingSink sink;
  BugChecker checker;
  checker.start(0);
  const UnitSettings settings;
  const std::string long_named =
      "   procedure A_Rather_Long_Helper_Name is\n   begin\n      null;\n   end A_Rather_Long_Helper_Name;\n";
  const std::string short_named = "   procedure Q is\n   begin\n      null;\n   end Q;\n";

  testing_support::check_unit(checker, sink, pair_of("First", long_named + short_named), settings);
  auto found = unused_units(sink);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].line, 2);
  EXPECT_EQ(found[1].line, 6);

  // A body without units of its own: nothing of the first pair is left over.
  sink.findings.clear();
  testing_support::check_unit(checker, sink, pair_of("Second", ""), settings);
  EXPECT_TRUE(unused_units(sink).empty());

  // Fewer and shorter units than before, in the places the first pair's held.
  sink.findings.clear();
  testing_support::check_unit(checker, sink, pair_of("Third", short_named), settings);
  found = unused_units(sink);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].file, "Third.adb");
  EXPECT_EQ(found[0].line, 2);
  EXPECT_EQ(found[0].reason, "procedure Q is");
}

// A local unit's finding says it is never called; a with's keeps the kind's
// own words (no detail of its own), in the body and at the end of the pair.
TEST(UnitUsageRule, LocalUnitsAreNeverCalledWithsNeverUsed) {
  RecordingSink sink;
  BugChecker checker;
  checker.start(0);
  std::vector<UnitFile> files = pair_of("Words", "   procedure Q is\n   begin\n      null;\n   end Q;\n");
  files[0].text = "with Ada.Calendar;\n" + files[0].text;
  files[1].text = "with Ada.Text_IO;\n" + files[1].text;
  testing_support::check_unit(checker, sink, files, UnitSettings{});

  std::vector<std::pair<std::string, std::string>> found;  // the line's text, the detail
  for (std::size_t i = 0; i < sink.findings.size(); ++i) {
    if (sink.findings[i].kind != FindingKind(BugKind::UNUSED_UNIT)) continue;
    std::string detail;
    for (const auto& [position, text] : sink.details) {
      if (position == i) detail = text;
    }
    found.emplace_back(sink.findings[i].reason, detail);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"procedure Q is", "local unit is never called"}, {"with Ada.Text_IO;", ""}, {"with Ada.Calendar;", ""}};
  EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace flawseek
