// Parsing speed over the real-code corpus held in memory: the line reader, the
// scanner and the parser with hooks that do nothing, as one file's parse pays
// for them before any rule runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"

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

struct Silent : EmptyHooks {
  static constexpr std::string_view exception_prefix = "BENCH.A95";
  int syntax_errors = 0;
  void message(ParserState&, ParserMessage m, std::string_view) {
    if (m == ParserMessage::SYNTAX_ERROR) ++syntax_errors;
  }
};

void BM_ParseCorpus(benchmark::State& state) {
  const auto& files = corpus_files();
  if (files.empty()) {
    state.SkipWithError("no GNAT corpus: build the gnat_corpus target or set FLAWSEEK_GNAT_CORPUS");
    return;
  }
  double bytes = 0;
  double lines = 0;
  for (const auto& file : files) {
    bytes += static_cast<double>(file.text.size());
    for (char c : file.text) lines += c == '\n' ? 1 : 0;
  }
  Silent hooks;
  AdaParser<Silent> parser(hooks);
  AdaLineReader reader;
  for (auto _ : state) {
    for (const auto& file : files) {
      reader.set_text_view(file.text);
      try {
        parser.parse(2, StyleRules{}, true, reader, false);
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
