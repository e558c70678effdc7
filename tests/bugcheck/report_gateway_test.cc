// The reporting gateway: marks take the first matching finding, counted
// findings stop the check at the limit, and uncounted reports pass untouched.
#include "bugcheck/report_gateway.h"

#include <gtest/gtest.h>

#include "bugcheck/stop_request.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

using testing_support::RecordingSink;

TEST(ReportGateway, AMarkTakesOneFindingOfItsKindOnItsLine) {
  RecordingSink sink;
  ReportGateway gateway(sink);
  gateway.marks().append({BugKind::NULL_POINTER, 10});
  gateway.marks().append({BugKind::NULL_POINTER, 10});
  gateway.marks().append({BugKind::CODE_NOT_REACHABLE, 12});

  gateway.report_bug(BugKind::NULL_POINTER, 11, 1, "other line");
  gateway.report_bug(BugKind::CODE_NOT_REACHABLE, 10, 1, "other kind");
  gateway.report_bug(BugKind::NULL_POINTER, 10, 4, "taken");
  gateway.report_bug(BugKind::NULL_POINTER, 10, 8, "taken too");
  gateway.report_bug(BugKind::NULL_POINTER, 10, 9, "no mark left");

  ASSERT_EQ(sink.findings.size(), 3u);
  EXPECT_EQ(sink.findings[0].reason, "other line");
  EXPECT_EQ(sink.findings[1].reason, "other kind");
  EXPECT_EQ(sink.findings[2].reason, "no mark left");
  ASSERT_EQ(gateway.marks().length(), 1);
  EXPECT_EQ(gateway.marks().begin()->kind, BugKind::CODE_NOT_REACHABLE);
  // Taken findings are not counted.
  EXPECT_EQ(gateway.finding_count(), 3);
}

TEST(ReportGateway, ATakenFindingIsHandedOnAsSuppressedAndKeepsNoDetail) {
  RecordingSink sink;
  ReportGateway gateway(sink);
  gateway.marks().append({BugKind::CODE_NOT_REACHABLE, 4});
  gateway.report_bug(BugKind::SYNTAX_ERROR, 2, 3, "if then", "then expected");
  // A detail of a taken finding must not land on the finding filed before it.
  gateway.report_bug(BugKind::CODE_NOT_REACHABLE, 4, 1, "X := 0;", "never shown");
  gateway.report_bug(BugKind::NULL_POINTER, 5, 1, "Y := P.all;");

  ASSERT_EQ(sink.findings.size(), 2u);
  EXPECT_EQ(sink.details, (std::vector<std::pair<std::size_t, std::string>>{{0, "then expected"}}));
  ASSERT_EQ(sink.suppressed.size(), 1u);
  EXPECT_EQ(sink.suppressed[0].kind, FindingKind(BugKind::CODE_NOT_REACHABLE));
  EXPECT_EQ(sink.suppressed[0].line, 4);
  EXPECT_EQ(sink.suppressed[0].reason, "X := 0;");
  EXPECT_EQ(gateway.finding_count(), 2);
}

TEST(ReportGateway, StyleFindingsAreCountedButNeverTakenByMarks) {
  RecordingSink sink;
  ReportGateway gateway(sink);
  gateway.marks().append({BugKind::NULL_POINTER, 5});
  gateway.report_style(StyleKind::BAD_KEYWORD, 5, 3, "text");
  EXPECT_EQ(sink.findings.size(), 1u);
  EXPECT_EQ(gateway.marks().length(), 1);
  EXPECT_EQ(gateway.finding_count(), 1);
}

TEST(ReportGateway, TheFindingThatReachesTheLimitIsFiledThenStops) {
  RecordingSink sink;
  ReportGateway gateway(sink);
  gateway.start(3);
  gateway.report_bug(BugKind::SYNTAX_ERROR, 1, 1, {});
  gateway.report_style(StyleKind::WRONG_MODE, 2, 1, {});
  try {
    gateway.report_bug(BugKind::CODE_NOT_REACHABLE, 3, 1, {});
    FAIL() << "no stop request at the limit";
  } catch (const StopRequest& stop) {
    EXPECT_STREQ(stop.what(), "DEFECT_SCAN.NQS.STOP");
  }
  EXPECT_EQ(sink.findings.size(), 3u);
  EXPECT_EQ(gateway.finding_count(), 3);
}

TEST(ReportGateway, ALimitOfZeroOrLessNeverStops) {
  for (const std::int32_t limit : {0, -1}) {
    RecordingSink sink;
    ReportGateway gateway(sink);
    gateway.start(limit);
    for (int i = 0; i < 1000; ++i) gateway.report_bug(BugKind::NULL_POINTER, i, 1, {});
    EXPECT_EQ(gateway.finding_count(), 1000);
  }
}

TEST(ReportGateway, StartResetsTheCount) {
  RecordingSink sink;
  ReportGateway gateway(sink);
  gateway.start(2);
  gateway.report_bug(BugKind::NULL_POINTER, 1, 1, {});
  gateway.start(2);
  EXPECT_NO_THROW(gateway.report_bug(BugKind::NULL_POINTER, 1, 1, {}));
  EXPECT_THROW(gateway.report_bug(BugKind::NULL_POINTER, 1, 1, {}), StopRequest);
}

TEST(ReportGateway, UncountedReportsPassWithoutMarksOrLimit) {
  RecordingSink sink(/*keep_unchecked=*/true);
  ReportGateway gateway(sink);
  gateway.start(1);
  gateway.marks().append({BugKind::INTERNAL_ERROR, 4});
  gateway.report_uncounted_bug(BugKind::INTERNAL_ERROR, 4, no_column, {});
  gateway.report_uncounted_style(StyleKind::LINE_TOO_LONG, 4, 400, "x");
  gateway.report_uncounted_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, {});
  EXPECT_EQ(sink.findings.size(), 3u);
  EXPECT_EQ(gateway.finding_count(), 0);
  EXPECT_EQ(gateway.marks().length(), 1);
}

TEST(ReportGateway, UnusedMarksAreReportedInOrderOnlyWhenAskedAndStayUntilCleared) {
  RecordingSink sink;
  ReportGateway gateway(sink);
  gateway.start(1);
  gateway.marks().append({BugKind::UNUSED_UNIT, 9, 12});
  gateway.marks().append({BugKind::NULL_POINTER, 2, 1});

  gateway.report_unused_marks();
  EXPECT_TRUE(sink.findings.empty());

  gateway.set_report_superfluous_marks(true);
  gateway.report_unused_marks();  // never counted, so the limit of 1 is not met
  ASSERT_EQ(sink.findings.size(), 2u);
  EXPECT_EQ(sink.findings[0].line, 9);
  EXPECT_EQ(sink.findings[0].column, 12);  // at the mark's "-->"
  EXPECT_EQ(sink.findings[1].line, 2);
  EXPECT_EQ(sink.findings[1].column, 1);
  for (const auto& f : sink.findings) {
    EXPECT_EQ(f.kind, FindingKind(StyleKind::SUPERFLUOUS_CODE_MARK));
    EXPECT_EQ(f.reason, "");
  }
  EXPECT_EQ(gateway.marks().length(), 2);
  gateway.clear_marks();
  gateway.report_unused_marks();
  EXPECT_EQ(sink.findings.size(), 2u);
}

}  // namespace
}  // namespace flawseek
