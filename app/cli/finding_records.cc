// Flattening and ordering the findings; display columns and file names.
#include "finding_records.h"

#include <algorithm>
#include <fstream>

#include "findings/findings_list.h"
#include "rule_catalog.h"

namespace flawseek {

std::vector<FindingRecord> ordered_findings(const FindingsList& findings, bool include_suppressed) {
  std::vector<FindingRecord> records;
  records.reserve(static_cast<std::size_t>(findings.findings_count()));
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    std::size_t position = 0;
    for (const Finding& finding : findings.findings(kind)) {
      records.push_back({kind, &finding, findings.notes().detail(kind, position), false});
      ++position;
    }
  }
  if (include_suppressed) {
    for (const SuppressedFinding& suppressed : findings.notes().suppressed()) {
      records.push_back({suppressed.kind, &suppressed.finding, {}, true});
    }
  }
  std::stable_sort(records.begin(), records.end(), [](const FindingRecord& a, const FindingRecord& b) {
    if (a.finding->file != b.finding->file) return a.finding->file < b.finding->file;
    if (a.finding->line != b.finding->line) return a.finding->line < b.finding->line;
    return a.finding->column < b.finding->column;
  });
  return records;
}

std::string finding_message(const FindingRecord& record) {
  if (!record.detail.empty()) return std::string(record.detail);
  return std::string(rule_entry(record.kind).sentence);
}

std::string_view finding_source_text(const FindingRecord& record) {
  if (record.kind == StyleKind::LINE_TOO_LONG) return {};
  return record.finding->reason;
}

std::int32_t expand_tabs_column(std::string_view line_text, std::int32_t column) {
  if (column < 1) return column;
  std::int32_t shown = 1;
  const std::size_t before = static_cast<std::size_t>(column - 1);
  for (std::size_t i = 0; i < before; ++i) {
    if (i < line_text.size() && line_text[i] == '\t') {
      shown = (shown - 1) / 8 * 8 + 9;
    } else {
      ++shown;
    }
  }
  return shown;
}

std::int32_t DisplayColumns::display_column(const std::string& file, std::int32_t line, std::int32_t column) {
  if (file != file_) {
    file_ = file;
    lines_.clear();
    std::ifstream in(file, std::ios::binary);
    std::string text;
    while (std::getline(in, text)) lines_.push_back(std::move(text));
  }
  if (line < 1 || static_cast<std::size_t>(line) > lines_.size()) return column;
  return expand_tabs_column(lines_[static_cast<std::size_t>(line - 1)], column);
}

std::string PathStyle::shown(const std::string& file) const {
  if (!base_) return file;
  const std::filesystem::path relative = std::filesystem::path(file).lexically_relative(*base_);
  return relative.empty() ? file : relative.string();
}

}  // namespace flawseek
