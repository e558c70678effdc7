// Scanning speed over the real-code corpus held in memory: the scanner with
// the comment-cutting line reader (as a parse sees it), the reader alone, and
// the scanner alone on lines prepared beforehand.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "corpus_files.h"
#include "frontend/ada_line_reader.h"
#include "frontend/ada_token_lists.h"
#include "frontend/text_parser.h"

namespace flawseek {
namespace {

// Rates over the corpus as written: bytes and physical lines of source.
void set_rates(benchmark::State& state, double tokens) {
  static const double lines = corpus_lines();
  const double bytes = static_cast<double>(corpus_bytes());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  if (tokens > 0)
    state.counters["tokens/s"] = benchmark::Counter(tokens * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["lines/s"] = benchmark::Counter(lines * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["files"] = static_cast<double>(corpus_files().size());
}

// The scanner fed by the comment-cutting reader, stepping over literals as the
// parser's lexical layer does: what one parse pays for its tokens.
void BM_ScanCorpus(benchmark::State& state) {
  if (skip_without_corpus(state)) return;
  AdaLineReader reader;
  TextParser scanner = make_ada_scanner(&reader);
  std::string line;
  double tokens = 0;
  for (auto _ : state) {
    long count = 0;
    for (const auto& file : corpus_files()) {
      corpus::scan_file(scanner, reader, line, file.text, [&](const TextParser& s) {
        ++count;
        benchmark::DoNotOptimize(s.token_kind());
      });
    }
    tokens = static_cast<double>(count);
  }
  set_rates(state, tokens);
}
BENCHMARK(BM_ScanCorpus)->Unit(benchmark::kMillisecond);

// The reader alone, as the scanner reads it: comment cutting, and a copy
// only of the lines that cannot be handed out in place.
void BM_ReadCorpusLines(benchmark::State& state) {
  if (skip_without_corpus(state)) return;
  AdaLineReader reader;
  std::string buffer;
  for (auto _ : state) {
    long count = 0;
    for (const auto& file : corpus_files()) {
      reader.set_text_view(file.text);
      int number = 0;
      for (std::string_view line = reader.read_line_view(buffer, number); !line.empty();
           line = reader.read_line_view(buffer, number)) {
        ++count;
        benchmark::DoNotOptimize(line.data());
      }
    }
    benchmark::DoNotOptimize(count);
  }
  set_rates(state, 0);
}
BENCHMARK(BM_ReadCorpusLines)->Unit(benchmark::kMillisecond);

// Lines already stripped, served by assignment: the scanner's own cost.
class PreparedLines : public LineSource {
 public:
  explicit PreparedLines(const std::vector<std::string>& lines) : lines_(lines) {}
  void rewind() { next_ = 0; }
  void read_line(std::string& line, int& line_number) override {
    if (next_ >= lines_.size()) {
      line.clear();
      return;
    }
    line.assign(lines_[next_]);
    line_number = static_cast<int>(++next_);
  }

 private:
  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;
};

void BM_ScanPreparedLines(benchmark::State& state) {
  if (skip_without_corpus(state)) return;
  // The whole corpus as one stream of comment-free lines.
  std::vector<std::string> lines;
  AdaLineReader reader;
  std::string line;
  for (const auto& file : corpus_files()) {
    reader.set_text_view(file.text);
    int number = 0;
    for (reader.read_line(line, number); !line.empty(); reader.read_line(line, number)) lines.push_back(line);
  }
  PreparedLines source(lines);
  TextParser scanner = make_ada_scanner(&source);
  double tokens = 0;
  for (auto _ : state) {
    source.rewind();
    line.clear();
    scanner.set_text(&line, 1);
    long count = 0;
    while (scanner.next_token()) {
      ++count;
      benchmark::DoNotOptimize(scanner.token_kind());
    }
    tokens = static_cast<double>(count);
  }
  set_rates(state, tokens);
}
BENCHMARK(BM_ScanPreparedLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace flawseek

BENCHMARK_MAIN();
