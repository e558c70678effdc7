// Counting findings per kind.
#include "output/finding_statistics.h"

#include <algorithm>
#include <vector>

#include "findings/finding_id.h"
#include "findings/findings_list.h"

namespace flawseek {

namespace {

// The kinds with findings, most first; ties in id order.
std::vector<FindingKind> kinds_by_count(const KindCounts& counts) {
  std::vector<FindingKind> kinds;
  for (int index = 0; index < FindingKind::count; ++index) {
    if (counts[static_cast<std::size_t>(index)] > 0) kinds.push_back(FindingKind::from_index(index));
  }
  std::sort(kinds.begin(), kinds.end(), [&counts](FindingKind a, FindingKind b) {
    const std::int64_t left = counts[static_cast<std::size_t>(a.index())];
    const std::int64_t right = counts[static_cast<std::size_t>(b.index())];
    return left != right ? left > right : finding_id(a) < finding_id(b);
  });
  return kinds;
}

void append_row(std::string& text, std::int64_t count, std::string_view what) {
  const std::string number = std::to_string(count);
  text.append(number.size() < 7 ? 7 - number.size() : 0, ' ');
  text += number;
  text += "  ";
  text += what;
  text += '\n';
}

}  // namespace

KindCounts kind_counts(const FindingsList& findings) {
  KindCounts counts{};
  for (int index = 0; index < FindingKind::count; ++index) {
    counts[static_cast<std::size_t>(index)] = findings.count(FindingKind::from_index(index));
  }
  return counts;
}

std::string statistics_text(const KindCounts& counts) {
  std::string text;
  std::int64_t total = 0;
  for (const FindingKind kind : kinds_by_count(counts)) {
    const std::int64_t count = counts[static_cast<std::size_t>(kind.index())];
    append_row(text, count, finding_id(kind));
    total += count;
  }
  append_row(text, total, "total");
  return text;
}

nlohmann::ordered_json statistics_json(const KindCounts& counts) {
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (const FindingKind kind : kinds_by_count(counts)) {
    rows.push_back({{"id", std::string(finding_id(kind))},
                    {"label", kind.label()},
                    {"count", counts[static_cast<std::size_t>(kind.index())]}});
  }
  return rows;
}

}  // namespace flawseek
