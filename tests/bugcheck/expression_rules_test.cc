// The expression rules across files: a file abandoned half-way inside an if
// statement, a tracked statement and an open list leaves nothing that
// changes the findings of the next file checked by the same checker.
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

UnitFile in_memory(std::string name, std::string text) { return {std::move(name), true, std::move(text)}; }

// Stops inside `if P = null then`, in an assignment whose condition compared
// P with null, two lists deep after a bare 'Size.
const UnitFile abandoned = in_memory("broken.adb",
                                     "procedure Broken is\nbegin\n   if P = null then\n"
                                     "      B := P /= null and F (G (X'Size, +;\n");

// Each finding here depends on the state it starts with: a leaked level
// would report P.Len, leaked tracking would report the declaration, a
// leaked list nesting would hide the bare 'Size.
const UnitFile next_file = in_memory("next.adb",
                                     "procedure Next is\n   Y : Integer := P.Len;\nbegin\n"
                                     "   X := P.all + Y;\n   Move (A'Address, B'Address, A'Size);\nend Next;\n");

std::vector<RecordedFinding> findings_of(BugChecker& checker, const UnitFile& file) {
  RecordingSink sink;
  testing_support::check_unit(checker, sink, {file}, UnitSettings{});
  return sink.findings;
}

TEST(ExpressionRules, AnAbandonedFileLeavesNothingForTheNextFile) {
  BugChecker alone;
  alone.start(0);
  const std::vector<RecordedFinding> expected = findings_of(alone, next_file);
  ASSERT_EQ(expected.size(), 1u);
  EXPECT_EQ(expected[0].kind, FindingKind(BugKind::WRONG_GRANULARITY));
  EXPECT_EQ(expected[0].line, 5);

  BugChecker checker;
  checker.start(0);
  const std::vector<RecordedFinding> broken = findings_of(checker, abandoned);
  ASSERT_FALSE(broken.empty());
  EXPECT_EQ(broken.back().kind, FindingKind(BugKind::SYNTAX_ERROR));
  EXPECT_EQ(findings_of(checker, next_file), expected);
  // And the file after it as well, with the first file run again between.
  findings_of(checker, abandoned);
  EXPECT_EQ(findings_of(checker, next_file), expected);
}

// More elsif parts than there are condition levels: the last level is
// reused, END IF still closes them all, and the rules go on as before.
TEST(ExpressionRules, AnElsifChainBeyondTheLevelBoundClosesWhole) {
  std::string text = "procedure Chain is\nbegin\n   if P = null then\n      null;\n";
  for (int i = 0; i < 320; ++i) text += "   elsif Q = null then\n      null;\n";
  text += "   else\n      X := P.all;\n      X := Q.all;\n   end if;\n";  // lines 646, 647
  text += "   X := P.all;\n   if P = null then\n      X := P.all;\n   end if;\nend Chain;\n";
  BugChecker checker;
  checker.start(0);
  std::vector<std::int32_t> lines;
  for (const RecordedFinding& finding : findings_of(checker, in_memory("chain.adb", text))) {
    if (finding.kind == FindingKind(BugKind::NULL_POINTER)) lines.push_back(finding.line);
  }
  EXPECT_EQ(lines, std::vector<std::int32_t>({651}));
}

}  // namespace
}  // namespace flawseek
