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

void GnuLinesWriter::write(std::span<const FindingRecord> records, std::ostream& out) {
  // Lines are handed to the stream in blocks: one insertion per line cost
  // more than building the line.
  constexpr std::size_t block_size = 1 << 16;
  text_.clear();
  text_.reserve(block_size + 1024);
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const Finding& finding = *record.finding;
    const std::int32_t column =
        finding.column == no_column ? 1 : columns_.display_column(finding.file, finding.line, finding.column);
    text_ += shown_paths_.shown(finding.file);
    text_ += ':';
    append_number(text_, finding.line < 1 ? 1 : finding.line);
    text_ += ':';
    append_number(text_, column < 1 ? 1 : column);
    text_ += ": ";
    if (record.kind.is_style()) {
      text_ += "(style) ";
    } else {
      text_ += severity_name(record.kind) == "error" ? "error: " : "warning: ";
    }
    text_ += finding_message(record);
    if (const std::string_view source = finding_source_text(record); !source.empty()) {
      text_ += ": ";
      text_ += source;
    }
    text_ += " [";
    text_ += finding_id(record.kind);
    text_ += "]\n";
    if (text_.size() >= block_size) {
      out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
      text_.clear();
    }
  }
  out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
}

}  // namespace flawseek
