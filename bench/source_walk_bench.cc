// Speed of the source walk over a real tree (the GNAT library sources) and of
// file-name pattern matching.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "driver/name_pattern.h"
#include "driver/source_walk.h"

namespace {

const char* const gnat_sources = "/usr/lib/gcc/x86_64-linux-gnu/12/adainclude";

struct CountingVisitor : flawseek::WalkVisitor {
  std::int64_t items = 0;
  void on_work(const flawseek::WorkItem&) override { ++items; }
};

void BM_WalkGnatLibrary(benchmark::State& state) {
  if (!std::filesystem::is_directory(gnat_sources)) {
    state.SkipWithError("GNAT library sources not installed");
    return;
  }
  std::atomic<bool> running{true};
  std::int64_t files = 0;
  for (auto _ : state) {
    CountingVisitor visitor;
    flawseek::WalkCounts counts = flawseek::walk_sources(flawseek::SearchRoot{gnat_sources, "*.*"},
                                                         flawseek::Phase::Check, {}, running, visitor);
    files = counts.files_processed;
    benchmark::DoNotOptimize(visitor.items);
  }
  state.counters["files"] = static_cast<double>(files);
  state.SetItemsProcessed(state.iterations() * files);
}
BENCHMARK(BM_WalkGnatLibrary)->Unit(benchmark::kMillisecond);

void BM_NameMatches(benchmark::State& state) {
  const char* names[] = {"a-strunb.adb", "Makefile", "g-spitbo.ads", "system.ads", "s-os_lib.adb", "README.txt"};
  for (auto _ : state)
    for (const char* name : names) benchmark::DoNotOptimize(flawseek::name_matches("*.adb", name));
  state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_NameMatches);

}  // namespace

BENCHMARK_MAIN();
