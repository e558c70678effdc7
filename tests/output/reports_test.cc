// The comma-delimited and plain-text reports, the format a file name
// chooses, and saving the findings in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "../support/file_text.h"
#include "../support/sample_findings.h"
#include "../support/temporary_directory.h"
#include "build_info.h"
#include "findings/report_writers.h"
#include "output/csv_output.h"
#include "output/findings_output.h"
#include "output/output_format.h"
#include "output/text_output.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;

using testing::fill_sample_findings;
using testing::read_file;
using testing::TemporaryDirectory;

TEST(CsvReport, HeaderOrderFieldsAndMissingColumns) {
  FindingsList list;
  fill_sample_findings(list);
  std::ostringstream out;
  write_csv_report(list, out);
  EXPECT_EQ(out.str(),
            "Filename,Path,Reason,Line,Column\n"
            "pkg.adb,/home/me/src,Syntax Error, 3, 1\n"
            "pkg.adb,/home/me/src,Null Pointer, 12, 5\n"
            "pkg.adb,/home/me/src,Null Pointer, 20\n"
            "PKG.adb,/home/me/src,Null Pointer, 1, 1\n"
            "pkg.adb,/home/me/src,Style: Line Too Long, 7, 400\n"
            "other.ads,/home/me/src,Style: No Style Checks, 0\n");
}

TEST(CsvReport, EmptyWhenThereAreNoFindings) {
  FindingsList list;
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");  // dropped: not listed
  std::ostringstream out;
  write_csv_report(list, out);
  EXPECT_EQ(out.str(), "");
}

TEST(CsvReport, PathWithoutSlashGivesEmptyDirectory) {
  FindingsList list;
  list.set_current_file("pkg.adb");
  list.report_bug(BugKind::NULL_POINTER, 3, no_column, "");
  list.report_bug(BugKind::NULL_POINTER, -2, 4, "");
  std::ostringstream out;
  write_csv_report(list, out);
  EXPECT_EQ(out.str(), "Filename,Path,Reason,Line,Column\npkg.adb,,Null Pointer, 3\npkg.adb,,Null Pointer,-2, 4\n");
}

TEST(CsvReport, QuotesOnlyFieldsThatNeedIt) {
  EXPECT_EQ(csv_field("plain name.adb"), "plain name.adb");
  EXPECT_EQ(csv_field("a,b.adb"), "\"a,b.adb\"");
  EXPECT_EQ(csv_field("say \"hi\".adb"), "\"say \"\"hi\"\".adb\"");
  EXPECT_EQ(csv_field("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(csv_field("cr\rhere"), "\"cr\rhere\"");
  EXPECT_EQ(csv_field(""), "");

  FindingsList list;
  list.set_current_file("/data/q,1/x\"y.adb");
  list.report_bug(BugKind::UNUSED_UNIT, 1, 1, "");
  std::ostringstream out;
  write_csv_report(list, out);
  EXPECT_EQ(out.str(), "Filename,Path,Reason,Line,Column\n\"x\"\"y.adb\",\"/data/q,1\",Unused Unit, 1, 1\n");
}

TEST(TextReport, LayoutByKindAndFile) {
  FindingsList list;
  fill_sample_findings(list);
  std::ostringstream out;
  write_text_report(list, out);
  EXPECT_EQ(out.str(),
            "\nSyntax Error\n\n"
            "    /home/me/src/pkg.adb\n"
            "        At line 3 at position 1\n"
            "\nNull Pointer\n\n"
            "    /home/me/src/pkg.adb\n"
            "        At line 12 at position 5\n"
            "            Put (P.all);\n"
            "        At line 20\n"
            "    /home/me/src/PKG.adb\n"
            "        At line 1 at position 1\n"
            "\nStyle violations\n"
            "\nLine Too Long\n\n"
            "    /home/me/src/pkg.adb\n"
            "        At line 7 at position 400\n"
            "\nNo Style Checks\n\n"
            "    /home/me/src/other.ads\n"
            "        At line 0\n");
}

TEST(TextReport, FileLineRepeatsWhenTheFileComesBack) {
  FindingsList list;
  list.set_current_file("a.adb");
  list.report_bug(BugKind::UNUSED_DECLARATION, 1, 1, "");
  list.set_current_file("b.adb");
  list.report_bug(BugKind::UNUSED_DECLARATION, 2, 1, "");
  list.set_current_file("a.adb");
  list.report_bug(BugKind::UNUSED_DECLARATION, 3, 1, "");
  list.report_bug(BugKind::UNUSED_DECLARATION, 4, 1, "");
  std::ostringstream out;
  write_text_report(list, out);
  EXPECT_EQ(out.str(),
            "\nUnused Declaration\n\n    a.adb\n        At line 1 at position 1\n"
            "    b.adb\n        At line 2 at position 1\n"
            "    a.adb\n        At line 3 at position 1\n        At line 4 at position 1\n");
}

TEST(TextReport, HeaderHasThreeLinesAndAnEmptyBodyForNoFindings) {
  FindingsList list;
  std::ostringstream out;
  write_text_report_header(out, "12/08/26 21:00:00");
  write_text_report(list, out);
  EXPECT_EQ(out.str(), std::string("Report created on 12/08/26 21:00:00 by Flawseek version ") +
                           build_info::product_version + "\n" + build_info::legal_copyright + "\n\n");
}

TEST(ReportChoice, TheExtensionNamesTheFormatInAnyCase) {
  EXPECT_EQ(report_format_for("report.csv"), OutputFormat::Csv);
  EXPECT_EQ(report_format_for("/tmp/out/report.CSV"), OutputFormat::Csv);
  EXPECT_EQ(report_format_for("r.CsV"), OutputFormat::Csv);
  EXPECT_EQ(report_format_for("out/findings.SARIF"), OutputFormat::Sarif);
  EXPECT_EQ(report_format_for("findings.json"), OutputFormat::Json);
  // Anything else is the plain-text report.
  for (const char* name : {"report.csv.txt", "findings.csv.txt", "report.txt", "csv", "/tmp/dir.csv/report",
                           "report.csvx", "dir.json/findings"}) {
    EXPECT_EQ(report_format_for(name), OutputFormat::Text) << name;
  }
  // Only a known extension names a format; the window then goes by the file type.
  EXPECT_EQ(report_format_named_by("saved.TXT"), OutputFormat::Text);
  for (const char* name : {"saved", "saved.tar", "dir.json/saved", "json"}) {
    EXPECT_EQ(report_format_named_by(name), std::nullopt) << name;
  }
}

// A stream buffer that refuses every byte, like a full disk.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ReportWriteFailure, FailingStreamIsReportedNotIgnored) {
  FindingsList list;
  fill_sample_findings(list);
  RefusingBuffer refusing;
  std::ostream out(&refusing);
  EXPECT_THROW(write_csv_report(list, out), ReportWriteError);
  std::ostream out2(&refusing);
  EXPECT_THROW(write_text_report(list, out2), ReportWriteError);
  std::ostream out3(&refusing);
  EXPECT_THROW(write_text_report_header(out3, "now"), ReportWriteError);
}

TEST(SaveFindings, WritesTheFormatChosenByTheName) {
  TemporaryDirectory dir("report");
  FindingsList list;
  fill_sample_findings(list);
  const OutputSettings settings;
  save_findings(report_format_for("r.CSV"), list, dir.path() / "r.CSV", "today", settings);
  save_findings(report_format_for("r.txt"), list, dir.path() / "r.txt", "today", settings);
  std::string csv = read_file(dir.path() / "r.CSV");
  std::string text = read_file(dir.path() / "r.txt");
  EXPECT_EQ(csv.rfind("Filename,Path,Reason,Line,Column\n", 0), 0u);
  EXPECT_EQ(text.rfind("Report created on today by Flawseek version ", 0), 0u);
  EXPECT_NE(text.find("\nNull Pointer\n"), std::string::npos);
  // Nothing is left beside the reports.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace flawseek
