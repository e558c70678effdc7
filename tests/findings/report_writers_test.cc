// The comma-delimited and plain-text reports, the choice between them, and
// failures while writing.
#include "findings/report_writers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "../support/fake_disk.h"
#include "../support/file_text.h"
#include "../support/temporary_directory.h"
#include "build_info.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;

using testing::read_file;
using testing::TemporaryDirectory;

// A small but complete search result: style kinds reported before bug kinds,
// and kinds out of their report order, to show the writers impose the order.
void fill(FindingsList& list) {
  list.toggle_list_unchecked_style();
  list.set_current_file("/home/me/src/pkg.adb");
  list.report_style(StyleKind::LINE_TOO_LONG, 7, 400, "");
  list.report_bug(BugKind::NULL_POINTER, 12, 5, "  Put (P.all);");
  list.report_bug(BugKind::NULL_POINTER, 20, no_column, "");
  list.report_bug(BugKind::SYNTAX_ERROR, 3, 1, "");
  list.set_current_file("/home/me/src/PKG.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 1, "");
  list.set_current_file("/home/me/src/other.ads");
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
}

TEST(CsvReport, HeaderOrderFieldsAndMissingColumns) {
  FindingsList list;
  fill(list);
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
  fill(list);
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

TEST(ReportChoice, CsvOnlyForTheCsvExtensionInAnyCase) {
  EXPECT_TRUE(is_csv_report_name("report.csv"));
  EXPECT_TRUE(is_csv_report_name("/tmp/out/report.CSV"));
  EXPECT_TRUE(is_csv_report_name("r.CsV"));
  EXPECT_FALSE(is_csv_report_name("report.csv.txt"));
  EXPECT_FALSE(is_csv_report_name("report.txt"));
  EXPECT_FALSE(is_csv_report_name("csv"));
  EXPECT_FALSE(is_csv_report_name("/tmp/dir.csv/report"));
  EXPECT_FALSE(is_csv_report_name("report.csvx"));
}

// A stream buffer that refuses every byte, like a full disk.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ReportWriteFailure, FailingStreamIsReportedNotIgnored) {
  FindingsList list;
  fill(list);
  RefusingBuffer refusing;
  std::ostream out(&refusing);
  EXPECT_THROW(write_csv_report(list, out), ReportWriteError);
  std::ostream out2(&refusing);
  EXPECT_THROW(write_text_report(list, out2), ReportWriteError);
  std::ostream out3(&refusing);
  EXPECT_THROW(write_text_report_header(out3, "now"), ReportWriteError);
}

TEST(SaveReport, WritesTheFormatChosenByTheName) {
  TemporaryDirectory dir("report");
  FindingsList list;
  fill(list);
  save_report(list, dir.path() / "r.CSV", "today");
  save_report(list, dir.path() / "r.txt", "today");
  std::string csv = read_file(dir.path() / "r.CSV");
  std::string text = read_file(dir.path() / "r.txt");
  EXPECT_EQ(csv.rfind("Filename,Path,Reason,Line,Column\n", 0), 0u);
  EXPECT_EQ(text.rfind("Report created on today by Flawseek version ", 0), 0u);
  EXPECT_NE(text.find("\nNull Pointer\n"), std::string::npos);
  // Nothing is left beside the reports.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(SaveReport, ReplacesAnExistingFileAndKeepsItsMode) {
  TemporaryDirectory dir("report");
  fs::path path = dir.path() / "r.csv";
  std::ofstream(path) << "old content that is much longer than the new report ...............\n";
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  FindingsList list;
  list.set_current_file("/a/b.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 2, "");
  save_report(list, path, "");
  EXPECT_EQ(read_file(path), "Filename,Path,Reason,Line,Column\nb.adb,/a,Null Pointer, 1, 2\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A link planted where the report goes must not choose which file is
// replaced: a link to a file, or to nothing, is refused and both stay.
TEST(SaveReport, ALinkToAFileIsRefusedAndNeitherItNorItsTargetChanges) {
  TemporaryDirectory dir("report");
  fs::path target = dir.path() / "real.txt";
  std::ofstream(target) << "old";
  fs::create_symlink(target, dir.path() / "link.txt");
  fs::create_symlink(dir.path() / "nothing.txt", dir.path() / "dangling.txt");
  FindingsList list;
  for (const char* name : {"link.txt", "dangling.txt"}) {
    try {
      save_report(list, dir.path() / name, "then");
      ADD_FAILURE() << name << " was written";
    } catch (const ReportWriteError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot write the report " + (dir.path() / name).string() +
                                               ": it is a symbolic link (name the file itself)");
    }
    EXPECT_TRUE(fs::is_symlink(dir.path() / name));
  }
  EXPECT_EQ(read_file(target), "old");
  EXPECT_FALSE(fs::exists(dir.path() / "nothing.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(SaveReport, FullDeviceIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  FindingsList list;
  fill(list);
  try {
    save_report(list, "/dev/full", "now");
    FAIL() << "writing to /dev/full succeeded";
  } catch (const ReportWriteError& error) {
    EXPECT_NE(std::string(error.what()).find("/dev/full"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("No space left"), std::string::npos) << error.what();
  }
}

// A report the disk will not take (write protected, whoever runs the test;
// a full disk), or one whose writer fails, is an error naming the file and
// the reason, and the earlier report stays as it was.
TEST(SaveReport, AnUnwritableReportIsAnErrorAndTheOldReportStays) {
  const ReportWriter failing_writer = [](std::ostream&) { throw ReportWriteError("no more findings"); };
  const ReportWriter writer = [](std::ostream& out) { out << "new report"; };
  struct Case {
    int refused;  // the errno of the disk's refusal, or 0
    const ReportWriter& writer;
    const char* reason;
  };
  for (const Case& c : {Case{EACCES, writer, "Permission denied"}, Case{ENOSPC, writer, "No space left on device"},
                        Case{0, failing_writer, "Input/output error"}}) {
    testing::FakeDisk fake;
    fake.file("/r/r.txt", "previous report");
    if (c.refused != 0) fake.refuses_writes("/r/r.txt", c.refused);
    const ScopedDisk scoped(fake);
    try {
      save_written_report("/r/r.txt", c.writer);
      ADD_FAILURE() << "written despite " << c.reason;
    } catch (const ReportWriteError& failure) {
      EXPECT_EQ(std::string(failure.what()), std::string("Cannot write the report /r/r.txt: ") + c.reason);
    }
    EXPECT_EQ(fake.text_of("/r/r.txt"), "previous report") << c.reason;
  }
}

TEST(SaveReport, MissingDirectoryAndDirectoryTargetAreErrors) {
  TemporaryDirectory dir("report");
  FindingsList list;
  EXPECT_THROW(save_report(list, dir.path() / "no" / "such" / "r.txt", ""), ReportWriteError);
  EXPECT_THROW(save_report(list, dir.path(), ""), ReportWriteError);
}

}  // namespace
}  // namespace flawseek
