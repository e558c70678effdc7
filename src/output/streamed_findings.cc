// Writing each result's findings in their turn, and keeping those whose turn
// has not come.
#include "output/streamed_findings.h"

#include <algorithm>


namespace flawseek {

StreamedFindings::StreamedFindings(RecordsWriter& writer, std::ostream& out, bool include_suppressed)
    : writer_(writer), out_(out), include_suppressed_(include_suppressed) {}

void StreamedFindings::take_findings(const FindingsList&, std::span<FindingRecord> result,
                                     std::string_view later_paths_bound) {
  if (observer_) observer_(result);
  // The result's records come in file, line and column order; each file's
  // run is merged with the waiting files in path order. A file before the
  // bound is written at once, straight from the list, unless an earlier
  // result left findings of it waiting (none does today).
  const std::span<const FindingRecord> all = put_in_output_order(result, include_suppressed_, ordered_);
  for (std::size_t start = 0; start < all.size();) {
    const SharedPath& path = *all[start].file;
    const std::string& file = path;
    std::size_t end = start + 1;
    while (end < all.size() && *all[end].file == path) ++end;
    const std::span<const FindingRecord> run = all.subspan(start, end - start);
    start = end;
    const auto at = waiting_.lower_bound(file);
    const bool settled = !later_paths_bound.empty() && file < later_paths_bound;
    if (!settled || (at != waiting_.end() && at->first == file)) {
      keep(run);
      continue;
    }
    write_waiting(at);
    writer_.write(run, out_);
  }
  if (!later_paths_bound.empty()) write_waiting(waiting_.lower_bound(later_paths_bound));
}

void StreamedFindings::keep(std::span<const FindingRecord> run) {
  const std::string& file = *run.front().file;
  auto at = waiting_.find(file);
  if (at == waiting_.end()) {
    at = waiting_.try_emplace(file).first;
  } else {
    at->second.in_order = false;
  }
  for (const FindingRecord& record : run) {
    at->second.kept.push_back(Kept{record.kind, Finding{*record.file, record.line, record.column, std::string(record.reason)},
                                   std::string(record.detail), record.suppressed});
  }
}

void StreamedFindings::finish() {
  write_waiting(waiting_.end());
  writer_.end(out_);
}

void StreamedFindings::write_waiting(WaitingFiles::iterator until) {
  for (auto file = waiting_.begin(); file != until;) {
    std::vector<Kept>& kept = file->second.kept;
    if (!file->second.in_order) {
      std::stable_sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
        if (a.finding.line != b.finding.line) return a.finding.line < b.finding.line;
        return a.finding.column < b.finding.column;
      });
    }
    records_.clear();
    for (const Kept& one : kept) records_.push_back(FindingRecord::of(one.kind, one.finding, one.detail, one.suppressed));
    writer_.write(records_, out_);
    file = waiting_.erase(file);
  }
}

}  // namespace flawseek
