// The command line's own output pieces: GNU-style finding lines and the
// status line on a terminal.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "findings/findings_list.h"
#include "findings_output.h"
#include "terminal_status.h"

namespace flawseek {
namespace {

TEST(GnuFindings, OneLinePerFindingInReportOrder) {
  FindingsList findings;
  findings.set_list_unchecked_style_state(true, true);
  findings.set_current_file("/src/a.adb");
  findings.report_style(StyleKind::BAD_KEYWORD, 3, 1, "  BEGIN  ");
  findings.report_bug(BugKind::NULL_POINTER, 12, 5, "x := p.all;");
  findings.set_current_file("/src/b.adb");
  findings.report_bug(BugKind::SYNTAX_ERROR, 7, no_column, "");
  findings.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");

  std::ostringstream out;
  write_gnu_findings(findings, out);
  // Bug kinds first in their order, then style kinds; no column, no reason
  // and line 0 each leave their part out.
  EXPECT_EQ(out.str(),
            "/src/b.adb:7: Syntax Error\n"
            "/src/a.adb:12:5: Null Pointer: x := p.all;\n"
            "/src/a.adb:3:1: Style: Bad Keyword: BEGIN\n"
            "/src/b.adb:0: Style: No Style Checks\n");
}

TEST(GnuFindings, NothingFoundWritesNothing) {
  FindingsList findings;
  std::ostringstream out;
  write_gnu_findings(findings, out);
  EXPECT_EQ(out.str(), "");
}

TEST(TerminalStatus, ProgressOverwritesOneLineAndBlanksWhatALongerTextLeft) {
  std::ostringstream out;
  TerminalStatus status(out, /*show_progress=*/true, /*show_notes=*/true, std::chrono::milliseconds(0));
  status.show_status("Searching... 12 files processed.");
  status.show_status("Done");
  EXPECT_EQ(out.str(), "\rSearching... 12 files processed.\rDone" + std::string(28, ' ') + "\rDone");
  out.str("");
  status.show_note("Cannot read /x");
  EXPECT_EQ(out.str(), "\r    \rflawseek: Cannot read /x\n");
  out.str("");
  status.clear_progress();  // the note already left a clean line
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(status.last_status(), "Done");
}

TEST(TerminalStatus, ProgressIsDrawnAtMostOncePerInterval) {
  std::ostringstream out;
  TerminalStatus status(out, /*show_progress=*/true, /*show_notes=*/false, std::chrono::hours(1));
  status.show_status("Searching... 2 files processed.");
  status.show_status("Searching... 3 files processed.");
  EXPECT_EQ(out.str(), "\rSearching... 2 files processed.");
  // The text skipped is still the one the program reports at the end.
  EXPECT_EQ(status.last_status(), "Searching... 3 files processed.");
}

TEST(TerminalStatus, WithoutProgressOnlyTheLastTextIsKept) {
  std::ostringstream out;
  TerminalStatus status(out, /*show_progress=*/false, /*show_notes=*/false);
  status.show_status("Searching...");
  status.show_status(" 1 potential bug found in search of 1 file");
  status.show_note("ignored");
  status.clear_progress();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(status.last_status(), " 1 potential bug found in search of 1 file");
}

}  // namespace
}  // namespace flawseek
