// The kinds a run reports, by path.
#include "findings/reported_kinds.h"

#include <algorithm>

namespace flawseek {

bool ReportedKinds::narrows() const {
  return !path_rules_.empty() || std::find(everywhere_.begin(), everywhere_.end(), false) != everywhere_.end();
}

ReportedKinds::Mask ReportedKinds::for_file(std::string_view file) const {
  Mask reported = everywhere_;
  if (path_rules_.empty()) return reported;
  const std::string path = path_rules_.front().where.absolute_path(file);
  for (const PathRule& rule : path_rules_) {
    if (!rule.where.matches_absolute(path)) continue;
    for (std::size_t index = 0; index < reported.size(); ++index) reported[index] = reported[index] && !rule.dropped[index];
  }
  return reported;
}

void ReportedKinds::report_everywhere(FindingKind kind) {
  const auto index = static_cast<std::size_t>(kind.index());
  everywhere_[index] = true;
  for (PathRule& rule : path_rules_) rule.dropped[index] = false;
}

}  // namespace flawseek
