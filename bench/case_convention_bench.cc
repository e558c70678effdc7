// Speed of the case test, which the style rules run on every keyword,
// identifier, attribute and pragma name of a checked file.
#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "style/case_convention.h"

namespace {

constexpr std::array<std::string_view, 12> spellings = {
    "Ada", "Text_IO", "HTTP_Server", "Http_sERVER", "counter", "MAX_LENGTH",
    "Unbounded_String_Access", "x", "Node_Access", "Put_Line", "last_value", "T_Counter"};

void run_case_test(benchmark::State& state, flawseek::CaseConvention convention,
                   const flawseek::AcceptedSpellings* accepted) {
  std::size_t passed = 0;
  for (auto _ : state) {
    for (std::string_view text : spellings) passed += flawseek::follows_case(text, convention, accepted) ? 1 : 0;
    benchmark::DoNotOptimize(passed);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * spellings.size()));
}

void BM_MixedCase(benchmark::State& state) { run_case_test(state, flawseek::CaseConvention::Mixed, nullptr); }
void BM_LowerCase(benchmark::State& state) { run_case_test(state, flawseek::CaseConvention::Lower, nullptr); }

// Failures consult the accepted spellings: the lookup must not allocate.
void BM_MixedCaseWithAcceptedSpellings(benchmark::State& state) {
  flawseek::AcceptedSpellings accepted;
  for (int i = 0; i < 500; ++i) accepted.add("Spelling_" + std::to_string(i) + "_xX");
  accepted.add("last_value");
  run_case_test(state, flawseek::CaseConvention::Mixed, &accepted);
}

BENCHMARK(BM_MixedCase);
BENCHMARK(BM_LowerCase);
BENCHMARK(BM_MixedCaseWithAcceptedSpellings);

}  // namespace

BENCHMARK_MAIN();
