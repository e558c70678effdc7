// Writing GNU diagnostic lines.
#include "gnu_output.h"

#include "findings/finding_id.h"
#include "rule_catalog.h"

namespace flawseek {

void write_gnu_lines(const std::vector<FindingRecord>& records, const PathStyle& paths, std::ostream& out) {
  DisplayColumns columns;
  std::string line;
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const Finding& finding = *record.finding;
    const std::int32_t column =
        finding.column == no_column ? 1 : columns.display_column(finding.file, finding.line, finding.column);
    line.assign(paths.shown(finding.file));
    line += ':';
    line += std::to_string(finding.line < 1 ? 1 : finding.line);
    line += ':';
    line += std::to_string(column < 1 ? 1 : column);
    line += ": ";
    if (record.kind.is_style()) {
      line += "(style) ";
    } else {
      line += severity_name(record.kind) == "error" ? "error: " : "warning: ";
    }
    line += finding_message(record);
    if (const std::string_view source = finding_source_text(record); !source.empty()) {
      line += ": ";
      line += source;
    }
    line += " [";
    line += finding_id(record.kind);
    line += "]\n";
    out << line;
  }
}

}  // namespace flawseek
