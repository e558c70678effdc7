// Writing GNU diagnostic lines.
#include "gnu_output.h"

#include <charconv>
#include <iterator>
#include <limits>

#include "findings/finding_id.h"
#include "rule_catalog.h"

namespace flawseek {

namespace {

// The decimal digits of a positive number, written without a temporary string.
void append_number(std::string& line, std::int32_t number) {
  char digits[std::numeric_limits<std::int32_t>::digits10 + 1];
  const auto written = std::to_chars(std::begin(digits), std::end(digits), number);
  line.append(digits, written.ptr);
}

}  // namespace

void write_gnu_lines(const std::vector<FindingRecord>& records, const PathStyle& paths, std::ostream& out) {
  DisplayColumns columns;
  ShownPaths shown_paths(paths);
  std::string line;
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const Finding& finding = *record.finding;
    const std::int32_t column =
        finding.column == no_column ? 1 : columns.display_column(finding.file, finding.line, finding.column);
    line.assign(shown_paths.shown(finding.file));
    line += ':';
    append_number(line, finding.line < 1 ? 1 : finding.line);
    line += ':';
    append_number(line, column < 1 ? 1 : column);
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
