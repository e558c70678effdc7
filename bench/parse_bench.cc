// Parsing speed over the real-code corpus held in memory: the line reader, the
// scanner and the parser with hooks that do nothing, as one file's parse pays
// for them before any rule runs.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

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

// One file. Its failures are caught here, below parse_corpus_once, so that
// the unwinding never lands in the frame a profiler is told to count.
[[gnu::noinline]] void parse_file(std::string_view text, AdaParser<Silent>& parser, AdaLineReader& reader) {
  reader.set_text_view(text);
  try {
    parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false);
  } catch (const std::exception&) {
    // A late discovery or long line ends that file only.
  }
}

// One pass over the corpus. Kept out of line so that a profiler can count
// the parse alone (callgrind --toggle-collect='*parse_corpus_once*'), without
// loading the corpus or counting its lines.
[[gnu::noinline]] void parse_corpus_once(const std::vector<corpus::CorpusFile>& files, AdaParser<Silent>& parser,
                                         AdaLineReader& reader) {
  for (const auto& file : files) parse_file(file.text, parser, reader);
}

void BM_ParseCorpus(benchmark::State& state) {
  if (skip_without_corpus(state)) return;
  const auto& files = corpus_files();
  const double bytes = static_cast<double>(corpus_bytes());
  const double lines = corpus_lines();
  Silent hooks;
  AdaParser<Silent> parser(hooks);
  AdaLineReader reader;
  for (auto _ : state) parse_corpus_once(files, parser, reader);
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
