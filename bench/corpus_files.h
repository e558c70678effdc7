// The real-code corpus held in memory for the benchmarks (loaded once per
// program), its size in bytes and lines, and the skip a corpus benchmark
// makes when the corpus was not built.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "../tests/corpus/corpus_lines.h"

namespace flawseek {

inline const std::vector<corpus::CorpusFile>& corpus_files() {
  static const std::vector<corpus::CorpusFile> files =
      corpus::load_corpus(corpus::corpus_directory(FLAWSEEK_BINARY_DIR));
  return files;
}

inline std::size_t corpus_bytes() {
  std::size_t bytes = 0;
  for (const auto& file : corpus_files()) bytes += file.text.size();
  return bytes;
}

// Physical lines of the corpus, comments and blank lines included.
inline double corpus_lines() {
  double lines = 0;
  for (const auto& file : corpus_files())
    for (char c : file.text) lines += c == '\n';
  return lines;
}

// True (with the benchmark marked skipped) when there is no corpus to run on.
inline bool skip_without_corpus(benchmark::State& state) {
  if (!corpus_files().empty()) return false;
  state.SkipWithError("no GNAT corpus: build the gnat_corpus target or set FLAWSEEK_GNAT_CORPUS");
  return true;
}

}  // namespace flawseek
