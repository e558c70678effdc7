// The detail pane's text.
#include "finding_detail.h"

#include <algorithm>

#include "findings/rule_descriptor.h"
#include "output/finding_records.h"
#include "output/rule_catalog.h"
#include "platform/disk.h"
#include "platform/file_io.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

// The text as HTML shows it, in UTF-8 whatever the source's encoding was.
std::string html(std::string_view text) {
  std::string room;
  const std::string_view utf8 = utf8_text(text, room);
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

SourcePreview read_source_preview(const std::string& file, std::int32_t line, int around) {
  SourcePreview preview;
  std::string text;
  if (const int error = disk().read_file(file, text); error != 0) {
    preview.failure = "cannot read " + file + ": " + file_error_text(error);
    return preview;
  }
  const std::int32_t first = std::max<std::int32_t>(1, line - around);
  const std::int32_t last = std::max<std::int32_t>(line, 1) + around;
  std::int32_t number = 1;
  for (std::size_t at = 0; at <= text.size() && number <= last; ++number) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (number >= first) {
      std::string_view shown(text.data() + at, end - at);
      if (!shown.empty() && shown.back() == '\r') shown.remove_suffix(1);
      if (preview.lines.empty()) preview.first_line = number;
      preview.lines.emplace_back(shown);
    }
    if (end == text.size()) break;
    at = end + 1;
  }
  if (preview.lines.empty()) preview.failure = file + " has no line " + std::to_string(line) + " now";
  return preview;
}

std::string finding_detail_html(const FindingRecord& record, std::string_view shown_file,
                                const SourcePreview& preview) {
  const RuleDescriptor& rule = rule_descriptor(record.kind);
  std::string text = "<p><b>";
  text += html(rule.label());
  text += "</b> [";
  text += html(rule.id);
  text += "] &mdash; ";
  text += html(shown_file);
  if (record.line > 0) {
    text += ':';
    text += std::to_string(record.line);
    if (record.column != no_column) {
      text += ':';
      text += std::to_string(record.column);
    }
  }
  text += "</p><p>" + html(finding_message(record)) + "</p>";

  if (!preview.lines.empty()) {
    text += "<pre>";
    for (std::size_t i = 0; i < preview.lines.size(); ++i) {
      const std::int32_t number = preview.first_line + static_cast<std::int32_t>(i);
      const bool here = number == record.line;
      std::string shown = preview.lines[i];
      // A tab counts one column, as the finding's column does.
      std::replace(shown.begin(), shown.end(), '\t', ' ');
      const std::string number_text = std::to_string(number);
      const std::string margin = std::string(number_text.size() < 6 ? 6 - number_text.size() : 0, ' ') + number_text +
                                 (here ? " > " : " | ");
      if (here) text += "<b>";
      text += html(margin + shown);
      text += here ? "</b>\n" : "\n";
      if (here && record.column != no_column && record.column > 0) {
        text += std::string(margin.size() + static_cast<std::size_t>(record.column - 1), ' ') + "^\n";
      }
    }
    text += "</pre>";
  } else if (!preview.failure.empty()) {
    text += "<p><i>" + html(preview.failure) + "</i></p>";
  }

  text += "<p><b>What it detects.</b> " + html(rule.detects) + "</p>";
  text += "<p><b>Why it matters.</b> " + html(rule.matters) + "</p>";
  text += "<p><b>How to suppress it.</b> " + html(suppression_advice(record.kind)) + "</p>";
  return text;
}

}  // namespace flawseek
