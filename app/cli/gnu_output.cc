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
  // Lines are handed to the stream in blocks: one insertion per line cost
  // more than building the line.
  constexpr std::size_t block_size = 1 << 16;
  DisplayColumns columns;
  ShownPaths shown_paths(paths);
  std::string text;
  text.reserve(block_size + 1024);
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const Finding& finding = *record.finding;
    const std::int32_t column =
        finding.column == no_column ? 1 : columns.display_column(finding.file, finding.line, finding.column);
    text += shown_paths.shown(finding.file);
    text += ':';
    append_number(text, finding.line < 1 ? 1 : finding.line);
    text += ':';
    append_number(text, column < 1 ? 1 : column);
    text += ": ";
    if (record.kind.is_style()) {
      text += "(style) ";
    } else {
      text += severity_name(record.kind) == "error" ? "error: " : "warning: ";
    }
    text += finding_message(record);
    if (const std::string_view source = finding_source_text(record); !source.empty()) {
      text += ": ";
      text += source;
    }
    text += " [";
    text += finding_id(record.kind);
    text += "]\n";
    if (text.size() >= block_size) {
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      text.clear();
    }
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace flawseek
