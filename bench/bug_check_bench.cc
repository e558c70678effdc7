// Check-pass speed over the real-code corpus held in memory: the bug checker
// as the per-file driver runs it (reader with commands and line checks, check
// parser, rules, reporting into a per-file recorder), to compare with the bare
// parse of parse_bench.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "corpus_files.h"
#include "findings/file_findings.h"

namespace flawseek {
namespace {

// One file as the driver checks it. Its failures are caught here, below
// check_corpus_once, so that the unwinding never lands in the frame a
// profiler is told to count.
[[gnu::noinline]] void check_file(std::string_view text, BugChecker& checker, const ParseMode& mode) {
  checker.begin_unit(/*report_superfluous_marks=*/false, {});
  // Read in place, as the driver reads a file's text in place once it is
  // loaded: copying it would add a pass over every byte.
  checker.use_source_view(text);
  bool style_command_seen = false;
  try {
    (void)checker.run_check(mode, style_command_seen);
  } catch (const std::exception&) {
    // A failure ends that file only.
  }
  checker.report_unused_marks();
}

// One pass over the corpus. Kept out of line so that a profiler can count
// the check alone (callgrind --toggle-collect='*check_corpus_once*'), without
// loading the corpus.
[[gnu::noinline]] void check_corpus_once(const std::vector<corpus::CorpusFile>& files, BugChecker& checker,
                                         const ParseMode& mode, FileFindings& findings) {
  findings.clear();
  for (const auto& file : files) check_file(file.text, checker, mode);
}

// With the Default rules (arg 0) and with every style rule on (arg 1, the
// TAVIK_95 book), which is the most the hooks can be asked to do, both as a
// run for the tree or the reports makes them: no words for a style finding.
// Arg 2 is arg 1 with those words, as the GNU, JSON and SARIF outputs ask.
void BM_CheckCorpus(benchmark::State& state) {
  if (skip_without_corpus(state)) return;
  const auto& files = corpus_files();
  const double bytes = static_cast<double>(corpus_bytes());
  FileFindings findings;
  BugChecker checker;
  checker.set_finding_sink(findings);
  checker.start(0);
  ParseMode mode;
  mode.gnat_extensions = true;
  if (state.range(0) >= 1) mode.style_rules = tavik_95_style_rules;
  mode.style_details = state.range(0) == 2;
  std::size_t found = 0;
  for (auto _ : state) {
    check_corpus_once(files, checker, mode, findings);
    found = findings.finding_count();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * static_cast<double>(state.iterations())));
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["findings/iter"] = static_cast<double>(found);
}
BENCHMARK(BM_CheckCorpus)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace flawseek

BENCHMARK_MAIN();
