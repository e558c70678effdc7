// Saving a report safely, and failures while writing it.
#include "findings/report_writers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "../support/fake_disk.h"
#include "../support/file_text.h"
#include "../support/sample_findings.h"
#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;

using testing::fill_sample_findings;
using testing::read_file;
using testing::TemporaryDirectory;

// A format of the test's own: the date, then each finding's file and line.
void write_lines(const FindingsList& list, std::string_view date_and_time, std::ostream& out) {
  out << "Report of " << date_and_time << '\n';
  for (int i = 0; i < FindingKind::count; ++i) {
    for (const Finding& finding : list.findings(FindingKind::from_index(i))) out << finding.file << ':' << finding.line << '\n';
  }
  check_report_stream(out);
}

// A stream buffer that refuses every byte, like a full disk.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ReportWriteFailure, AFailingStreamIsAnError) {
  RefusingBuffer refusing;
  std::ostream out(&refusing);
  out << "anything";
  EXPECT_THROW(check_report_stream(out), ReportWriteError);
  std::ostringstream fine;
  fine << "anything";
  EXPECT_NO_THROW(check_report_stream(fine));
}

TEST(SaveReport, WritesWhatTheFormatWritesAndLeavesNothingBeside) {
  TemporaryDirectory dir("report");
  FindingsList list;
  fill_sample_findings(list);
  save_report(list, dir.path() / "r.txt", "today", write_lines);
  EXPECT_EQ(read_file(dir.path() / "r.txt"),
            "Report of today\n/home/me/src/pkg.adb:3\n/home/me/src/pkg.adb:12\n/home/me/src/pkg.adb:20\n"
            "/home/me/src/PKG.adb:1\n/home/me/src/pkg.adb:7\n/home/me/src/other.ads:0\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SaveReport, ReplacesAnExistingFileAndKeepsItsMode) {
  TemporaryDirectory dir("report");
  fs::path path = dir.path() / "r.csv";
  std::ofstream(path) << "old content that is much longer than the new report ...............\n";
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  FindingsList list;
  list.set_current_file("/a/b.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 2, "");
  save_report(list, path, "", write_lines);
  EXPECT_EQ(read_file(path), "Report of \n/a/b.adb:1\n");
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
      save_report(list, dir.path() / name, "then", write_lines);
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
  fill_sample_findings(list);
  try {
    save_report(list, "/dev/full", "now", write_lines);
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
  EXPECT_THROW(save_report(list, dir.path() / "no" / "such" / "r.txt", "", write_lines), ReportWriteError);
  EXPECT_THROW(save_report(list, dir.path(), "", write_lines), ReportWriteError);
}

}  // namespace
}  // namespace flawseek
