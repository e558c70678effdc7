// Check-pass speed over the real-code corpus held in memory: the bug checker
// as the per-file driver runs it (reader with commands and line checks, check
// parser, rules, reporting into a per-file recorder), to compare with the bare
// parse of parse_bench.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "findings/file_findings.h"

namespace flawseek {
namespace {

struct CorpusFile {
  std::string name;
  std::string text;
};

// The corpus named by FLAWSEEK_GNAT_CORPUS, else the build tree's gnat-corpus.
const std::vector<CorpusFile>& corpus_files() {
  static const std::vector<CorpusFile> files = [] {
    std::vector<CorpusFile> loaded;
    const char* variable = std::getenv("FLAWSEEK_GNAT_CORPUS");
    const std::string directory = variable != nullptr ? variable : std::string(FLAWSEEK_BINARY_DIR) + "/gnat-corpus";
    std::ifstream list(directory + "/files.txt");
    std::string name;
    while (std::getline(list, name)) {
      if (name.empty()) continue;
      std::ifstream in(directory + "/" + name, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      loaded.push_back({name, text.str()});
    }
    return loaded;
  }();
  return files;
}

void BM_CheckCorpus(benchmark::State& state) {
  const auto& files = corpus_files();
  if (files.empty()) {
    state.SkipWithError("no GNAT corpus: build the gnat_corpus target or set FLAWSEEK_GNAT_CORPUS");
    return;
  }
  double bytes = 0;
  for (const auto& file : files) bytes += static_cast<double>(file.text.size());
  FileFindings findings;
  BugChecker checker(findings);
  checker.start(0);
  ParseMode mode;
  mode.gnat_extensions = true;
  std::size_t found = 0;
  for (auto _ : state) {
    findings.clear();
    for (const auto& file : files) {
      checker.set_style_checks(true);
      checker.clear_marks();
      checker.use_source_text(file.text);
      try {
        checker.run_check(mode);
      } catch (const std::exception&) {
        // A stop or a failure ends that file only.
      }
      checker.report_unused_marks();
    }
    found = findings.finding_count();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * static_cast<double>(state.iterations())));
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["findings/iter"] = static_cast<double>(found);
}
BENCHMARK(BM_CheckCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace flawseek

BENCHMARK_MAIN();
