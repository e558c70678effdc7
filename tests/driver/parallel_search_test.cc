// The search run on several threads with the real checker: stopped at a
// given moment of the walk, it keeps exactly the findings and log records a
// serial search stopped at the same moment keeps, and nothing after it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <string>
#include <vector>

#include "../support/file_text.h"
#include "../support/log_messages.h"
#include "driver/analyser.h"
#include "fake_defect_checker.h"
#include "driver/job.h"
#include "driver/search_controls.h"
#include "driver/search_run.h"
#include "findings/findings_list.h"
#include "platform/log.h"
#include "walk_test_support.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;

// Stops the search when the status line shows its `stop_at`-th progress text
// (the moment a serial run has just finished a file), from the search thread.
class StoppingControls final : public SearchControls {
 public:
  explicit StoppingControls(int stop_at) : stop_at_(stop_at) {}
  void attach(SearchRun& run) { run_ = &run; }

  void show_status(std::string_view text) override {
    last_status = text;
    if (text.find("processed.") != std::string_view::npos && ++progress_seen == stop_at_ && run_ != nullptr) {
      run_->stop_search();
    }
  }
  void set_button_caption(std::string_view) override {}
  void enable_button(bool) override {}
  void enable_menus(bool) override {}
  void enable_save_as(bool) override {}

  int progress_seen = 0;
  std::string last_status;

 private:
  int stop_at_;
  SearchRun* run_ = nullptr;
};

struct Stopped {
  std::vector<std::vector<Finding>> findings;  // per kind, in list order
  std::vector<std::string> log;
  int progress_seen = 0;
  std::string last_status;
};

// A body long enough that analysing it takes far longer than walking past
// it, so the walk runs ahead of the workers and a stop finds work in hand.
std::string heavy_body(const std::string& name) {
  std::string text = "package body " + name + " is\n";
  for (int i = 0; i < 300; ++i) {
    const std::string procedure = "Step_" + std::to_string(i);
    text += "   procedure " + procedure + " (Value : in out INTEGER) is\n   begin\n"
            "      if Value = 0 then\n         Value := Value + 1;\n      end if;\n   end " + procedure + ";\n";
  }
  return text + "end " + name + ";\n";
}

// Ten copies of the rule fixtures, many files with findings and pairs among
// them, with a long body in every directory.
void build_tree(const fs::path& root) {
  const fs::path rules = fs::path(FLAWSEEK_FIXTURES) / "rules";
  fs::create_directories(root);
  int heavy = 0;
  for (int copy = 0; copy < 10; ++copy) {
    const fs::path target = root / ("copy_" + std::to_string(copy));
    fs::copy(rules, target, fs::copy_options::recursive);
    for (const auto& entry : fs::directory_iterator(target)) {
      const std::string name = "Heavy_" + std::to_string(heavy++);
      testing::write_file(entry.path() / (name + ".adb"), heavy_body(name));
    }
  }
}

Stopped search_stopped_at(const fs::path& root, unsigned jobs, int stop_at, bool prepare) {
  const fs::path log_file = root.parent_path() / ("trace-" + std::to_string(jobs) + ".log");
  fs::remove(log_file);
  Log log;
  log.open(log_file, 0);
  Job job;
  job.set_search_root(root.string());
  job.set_option(Option::PREPARATION_PHASE, prepare);
  job.set_style_set(StyleSet::TAVIK_95);
  FindingsList findings;
  StoppingControls controls(stop_at);
  {
    SearchRun run(job, findings, controls, log, make_standard_analyser, jobs);
    controls.attach(run);
    run.toggle_search();
    run.wait_until_idle();
  }
  Stopped stopped;
  for (int kind = 0; kind < FindingKind::count; ++kind) {
    const auto& list = findings.findings(FindingKind::from_index(kind));
    stopped.findings.emplace_back(list.begin(), list.end());
  }
  log.close();
  stopped.log = testing::log_messages(log_file);
  // The header names the moment the log was made.
  for (std::string& record : stopped.log) {
    if (record.starts_with("Log created ")) record = "Log created";
  }
  stopped.progress_seen = controls.progress_seen;
  stopped.last_status = controls.last_status;
  return stopped;
}

std::size_t total(const Stopped& stopped) {
  std::size_t count = 0;
  for (const auto& list : stopped.findings) count += list.size();
  return count;
}

TEST(ParallelSearch, StoppedHalfWayItKeepsWhatASerialSearchStoppedThereKeeps) {
  testing::TempTree tree;
  const fs::path root = tree.path("src");
  build_tree(root);

  const Stopped check_only = search_stopped_at(root, 1, -1, false);
  ASSERT_GT(check_only.progress_seen, 100);
  for (const bool prepare : {false, true}) {
    const Stopped whole = prepare ? search_stopped_at(root, 1, -1, true) : check_only;
    // Half-way through the check pass (after the preparation pass, if any).
    const int stop_at = whole.progress_seen - check_only.progress_seen / 2;
    const Stopped serial = search_stopped_at(root, 1, stop_at, prepare);
    const Stopped parallel = search_stopped_at(root, 4, stop_at, prepare);
    EXPECT_EQ(serial.last_status, "Search aborted by user");
    EXPECT_EQ(parallel.last_status, "Search aborted by user");
    // The stop took effect: some findings were kept, and not all of them.
    EXPECT_GT(total(serial), 0u);
    EXPECT_LT(total(serial), total(whole));
    EXPECT_TRUE(parallel.findings == serial.findings) << "prepare " << prepare;
    EXPECT_TRUE(parallel.log == serial.log) << "prepare " << prepare;
    // No progress was shown after the stop.
    EXPECT_EQ(parallel.progress_seen, stop_at);
  }
}

TEST(ParallelSearch, StoppedDuringThePreparationPassItChecksNothing) {
  testing::TempTree tree;
  const fs::path root = tree.path("src");
  build_tree(root);
  const Stopped serial = search_stopped_at(root, 1, 20, true);
  const Stopped parallel = search_stopped_at(root, 4, 20, true);
  EXPECT_EQ(total(parallel), 0u);
  EXPECT_TRUE(parallel.log == serial.log);
  bool checked = false;
  for (const std::string& record : parallel.log) checked = checked || record.starts_with("Check: ");
  EXPECT_FALSE(checked);
}

TEST(ParallelSearch, AStopEndsTheSearchWithinOneFilePerWorker) {
  testing::TempTree tree;
  for (int i = 0; i < 200; ++i) tree.file("src/unit_" + std::to_string(i) + ".adb");
  Log log;
  Job job;
  job.set_search_root(tree.path("src"));
  FindingsList findings;
  StoppingControls controls(-1);
  std::atomic<int> analysed{0};
  std::atomic<SearchRun*> running_search{nullptr};
  // Every worker's checker: the first file analysed stops the search, and
  // each file takes long enough that the other workers are inside one.
  const AnalyserFactory fakes = [&] {
    auto checker = std::make_unique<testing::FakeDefectChecker>();
    checker->during_run = [&](const std::string&) {
      if (++analysed == 1) running_search.load()->stop_search();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    return Analyser{std::move(checker), std::make_unique<EmptyUnitSurvey>()};
  };
  constexpr unsigned jobs = 4;
  SearchRun run(job, findings, controls, log, fakes, jobs);
  running_search = &run;
  run.toggle_search();
  run.wait_until_idle();
  EXPECT_EQ(controls.last_status, "Search aborted by user");
  EXPECT_GE(analysed.load(), 1);
  EXPECT_LE(analysed.load(), static_cast<int>(jobs));
}

}  // namespace
}  // namespace flawseek
