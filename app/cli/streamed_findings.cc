// Keeping each result's findings until their turn, and writing them in it.
#include "streamed_findings.h"

#include <algorithm>

#include "finding_records.h"
#include "findings/findings_list.h"

namespace flawseek {

StreamedFindings::StreamedFindings(RecordsWriter& writer, std::ostream& out, bool include_suppressed)
    : writer_(writer), out_(out), include_suppressed_(include_suppressed) {}

void StreamedFindings::take_findings(const FindingsList& list) {
  if (observer_) observer_(list);
  // In file, line and column order already; a file that came back in a
  // later result (none does today) is put in order when it is written.
  for (const FindingRecord& record : ordered_findings(list, include_suppressed_)) {
    const Finding& finding = *record.finding;
    auto file = waiting_.find(finding.file.str());
    if (file == waiting_.end()) file = waiting_.try_emplace(finding.file.str()).first;
    file->second.push_back(Kept{record.kind, finding, std::string(record.detail), record.suppressed});
  }
}

void StreamedFindings::settle_paths_before(std::string_view bound) { write_files(waiting_.lower_bound(bound)); }

void StreamedFindings::finish() {
  write_files(waiting_.end());
  writer_.end(out_);
}

void StreamedFindings::write_files(std::map<std::string, std::vector<Kept>, std::less<>>::iterator until) {
  for (auto file = waiting_.begin(); file != until;) {
    std::vector<Kept>& kept = file->second;
    std::stable_sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
      if (a.finding.line != b.finding.line) return a.finding.line < b.finding.line;
      return a.finding.column < b.finding.column;
    });
    records_.clear();
    for (const Kept& one : kept) records_.push_back({one.kind, &one.finding, one.detail, one.suppressed});
    writer_.write(records_, out_);
    file = waiting_.erase(file);
  }
}

}  // namespace flawseek
