// Findings turned into the protocol's diagnostics and edits.
#include "lsp_diagnostics.h"

#include "findings/rule_descriptor.h"
#include "output/finding_records.h"
#include "build_info.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

int protocol_severity(Severity severity) {
  switch (severity) {
    case Severity::ERROR:
      return 1;
    case Severity::WARNING:
      return 2;
    case Severity::NOTE:
      return 3;
  }
  return 1;
}

// Letters, digits and underscores, and every byte of a UTF-8 letter: the
// bytes an Ada word is made of.
bool word_byte(char c) {
  const auto code = static_cast<unsigned char>(c);
  return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || c == '_' ||
         code >= 0x80;
}

// From the byte `column` (0-based) of `line` to the end of the word there,
// or of the one character there when it starts no word.
std::size_t word_end(std::string_view line, std::size_t column) {
  if (column >= line.size()) return line.size();
  if (!word_byte(line[column])) {
    std::size_t end = column + 1;
    while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) ++end;
    return end;
  }
  std::size_t end = column;
  while (end < line.size() && word_byte(line[end])) ++end;
  return end;
}

TextRange finding_range(std::int32_t line_number, std::int32_t column, const LineStarts& lines) {
  // A finding of the whole file stands at its first line.
  const std::int64_t line = line_number > 0 ? line_number - 1 : 0;
  const std::string_view text = lines.line_text(line);
  TextRange range;
  range.start.line = range.end.line = line;
  if (line_number <= 0 || column == no_column || column <= 0) {
    range.end.character = utf16_length(text);
    return range;
  }
  const std::size_t start = std::min(static_cast<std::size_t>(column - 1), text.size());
  range.start.character = utf16_length(text.substr(0, start));
  range.end.character = range.start.character + utf16_length(text.substr(start, word_end(text, start) - start));
  return range;
}

}  // namespace

std::string rule_page(std::string_view id) {
  std::string page = build_info::product_homepage;
  if (!page.empty() && page.back() != '/') page.push_back('/');
  return page + "rules/" + std::string(id);
}

void add_document_findings(std::span<const FindingRecord> records, const std::string& path, const LineStarts& lines,
                           std::vector<DocumentFinding>& findings) {
  for (const FindingRecord& record : records) {
    if (record.file->str() != path) continue;
    const RuleDescriptor& rule = rule_descriptor(record.kind);
    DocumentFinding& finding = findings.emplace_back();
    finding.range = finding_range(record.line, record.column, lines);
    finding.severity = protocol_severity(rule.severity);
    finding.code = std::string(rule.id);
    finding.message = utf8_text(finding_message(record));
    finding.fix = source_fix(record);
  }
}

DocumentFinding document_notice(int severity, std::string message, const LineStarts& lines) {
  DocumentFinding notice;
  notice.range = finding_range(0, no_column, lines);
  notice.severity = severity;
  notice.code = "project-file";
  notice.of_rule = false;
  notice.message = utf8_text(message);
  return notice;
}

nlohmann::json range_json(const TextRange& range) {
  return {{"start", {{"line", range.start.line}, {"character", range.start.character}}},
          {"end", {{"line", range.end.line}, {"character", range.end.character}}}};
}

nlohmann::json diagnostic_json(const DocumentFinding& finding) {
  nlohmann::json diagnostic = {{"range", range_json(finding.range)},
                               {"severity", finding.severity},
                               {"code", finding.code},
                               {"source", "flawseek"},
                               {"message", finding.message}};
  if (finding.of_rule) diagnostic["codeDescription"] = {{"href", rule_page(finding.code)}};
  return diagnostic;
}

std::optional<TextRange> fix_range(const SourceFix& fix, const LineStarts& lines) {
  if (fix.line <= 0 || fix.column <= 0) return std::nullopt;
  const std::string_view text = lines.line_text(fix.line - 1);
  const auto start = static_cast<std::size_t>(fix.column - 1);
  if (start > text.size() || text.substr(start, fix.replaced.size()) != fix.replaced) return std::nullopt;
  TextRange range;
  range.start.line = range.end.line = fix.line - 1;
  range.start.character = utf16_length(text.substr(0, start));
  range.end.character = range.start.character + utf16_length(fix.replaced);
  return range;
}

}  // namespace flawseek
