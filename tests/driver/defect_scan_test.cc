// The per-file driver: where the steps of a file and of a pair file their
// reports, what each failure leaves behind, unchecked files, the unit
// survey's place, and the log records.
#include "driver/defect_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "driver/job.h"
#include "stylecheck/unit_survey/unit_survey.h"
#include "driver/source_walk.h"
#include "../support/fake_disk.h"
#include "fake_defect_checker.h"
#include "findings/findings_list.h"
#include "walk_test_support.h"

namespace flawseek {
namespace {

using testing::FakeDefectChecker;
using testing::ScriptedFile;
using testing::ScriptedUnitSurvey;
using Lines = std::vector<std::string>;

bool contains(const Lines& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

class DefectScanTest : public ::testing::Test {
 protected:
  DefectScan make_scan(ScanSettings settings = {}) { return DefectScan(checker_, survey_, settings); }

  // Applies a result as the search run does, keeping its log records.
  void apply(ScanResult& result) {
    findings_.apply(result.findings);
    log_.insert(log_.end(), result.log_records.begin(), result.log_records.end());
    result.clear();
  }
  const FindingsList::Findings& internal_errors() const { return findings_.findings(BugKind::INTERNAL_ERROR); }

  FakeDefectChecker checker_;
  ScriptedUnitSurvey survey_;
  EmptyUnitSurvey empty_survey_;
  FindingsList findings_;
  ScanResult result_;
  Lines log_;
};

TEST_F(DefectScanTest, APairFilesTheReportsOfEachStepUnderTheFileTheyBelongTo) {
  checker_.steps_report = true;
  checker_.files["/t/p.ads"].bugs = {{BugKind::NULL_POINTER, 4}};
  checker_.files["/t/p.adb"].bugs = {{BugKind::NULL_POINTER, 7}};
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  apply(result_);

  EXPECT_EQ(log_, (Lines{"Start", "Check: /t/p.ads & /t/p.adb"}));
  EXPECT_EQ(checker_.units, (Lines{"/t/p.ads"}));
  EXPECT_EQ(checker_.checked, (Lines{"/t/p.ads", "/t/p.adb"}));
  ASSERT_EQ(checker_.modes.size(), 2u);
  EXPECT_EQ(checker_.modes[0].role, FileRole::PAIR_SPECIFICATION);
  EXPECT_EQ(checker_.modes[1].role, FileRole::PAIR_BODY);
  EXPECT_EQ(checker_.open_files, 0);
  const auto& found = findings_.findings(BugKind::NULL_POINTER);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].file, "/t/p.ads");
  EXPECT_EQ(found[1].file, "/t/p.adb");
  // The bookkeeping between the files belongs to the file just checked; the
  // end-of-pair reports are attributed to the specification.
  EXPECT_EQ(findings_.findings(testing::step_kind),
            (FindingsList::Findings{{"/t/p.ads", 0, no_column, "after specification"},
                                    {"/t/p.adb", 0, no_column, "after body"},
                                    {"/t/p.ads", 0, no_column, "after pair"},
                                    {"/t/p.ads", 0, no_column, "unused marks"}}));
  EXPECT_EQ(findings_.current_file(), "/t/p.ads");
}

TEST_F(DefectScanTest, ASingleFileIsCheckedAsRoleTwoWithTheJobsSwitches) {
  checker_.steps_report = true;
  ScanSettings settings;
  settings.gnat_extensions = true;
  settings.report_superfluous_marks = true;
  settings.style_rules = tavik_style_rules;
  DefectScan scan = make_scan(settings);
  scan.start(0, result_);
  scan.check_single("/t/main.adb", true, result_);
  apply(result_);

  ASSERT_EQ(checker_.modes.size(), 1u);
  const ParseMode& mode = checker_.modes[0];
  EXPECT_EQ(mode.role, FileRole::SINGLE_FILE);
  EXPECT_TRUE(mode.gnat_extensions);
  EXPECT_TRUE(mode.is_adq);
  EXPECT_EQ(mode.style_rules, tavik_style_rules);
  EXPECT_NE(mode.accepted_spellings, nullptr);
  EXPECT_TRUE(checker_.report_superfluous_marks);
  EXPECT_EQ(checker_.units, (Lines{""}));
  EXPECT_EQ(findings_.findings(testing::step_kind),
            (FindingsList::Findings{{"/t/main.adb", 0, no_column, "unused marks"}}));
  EXPECT_EQ(log_.back(), "Check: /t/main.adb");
}

TEST_F(DefectScanTest, AStopInTheSpecificationLeavesTheBodyUnchecked) {
  checker_.steps_report = true;
  checker_.files["/t/p.ads"].ends = ScriptedFile::Ends::Stops;
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  apply(result_);

  // Nothing after the stop ran: the body was never opened, and no step of
  // the unit reported.
  EXPECT_EQ(checker_.opened, (Lines{"/t/p.ads"}));
  EXPECT_EQ(checker_.open_files, 0);
  // A stop is not a failure: nothing is logged or reported for it.
  EXPECT_EQ(findings_.findings_count(), 0);
  EXPECT_EQ(log_, (Lines{"Start", "Check: /t/p.ads & /t/p.adb"}));
}

TEST_F(DefectScanTest, AStopAtTheEndOfAPairSkipsTheUnusedMarks) {
  checker_.steps_report = true;
  checker_.after_pair_stops = true;
  DefectScan scan = make_scan();
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  apply(result_);
  const auto& steps = findings_.findings(testing::step_kind);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps.back().reason, "after pair");
}

TEST_F(DefectScanTest, AStopInTheBookkeepingAfterTheBodyEndsThePairQuietly) {
  checker_.steps_report = true;
  checker_.after_body_stops = true;
  DefectScan scan = make_scan();
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  apply(result_);
  const auto& steps = findings_.findings(testing::step_kind);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps.back().reason, "after body");
  EXPECT_EQ(findings_.count(BugKind::INTERNAL_ERROR), 0);
  EXPECT_EQ(log_, (Lines{"Check: /t/p.ads & /t/p.adb"}));
}

TEST_F(DefectScanTest, AnUnreadableFileGivesOneInternalErrorUnderItsOwnNameAtLineZero) {
  checker_.files["/t/a.adb"].lines = 42;
  checker_.files["/t/gone.adb"].unreadable = true;
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.check_single("/t/a.adb", false, result_);
  scan.check_single("/t/gone.adb", false, result_);
  scan.check_single("/t/c.adb", false, result_);
  apply(result_);

  ASSERT_EQ(internal_errors().size(), 1u);
  EXPECT_EQ(internal_errors()[0], (Finding{"/t/gone.adb", 0, no_column, ""}));
  EXPECT_TRUE(contains(log_, "Defect.Scan.Check_Source exception: Exception = cannot open /t/gone.adb"));
  // Nothing was left open, and the search went on with the next file.
  EXPECT_EQ(checker_.open_files, 0);
  EXPECT_EQ(checker_.checked, (Lines{"/t/a.adb", "/t/c.adb"}));
}

TEST_F(DefectScanTest, AFailingCheckIsAnInternalErrorAtTheLineReachedAndThePairGoesOn) {
  checker_.steps_report = true;
  checker_.files["/t/p.ads"].ends = ScriptedFile::Ends::Throws;
  checker_.files["/t/p.ads"].lines = 17;
  checker_.files["/t/p.ads"].bugs = {{BugKind::CODE_NOT_REACHABLE, 3}};
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  apply(result_);

  ASSERT_EQ(internal_errors().size(), 1u);
  EXPECT_EQ(internal_errors()[0], (Finding{"/t/p.ads", 17, no_column, ""}));
  // What the file reported before it failed is kept.
  EXPECT_EQ(findings_.count(BugKind::CODE_NOT_REACHABLE), 1);
  EXPECT_EQ(checker_.open_files, 0);
  EXPECT_EQ(checker_.checked, (Lines{"/t/p.ads", "/t/p.adb"}));
  EXPECT_EQ(findings_.findings(testing::step_kind).back().reason, "unused marks");
  EXPECT_TRUE(contains(log_, "Defect.Scan.Check_Source exception: Exception = Text_Parser.Line_Too_Long"));
}

TEST_F(DefectScanTest, AFailureBetweenTheFilesOfAPairIsFiledUnderTheSpecification) {
  checker_.after_body_throws = true;
  DefectScan scan = make_scan();
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  scan.check_single("/t/q.adb", false, result_);
  apply(result_);

  ASSERT_EQ(internal_errors().size(), 1u);
  EXPECT_EQ(internal_errors()[0].file, "/t/p.ads");
  EXPECT_TRUE(contains(log_, "Defect.Scan.Check_Pair exception: Exception = bookkeeping failed"));
  EXPECT_TRUE(contains(checker_.checked, "/t/q.adb"));
}

TEST_F(DefectScanTest, PreparationReportsNothingUnlessItFailsAndThenNamesTheFile) {
  checker_.files["/t/b.ads"].ends = ScriptedFile::Ends::Throws;
  checker_.files["/t/b.ads"].lines = 5;
  checker_.files["/t/c_.adq"].ends = ScriptedFile::Ends::Stops;
  checker_.files["/t/d.ads"].unreadable = true;
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.prepare("/t/a.ads", false, result_);
  scan.prepare("/t/b.ads", false, result_);
  scan.prepare("/t/c_.adq", true, result_);
  scan.prepare("/t/d.ads", false, result_);
  apply(result_);

  EXPECT_EQ(checker_.prepared, (Lines{"/t/a.ads", "/t/b.ads", "/t/c_.adq adq"}));
  EXPECT_EQ(checker_.open_files, 0);
  ASSERT_EQ(internal_errors().size(), 2u);
  EXPECT_EQ(internal_errors()[0], (Finding{"/t/b.ads", 5, no_column, ""}));
  EXPECT_EQ(internal_errors()[1], (Finding{"/t/d.ads", 0, no_column, ""}));
  EXPECT_EQ(log_, (Lines{"Start", "Prepare: /t/a.ads", "Prepare: /t/b.ads",
                         "Defect.Scan.Prepare exception: Exception = Text_Parser.Line_Too_Long",
                         "Prepare: /t/c_.adq", "Prepare: /t/d.ads",
                         "Defect.Scan.Prepare exception: Exception = cannot open /t/d.ads"}));
}

TEST_F(DefectScanTest, AFileThatCannotEvenBeReadIsItsOwnFailureAndThePairGoesOn) {
  checker_.files["/t/huge.ads"].open_throws = true;
  checker_.files["/t/p.ads"].open_throws = true;
  checker_.files["/t/p.adb"].bugs = {{BugKind::NULL_POINTER, 3}};
  DefectScan scan = make_scan();
  scan.start(0, result_);
  EXPECT_NO_THROW(scan.prepare("/t/huge.ads", false, result_));
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  apply(result_);

  ASSERT_EQ(internal_errors().size(), 2u);
  EXPECT_EQ(internal_errors()[0], (Finding{"/t/huge.ads", 0, no_column, ""}));
  EXPECT_EQ(internal_errors()[1], (Finding{"/t/p.ads", 0, no_column, ""}));
  // The body of the pair is still checked after its specification failed.
  EXPECT_EQ(checker_.checked, (Lines{"/t/p.adb"}));
  EXPECT_EQ(findings_.findings(BugKind::NULL_POINTER).size(), 1u);
  EXPECT_TRUE(contains(log_, "Defect.Scan.Prepare exception: Exception = std::bad_alloc"));
  EXPECT_TRUE(contains(log_, "Defect.Scan.Check_Source exception: Exception = std::bad_alloc"));
}

TEST_F(DefectScanTest, FilesWithoutAStyleCommandAreListedAsUncheckedWhenAsked) {
  findings_.set_list_unchecked_style_state(true, true);
  checker_.files["/t/styled.adb"].style_command = true;
  checker_.files["/t/stopped.adb"].ends = ScriptedFile::Ends::Stops;
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.check_single("/t/plain.adb", false, result_);
  scan.check_single("/t/styled.adb", false, result_);
  scan.check_single("/t/stopped.adb", false, result_);
  scan.check_pair("/t/p.ads", "/t/p.adb", false, result_);
  scan.finish(result_);
  apply(result_);

  const auto& unchecked = findings_.findings(StyleKind::NO_STYLE_CHECKS);
  ASSERT_EQ(unchecked.size(), 3u);
  EXPECT_EQ(unchecked[0], (Finding{"/t/plain.adb", 0, no_column, ""}));
  EXPECT_EQ(unchecked[1].file, "/t/p.ads");
  EXPECT_EQ(unchecked[2].file, "/t/p.adb");
  EXPECT_EQ(checker_.finish_calls.load(), 1);
}

TEST_F(DefectScanTest, UncheckedFilesAreDroppedUnlessListed) {
  DefectScan scan = make_scan();
  scan.start(0, result_);
  scan.check_single("/t/plain.adb", false, result_);
  apply(result_);
  EXPECT_EQ(findings_.findings_count(), 0);
}

TEST_F(DefectScanTest, AStyleCommandMakesUncheckedFilesListedFromThenOn) {
  // A list whose item is not yet available: the first style command makes it
  // available and on, so later files without one are listed.
  checker_.files["/t/b.adb"].style_command = true;
  DefectScan scan = make_scan();
  scan.start(0, result_);
  for (const char* file : {"/t/a.adb", "/t/b.adb", "/t/c.adb"}) scan.check_single(file, false, result_);
  apply(result_);
  EXPECT_TRUE(findings_.list_unchecked_style());
  const auto& unchecked = findings_.findings(StyleKind::NO_STYLE_CHECKS);
  ASSERT_EQ(unchecked.size(), 1u);
  EXPECT_EQ(unchecked[0].file, "/t/c.adb");
}

TEST_F(DefectScanTest, RelaxedStylesWithoutASpecificationOnTheReferencePathChecksTheBodyAlone) {
  ScanSettings settings;
  settings.relaxed_styles = true;
  DefectScan scan(checker_, empty_survey_, settings);
  scan.check_single("/t/body.adb", false, result_);
  apply(result_);
  EXPECT_EQ(log_, (Lines{"NQS: Specification for \"/t/body.adb\" not found!", "Check: /t/body.adb"}));
  EXPECT_EQ(checker_.checked, (Lines{"/t/body.adb"}));
}

TEST_F(DefectScanTest, RelaxedStylesChecksTheSpecificationFoundWithTheBodyAndLogsTheSpellings) {
  ScanSettings settings;
  settings.relaxed_styles = true;
  survey_.specification = "/ref/pkg.ads";
  survey_.specification_names = {"IO_Port"};
  survey_.body_names = {"TCP_Link", "ABC_Def"};
  DefectScan scan = make_scan(settings);
  scan.check_single("/t/pkg.adb", false, result_);
  apply(result_);

  EXPECT_EQ(survey_.surveyed, (Lines{"/t/pkg.adb"}));
  EXPECT_EQ(log_, (Lines{"Irregular Specification Name => IO_Port", "Irregular Implementation Name => TCP_Link",
                         "Irregular Implementation Name => ABC_Def", "Check: /ref/pkg.ads & /t/pkg.adb"}));
  ASSERT_EQ(checker_.modes.size(), 2u);
  EXPECT_TRUE(checker_.modes[0].accepted_spellings != nullptr);
  EXPECT_EQ(checker_.checked, (Lines{"/ref/pkg.ads", "/t/pkg.adb"}));
  EXPECT_EQ(checker_.modes[0].role, FileRole::PAIR_SPECIFICATION);
}

TEST_F(DefectScanTest, RelaxedStylesChecksAUnitWithoutSpecificationAloneWithItsSpellings) {
  ScanSettings settings;
  settings.relaxed_styles = true;
  survey_.standalone = true;
  survey_.specification_names = {"XML_Node"};
  DefectScan scan = make_scan(settings);
  scan.check_single("/t/main.adb", false, result_);
  apply(result_);
  EXPECT_EQ(log_, (Lines{"Irregular Specification Name => XML_Node", "Check: /t/main.adb"}));
}

TEST_F(DefectScanTest, SettingsComeFromTheJob) {
  Job job;
  job.set_option(Option::GNAT_EXTENSIONS, true);
  job.set_style_kind(StyleKind::SUPERFLUOUS_CODE_MARK, true);
  const ScanSettings settings = ScanSettings::from_job(job);
  EXPECT_TRUE(settings.gnat_extensions);
  EXPECT_TRUE(settings.report_superfluous_marks);
  EXPECT_FALSE(settings.relaxed_styles);

  Job tavik;
  tavik.set_style_set(StyleSet::TAVIK);
  EXPECT_EQ(ScanSettings::from_job(tavik).style_rules, tavik_style_rules);
}

// The same driver over the real bug checker, on files in a temporary tree.
class DefectScanWithBugChecker : public ::testing::Test {
 protected:
  void write(const std::string& name, const std::string& text) { std::ofstream(tree_.path(name)) << text; }
  void apply() {
    findings_.apply(result_.findings);
    log_.insert(log_.end(), result_.log_records.begin(), result_.log_records.end());
    result_.clear();
  }

  testing::TempTree tree_;
  BugChecker checker_;
  EmptyUnitSurvey survey_;
  FindingsList findings_;
  ScanResult result_;
  Lines log_;
};

TEST_F(DefectScanWithBugChecker, AnOverLongLineStopsThePairAfterItsSpecification) {
  write("p.ads", "package P is\n   X : constant Integer := 1;" + std::string(400, ' ') + "-- long\nend P;\n");
  write("p.adb", "package body P is\n   procedure Q is\n   begin\n      if then null; end if;\n   end Q;\nend P;\n");
  DefectScan scan(checker_, survey_, ScanSettings{});
  scan.start(0, result_);
  scan.check_pair(tree_.path("p.ads"), tree_.path("p.adb"), false, result_);
  scan.check_single(tree_.path("p.adb"), false, result_);
  apply();

  const auto& long_lines = findings_.findings(StyleKind::LINE_TOO_LONG);
  ASSERT_EQ(long_lines.size(), 1u);
  EXPECT_EQ(long_lines[0].file, tree_.path("p.ads"));
  EXPECT_EQ(long_lines[0].line, 2);
  EXPECT_EQ(long_lines[0].column, 400);
  // The pair's body was never checked; checked alone it shows its error.
  const auto& syntax = findings_.findings(BugKind::SYNTAX_ERROR);
  ASSERT_EQ(syntax.size(), 1u);
  EXPECT_EQ(syntax[0].file, tree_.path("p.adb"));
  EXPECT_EQ(findings_.count(BugKind::INTERNAL_ERROR), 0);
}

TEST_F(DefectScanWithBugChecker, AFailedPreparationIsFiledUnderItsFileAtTheLineReached) {
  // Without style checks a line of 401 to 410 characters reaches the
  // scanner, which refuses it.
  write("q.ads", "package Q is\n\n   X : Integer;" + std::string(390, ' ') + "--\nend Q;\n");
  DefectScan scan(checker_, survey_, ScanSettings{});
  scan.start(0, result_);
  scan.prepare(tree_.path("q.ads"), false, result_);
  scan.prepare(tree_.path("missing.ads"), false, result_);
  apply();

  const auto& internal = findings_.findings(BugKind::INTERNAL_ERROR);
  ASSERT_EQ(internal.size(), 2u);
  EXPECT_EQ(internal[0], (Finding{tree_.path("q.ads"), 3, no_column, ""}));
  EXPECT_EQ(internal[1], (Finding{tree_.path("missing.ads"), 0, no_column, ""}));
  ASSERT_EQ(log_.size(), 5u);
  EXPECT_EQ(log_[2], "Defect.Scan.Prepare exception: Exception = Text_Parser.Line_Too_Long");
  EXPECT_TRUE(log_[4].starts_with("Defect.Scan.Prepare exception: Exception = ")) << log_[4];
  EXPECT_NE(log_[4].find("missing.ads"), std::string::npos) << log_[4];
}

// A file that turned into a FIFO after the walk looked at it has no writer:
// opening it must not wait for one, and it is that file's internal error.
TEST_F(DefectScanWithBugChecker, ASourceThatIsAFifoWhenOpenedIsItsOwnInternalError) {
  const std::string fifo = tree_.path("p.adb");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  DefectScan scan(checker_, survey_, ScanSettings{});
  scan.start(0, result_);
  scan.check_single(fifo, false, result_);
  apply();

  ASSERT_EQ(findings_.count(BugKind::INTERNAL_ERROR), 1);
  EXPECT_EQ(findings_.findings(BugKind::INTERNAL_ERROR)[0], (Finding{fifo, 0, no_column, ""}));
  EXPECT_EQ(log_.back(), "Defect.Scan.Check_Source exception: Exception = " + fifo + ": not a regular file");
}

// A source the listing showed but the read cannot have (unreadable, or gone
// in the meantime) is its own internal error, whoever runs the search, and
// the files after it are checked.
TEST_F(DefectScanWithBugChecker, ASourceThatCannotBeReadAfterTheListingIsItsOwnInternalError) {
  testing::FakeDisk fake;
  fake.file("/t/a_gone.adb");
  fake.vanishes("/t/a_gone.adb");
  fake.file("/t/b_secret.adb", "procedure B_Secret is begin null; end B_Secret;\n");
  fake.unreadable("/t/b_secret.adb");
  fake.file("/t/c_broken.adb", "procedure C_Broken is begin if then null; end if; end C_Broken;\n");
  const ScopedDisk scoped(fake);
  DefectScan scan(checker_, survey_, ScanSettings{});
  scan.start(0, result_);
  struct Checker final : WalkVisitor {
    Checker(DefectScan& scan, ScanResult& result) : scan_(scan), result_(result) {}
    void on_work(const WorkItem& item) override { scan_.check_single(item.file, item.is_adq, result_); }
    DefectScan& scan_;
    ScanResult& result_;
  } checker(scan, result_);
  std::atomic<bool> running{true};
  walk_sources(SearchRoot{"/t", "*.*"}, Phase::Check, WalkOptions{}, running, checker);
  apply();

  EXPECT_EQ(findings_.findings(BugKind::INTERNAL_ERROR),
            (FindingsList::Findings{{"/t/a_gone.adb", 0, no_column, ""}, {"/t/b_secret.adb", 0, no_column, ""}}));
  EXPECT_TRUE(contains(log_, "Defect.Scan.Check_Source exception: Exception = /t/a_gone.adb: No such file or directory"));
  EXPECT_TRUE(contains(log_, "Defect.Scan.Check_Source exception: Exception = /t/b_secret.adb: Permission denied"));
  ASSERT_EQ(findings_.count(BugKind::SYNTAX_ERROR), 1);
  EXPECT_EQ(findings_.findings(BugKind::SYNTAX_ERROR)[0].file, "/t/c_broken.adb");
}

// The checker keeps the directory of its last source open for the next
// one; once the search is over nothing of the tree may stay open (a drive
// holding it could not be unmounted).
TEST_F(DefectScanWithBugChecker, NoDirectoryStaysOpenAfterTheSearch) {
  write("p.adb", "procedure P is begin null; end P;\n");
  const auto open_descriptors = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
  };
  const auto before = open_descriptors();
  DefectScan scan(checker_, survey_, ScanSettings{});
  scan.start(0, result_);
  scan.check_single(tree_.path("p.adb"), false, result_);
  EXPECT_EQ(open_descriptors(), before + 1) << "the directory is kept between files";
  scan.finish(result_);
  EXPECT_EQ(open_descriptors(), before);
}

TEST(ExceptionRecord, NamesThePlaceAndTheError) {
  EXPECT_EQ(exception_record("P", std::make_exception_ptr(std::runtime_error("X.Y"))), "P: Exception = X.Y");
  EXPECT_EQ(exception_record("P", std::make_exception_ptr(42)), "P: Unknown Exception");
}

}  // namespace
}  // namespace flawseek
