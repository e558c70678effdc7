// The window between the walk and the commits: however narrow it is, and
// however few findings may wait for their turn, every event is committed
// once, in walk order, with what a serial analysis gives it.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/analyser.h"
#include "driver/defect_scan.h"
#include "driver/job.h"
#include "driver/ordered_analysis.h"
#include "driver/source_search.h"
#include "driver/source_walk.h"
#include "walk_test_support.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;

// Every commit as one line of text: a result with each recorded step, a
// progress count or a note.
class RecordingCommitter final : public WalkCommitter {
 public:
  void commit_result(const WorkItem& item, ScanResult& result) override {
    std::string line = "work " + item.file + " " + item.body + ":";
    for (const FileFindings::Step& step : result.findings.steps()) {
      line += " [" + std::to_string(static_cast<int>(step.what)) + " " + std::to_string(step.kind.index()) + " " +
              std::to_string(step.line) + ":" + std::to_string(step.column) + " " +
              std::string(result.findings.reason(step)) + "]";
    }
    for (const std::string& record : result.log_records) line += " {" + record + "}";
    commits.push_back(std::move(line));
  }
  void commit_progress(Phase, const WalkCounts& counts) override {
    commits.push_back("progress " + std::to_string(counts.files_processed));
  }
  void commit_note(std::string_view note) override { commits.push_back("note " + std::string(note)); }

  std::vector<std::string> commits;
};

std::vector<std::string> check_pass(const std::string& root, unsigned jobs, OrderedAnalysis::Limits limits) {
  Job job;
  job.set_style_set(StyleSet::TAVIK_95);
  const ScanSettings settings = ScanSettings::from_job(job);
  std::vector<Analyser> analysers;
  std::vector<DefectScan> scans;
  analysers.reserve(jobs);
  scans.reserve(jobs);
  for (unsigned i = 0; i < jobs; ++i) {
    analysers.push_back(make_standard_analyser());
    scans.emplace_back(*analysers.back().checker, *analysers.back().survey, settings);
    ScanResult ignored;
    scans.back().start(0, ignored);
  }
  std::vector<DefectScan*> scan_pointers;
  for (DefectScan& scan : scans) scan_pointers.push_back(&scan);

  const std::atomic<bool> running{true};
  RecordingCommitter committer;
  {
    OrderedAnalysis analysis(scan_pointers, limits, running, committer);
    const std::optional<SearchRoot> resolved = resolve_search_root(root, root);
    EXPECT_TRUE(resolved.has_value());
    if (resolved) (void)walk_sources(*resolved, Phase::Check, WalkOptions{}, running, analysis);
    analysis.finish();
  }
  return committer.commits;
}

TEST(OrderedAnalysis, AnyWindowAndFindingsLimitCommitsWhatOneThreadCommits) {
  // Three copies of the rule fixtures: files and pairs, most with findings.
  testing::TempTree tree;
  for (int copy = 0; copy < 3; ++copy) {
    fs::copy(fs::path(FLAWSEEK_FIXTURES) / "rules", tree.path("copy_" + std::to_string(copy)),
             fs::copy_options::recursive);
  }
  const std::vector<std::string> serial = check_pass(tree.root(), 1, {2, 1});
  std::size_t results_with_findings = 0;
  for (const std::string& commit : serial) results_with_findings += commit.find(" [1 ") != std::string::npos;
  ASSERT_GT(results_with_findings, 20u);

  // Wide, as a search runs; narrow; and with a limit every single result
  // exceeds, so only the oldest item may ever be taken.
  for (const OrderedAnalysis::Limits limits :
       {OrderedAnalysis::Limits{1024, 1 << 16}, OrderedAnalysis::Limits{3, 1 << 16}, OrderedAnalysis::Limits{64, 1}}) {
    SCOPED_TRACE(std::to_string(limits.events) + " events, " + std::to_string(limits.held_steps) + " steps");
    EXPECT_EQ(check_pass(tree.root(), 3, limits), serial);
  }
}

}  // namespace
}  // namespace flawseek
