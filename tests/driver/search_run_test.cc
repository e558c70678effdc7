// The search run: status texts, the two passes, stopping, the Start and Quit
// requests of the search thread, and its survival of a failed search.
#include "driver/search_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "driver/job.h"
#include "driver/search_controls.h"
#include "stylecheck/unit_survey/unit_survey.h"
#include "../support/log_messages.h"
#include "fake_defect_checker.h"
#include "findings/findings_list.h"
#include "platform/log.h"
#include "walk_test_support.h"

namespace flawseek {
namespace {

using testing::FakeDefectChecker;
using testing::ScriptedUnitSurvey;
using testing::TempTree;
using Lines = std::vector<std::string>;

bool contains(const Lines& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// Records what a window would show, from whichever thread calls.
class FakeSearchControls final : public SearchControls {
 public:
  void show_status(std::string_view text) override { add("status " + std::string(text)); }
  void set_button_caption(std::string_view caption) override { add("caption " + std::string(caption)); }
  void enable_button(bool enabled) override { add(enabled ? "button on" : "button off"); }
  void enable_menus(bool enabled) override { add(enabled ? "menus on" : "menus off"); }
  void enable_save_as(bool enabled) override { add(enabled ? "save as on" : "save as off"); }

  Lines events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  Lines statuses() const {
    Lines result;
    for (const std::string& event : events()) {
      if (event.starts_with("status ")) result.push_back(event.substr(7));
    }
    return result;
  }
  std::string last_status() const {
    const Lines all = statuses();
    return all.empty() ? std::string() : all.back();
  }

 private:
  void add(std::string event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  mutable std::mutex mutex_;
  Lines events_;
};

class SearchRunTest : public ::testing::Test {
 protected:
  SearchRunTest() {
    log_.open(tree_.path("trace.log"), 0);
    job_.set_search_root(tree_.path("src"));
    tree_.directory("src");
  }

  // Presses Search and waits for the search to end.
  void search(SearchRun& run) {
    run.toggle_search();
    run.wait_until_idle();
  }
  Lines log_messages() { return testing::log_messages(tree_.path("trace.log")); }

  TempTree tree_;
  Log log_;
  Job job_;
  FindingsList findings_;
  FakeSearchControls controls_;
  FakeDefectChecker checker_;
  ScriptedUnitSurvey survey_;
};

TEST_F(SearchRunTest, OneFileWithoutFindings) {
  tree_.file("src/main.adb");
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(controls_.statuses(), (Lines{"Searching...", " 0 potential bugs found in search of 1 file"}));
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Completed);
  const Lines events = controls_.events();
  EXPECT_EQ(events.front(), "caption Stop");
  EXPECT_FALSE(contains(events, "save as on"));
  EXPECT_EQ(events.back(), "menus on");
  EXPECT_FALSE(run.running());
}

TEST_F(SearchRunTest, OneFindingIsSingularAndEnablesSaveAs) {
  tree_.file("src/main.adb");
  checker_.files[tree_.path("src/main.adb")].bugs = {{BugKind::NULL_POINTER, 3}};
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(controls_.last_status(), " 1 potential bug found in search of 1 file");
  EXPECT_EQ(controls_.events().back(), "save as on");
  EXPECT_EQ(findings_.findings(BugKind::NULL_POINTER)[0].file, tree_.path("src/main.adb"));
}

TEST_F(SearchRunTest, ProgressFollowsEachFileOnceMoreThanOneWasProcessed) {
  for (const char* name : {"src/a.adb", "src/b.adb", "src/c.ads", "src/c.adb"}) tree_.file(name);
  job_.set_option(Option::PREPARATION_PHASE, true);
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(controls_.statuses(),
            (Lines{"Searching...", "Searching... 2 files processed.",
                   // c.adb waits for its specification, but its entry still shows progress
                   "Searching... 2 files processed.", "Searching... 4 files processed.",
                   " 0 potential bugs found in search of 4 files"}));
  // The preparation pass saw the one specification; the check pass every file.
  EXPECT_EQ(checker_.prepared, (Lines{tree_.path("src/c.ads")}));
  const Lines messages = log_messages();
  EXPECT_TRUE(contains(messages, "Check: " + tree_.path("src/c.ads") + " & " + tree_.path("src/c.adb")));
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "Start"), 1);
  EXPECT_EQ(checker_.finish_calls.load(), 1);
}

TEST_F(SearchRunTest, ReadOnlySkipsShowInTheResult) {
  for (const char* name : {"src/a.adb", "src/b.adb", "src/c.adb"}) tree_.file(name);
  tree_.read_only("src/b.adb");
  tree_.read_only("src/c.adb");
  job_.set_option(Option::SKIP_READ_ONLY_FILES, true);
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(controls_.last_status(), " 0 potential bugs found in search of 1 file ( 2 Read-Only files skipped )");
}

TEST_F(SearchRunTest, StopDuringPreparationAbortsAndStillFinishes) {
  for (const char* name : {"src/a.ads", "src/b.ads", "src/c.ads"}) tree_.file(name);
  job_.set_option(Option::PREPARATION_PHASE, true);
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  checker_.during_run = [&run](const std::string&) { run.stop_search(); };
  search(run);
  EXPECT_EQ(controls_.last_status(), "Search aborted by user");
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Aborted);
  EXPECT_EQ(checker_.finish_calls.load(), 1);
  // One file was being prepared when Stop came; nothing was checked.
  EXPECT_EQ(checker_.prepared.size(), 1u);
  EXPECT_TRUE(checker_.checked.empty());
  EXPECT_TRUE(contains(controls_.events(), "button off"));
  EXPECT_EQ(controls_.events().back(), "menus on");
}

TEST_F(SearchRunTest, StopDuringTheCheckKeepsTheFindingsSoFar) {
  for (const char* name : {"src/a.adb", "src/b.adb", "src/c.adb"}) tree_.file(name);
  checker_.files[tree_.path("src/a.adb")].bugs = {{BugKind::CODE_NOT_REACHABLE, 2}};
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  checker_.during_run = [&run](const std::string& file) {
    if (file.ends_with("b.adb")) run.stop_search();
  };
  search(run);
  EXPECT_EQ(controls_.last_status(), "Search aborted by user");
  EXPECT_EQ(findings_.findings_count(), 1);
  EXPECT_FALSE(contains(checker_.opened, tree_.path("src/c.adb")));
  EXPECT_EQ(controls_.events().back(), "save as on");
}

TEST_F(SearchRunTest, AMissingRootIsReportedAndNothingIsAnalysed) {
  job_.set_search_root(tree_.path("nowhere"));
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(controls_.statuses(), (Lines{"Searching...", "File or Root Directory not found"}));
  EXPECT_EQ(run.last_outcome(), SearchOutcome::RootNotFound);
  EXPECT_TRUE(checker_.untouched());
}

TEST_F(SearchRunTest, AnInvalidReferencePathStopsTheSearchBeforeItStarts) {
  tree_.file("src/main.adb");
  job_.set_option(Option::RELAXED_STYLES, true);
  job_.set_reference_path(tree_.path("src") + ";" + tree_.path("missing"));
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(controls_.last_status(), "Invalid directory found in reference path");
  EXPECT_EQ(run.last_outcome(), SearchOutcome::InvalidReferencePath);
  EXPECT_TRUE(checker_.untouched());
  EXPECT_EQ(run.last_reference_path(), "");
}

TEST_F(SearchRunTest, AValidReferencePathIsHandedOnAndNotCheckedAgainUnlessItChanges) {
  tree_.file("src/main.adb");
  tree_.directory("specs/deep");
  tree_.directory("Specs");
  job_.set_option(Option::RELAXED_STYLES, true);
  std::string path = " ";
  path += tree_.path("specs") + "/* ; " + tree_.path("src") + " ";
  job_.set_reference_path(path);
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Completed);
  EXPECT_EQ(run.last_reference_path(), path);
  EXPECT_EQ(survey_.reference_directories.size(), 2u);
  // The survey must still see which entry includes the directories below it.
  EXPECT_EQ(survey_.reference_directories,
            (std::vector<std::string>{tree_.path("specs") + "/*", tree_.path("src")}));

  // The very same text is not validated again, so a directory that went
  // missing in between does not stop the next search.
  std::filesystem::remove_all(tree_.path("specs"));
  search(run);
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Completed);

  // Directory names are case-sensitive: a text differing only in case is a
  // new path and is checked.
  job_.set_reference_path(tree_.path("SPECS"));
  search(run);
  EXPECT_EQ(run.last_outcome(), SearchOutcome::InvalidReferencePath);

  // Without relaxed styles the survey gets no directories.
  job_.set_option(Option::RELAXED_STYLES, false);
  search(run);
  EXPECT_EQ(run.last_reference_path(), "");
  EXPECT_TRUE(survey_.reference_directories.empty());
}

TEST_F(SearchRunTest, TheJobsLanguageLevelReachesEveryParse) {
  tree_.file("src/c.ads");
  tree_.file("src/c.adb");
  job_.set_option(Option::PREPARATION_PHASE, true);
  job_.set_ada_version(AdaVersion::ADA_95);
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(survey_.ada_version, AdaVersion::ADA_95);
  EXPECT_EQ(checker_.preparation_versions, std::vector<AdaVersion>{AdaVersion::ADA_95});
  ASSERT_EQ(checker_.modes.size(), 2u);
  for (const ParseMode& mode : checker_.modes) EXPECT_EQ(mode.ada_version, AdaVersion::ADA_95);
}

TEST_F(SearchRunTest, AFailedSearchIsLoggedShownAndTheNextSearchWorks) {
  tree_.file("src/main.adb");
  checker_.start_throws = true;
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Failed);
  EXPECT_EQ(controls_.last_status(), "Control.Defect_Scan: Exception = checker could not start");
  EXPECT_TRUE(contains(log_messages(), "Control.Defect_Scan: Exception = checker could not start"));
  EXPECT_FALSE(run.running());
  EXPECT_EQ(controls_.events().back(), "menus on");

  checker_.start_throws = false;
  search(run);
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Completed);
  EXPECT_EQ(controls_.last_status(), " 0 potential bugs found in search of 1 file");
}

TEST_F(SearchRunTest, StartReturnsOnceTheThreadTakesTheRequest) {
  tree_.file("src/main.adb");
  std::mutex gate;
  gate.lock();  // holds the search inside its first file
  std::atomic<bool> inside{false};
  checker_.during_run = [&](const std::string&) {
    inside = true;
    std::lock_guard wait(gate);
  };
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  run.toggle_search();
  EXPECT_TRUE(run.running());
  while (!inside) std::this_thread::yield();
  EXPECT_NE(run.last_outcome(), SearchOutcome::Completed);
  gate.unlock();
  run.wait_until_idle();
  EXPECT_EQ(run.last_outcome(), SearchOutcome::Completed);
}

TEST_F(SearchRunTest, AfterQuitStartDoesNothing) {
  tree_.file("src/main.adb");
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  run.quit();
  run.start();
  run.wait_until_idle();
  EXPECT_TRUE(checker_.untouched());
  EXPECT_EQ(run.last_outcome(), SearchOutcome::None);
  run.shutdown_search();  // a second end is harmless
}

TEST_F(SearchRunTest, ShutdownStopsARunningSearch) {
  for (const char* name : {"src/a.adb", "src/b.adb", "src/c.adb"}) tree_.file(name);
  std::atomic<int> files{0};
  {
    SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
    // The first file holds the search until shutdown has asked it to stop.
    checker_.during_run = [&](const std::string&) {
      ++files;
      while (run.running()) std::this_thread::yield();
    };
    run.toggle_search();
    while (files.load() == 0) std::this_thread::yield();
  }  // the destructor stops the search and ends the thread
  EXPECT_EQ(files.load(), 1);
  EXPECT_EQ(controls_.last_status(), "Search aborted by user");
}

TEST_F(SearchRunTest, SearchingClearsTheFindingsOfTheLastSearch) {
  tree_.file("src/main.adb");
  checker_.files[tree_.path("src/main.adb")].bugs = {{BugKind::NULL_POINTER, 3}};
  SearchRun run(job_, findings_, controls_, log_, checker_, survey_);
  search(run);
  search(run);
  EXPECT_EQ(findings_.findings_count(), 1);
}

}  // namespace
}  // namespace flawseek
