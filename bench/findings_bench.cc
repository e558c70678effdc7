// Speed of filing findings into the lists and tree, and of writing reports.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "findings/findings_list.h"
#include "output/csv_output.h"
#include "output/text_output.h"
#include "output/tree_output.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// 100 files with a mix of bug and style findings each.
void fill(flawseek::FindingsList& list, int findings_per_file) {
  for (int file = 0; file < 100; ++file) {
    list.set_current_file("/home/user/project/src/subsystem/file_" + std::to_string(file) + ".adb");
    for (int i = 0; i < findings_per_file; ++i) {
      if (i % 3 == 0)
        list.report_style(flawseek::StyleKind::BAD_IDENTIFIER, i + 1, 7, "   Some_Identifier   :=   Value;");
      else
        list.report_bug(i % 2 ? flawseek::BugKind::NULL_POINTER : flawseek::BugKind::UNUSED_DECLARATION, i + 1,
                        flawseek::no_column, "X : Integer;");
    }
  }
}

void BM_ReportIntoTree(benchmark::State& state) {
  const int per_file = static_cast<int>(state.range(0));
  for (auto _ : state) {
    flawseek::FindingsList list;
    flawseek::TextTreeView view;
    list.set_view(&view);
    fill(list, per_file);
    benchmark::DoNotOptimize(list.findings_count());
  }
  state.SetItemsProcessed(state.iterations() * 100 * per_file);
}
BENCHMARK(BM_ReportIntoTree)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_WriteReports(benchmark::State& state) {
  flawseek::FindingsList list;
  fill(list, 1000);
  NullBuffer null;
  std::ostream out(&null);
  for (auto _ : state) {
    flawseek::write_csv_report(list, out);
    flawseek::write_text_report(list, out);
  }
  state.SetItemsProcessed(state.iterations() * list.findings_count() * 2);
}
BENCHMARK(BM_WriteReports)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
