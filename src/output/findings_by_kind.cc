// A findings list read kind by kind.
#include "output/findings_by_kind.h"

#include "findings/findings_list.h"

namespace flawseek {

std::int64_t ListedFindings::count(FindingKind kind) const {
  return list_.count(kind);
}
std::int64_t ListedFindings::findings_count() const { return list_.findings_count(); }
std::int64_t ListedFindings::style_count() const { return list_.style_count(); }

void ListedFindings::for_each(FindingKind kind, const std::function<void(const KindFinding&)>& visit) const {
  const FindingsList::Findings& findings = list_.findings(kind);
  const std::vector<std::uint32_t>& starts = list_.file_item_starts(kind);
  const std::span<const FindingNotes::Detail> details = list_.notes().details(kind);
  std::size_t next_start = 0;
  std::size_t next_detail = 0;
  for (std::size_t position = 0; position < findings.size(); ++position) {
    const Finding& finding = findings[position];
    const bool starts_item = next_start < starts.size() && starts[next_start] == position;
    if (starts_item) ++next_start;
    while (next_detail < details.size() && details[next_detail].position < position) ++next_detail;
    std::string_view detail;
    if (next_detail < details.size() && details[next_detail].position == position) detail = details[next_detail].text;
    visit(KindFinding{finding.file, finding.line, finding.column, finding.reason, detail, starts_item});
  }
}

}  // namespace flawseek
