// Parsing speed over the real-code corpus held in memory: the line reader, the
// scanner and the parser with hooks that do nothing, as one file's parse pays
// for them before any rule runs.
#include <benchmark/benchmark.h>

#include <string>

#include "corpus_files.h"
#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"

namespace flawseek {
namespace {

struct Silent : EmptyHooks {
  static constexpr std::string_view exception_prefix = "BENCH.A95";
  int syntax_errors = 0;
  void message(ParserState&, ParserMessage m, std::string_view) {
    if (m == ParserMessage::SYNTAX_ERROR) ++syntax_errors;
  }
};

void BM_ParseCorpus(benchmark::State& state) {
  if (skip_without_corpus(state)) return;
  const auto& files = corpus_files();
  const double bytes = static_cast<double>(corpus_bytes());
  const double lines = corpus_lines();
  Silent hooks;
  AdaParser<Silent> parser(hooks);
  AdaLineReader reader;
  for (auto _ : state) {
    for (const auto& file : files) {
      reader.set_text_view(file.text);
      try {
        parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false);
      } catch (const std::exception&) {
        // A late discovery or long line ends that file only.
      }
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * static_cast<double>(state.iterations())));
  state.counters["lines/s"] = benchmark::Counter(lines * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["syntax_errors/iter"] =
      static_cast<double>(hooks.syntax_errors) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ParseCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace flawseek

BENCHMARK_MAIN();
