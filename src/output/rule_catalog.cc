// The rule texts as a terminal shows them, read from the kinds' descriptor rows.
#include "output/rule_catalog.h"

#include <array>

#include "findings/finding_id.h"
#include "findings/rule_descriptor.h"
#include "platform/label.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

// A paragraph broken into lines of at most 78 characters, each indented by
// two blanks, for a terminal.
std::string indented_paragraph(std::string_view text) {
  constexpr std::size_t width = 76;
  std::string result;
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      result += "  " + line + "\n";
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
    start = end + 1;
  }
  if (!line.empty()) result += "  " + line + "\n";
  return result;
}

}  // namespace

std::optional<std::string> suppression_mark_text(FindingKind kind) {
  const std::string_view mark = rule_descriptor(kind).mark;
  if (mark.empty()) return std::nullopt;
  return "-->" + std::string(mark) + ":";
}

std::string suppression_advice(FindingKind kind) {
  if (const auto mark = suppression_mark_text(kind)) {
    return "Write the comment " + *mark +
           " followed by the reason on the finding's line; it suppresses one finding of this kind on that "
           "line (write the word twice for two findings).";
  }
  if (kind.is_style()) {
    return "No mark suppresses a style finding. Leave the kind out of the job (--style, --style-set), or "
           "write -->STYLE: NONE in column 1 to switch the style checks off for the rest of the file.";
  }
  return "It cannot be suppressed: mend the file, or leave the finding out with --fail-on or --baseline.";
}

std::optional<FindingKind> find_kind_by_any_name(std::string_view text) {
  if (const auto kind = find_finding_id(text)) return kind;
  // A style kind's id without its "style/", a literal or a label.
  std::string words;
  for (char c : text) words.push_back(c == '-' || c == ' ' ? '_' : c);
  if (const auto kind = find_finding_id(words)) return kind;
  if (const auto kind = find_finding_id("style/" + words)) return kind;
  // A bug kind's mark word ("NP", "-->NP:").
  std::string_view word = text;
  if (word.starts_with("-->")) word.remove_prefix(3);
  if (word.ends_with(":")) word.remove_suffix(1);
  for (const RuleDescriptor& row : rule_descriptors) {
    if (!row.mark.empty() && latin1::equal_ignoring_case(word, row.mark)) return row.kind;
  }
  return std::nullopt;
}

std::string rule_list_text() {
  std::string text;
  auto column = [&text](std::string_view value, std::size_t width) {
    text += value;
    if (value.size() < width) text.append(width - value.size(), ' ');
    text += "  ";
  };
  column("ID", 40);
  column("LABEL", 34);
  column("FAMILY", 6);
  column("MARK", 7);
  column("FIX", 3);
  text += "ENABLED BY\n";
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    column(finding_id(kind), 40);
    column(kind.label(), 34);
    column(family_name(kind), 6);
    column(suppression_mark_text(kind).value_or("-"), 7);
    column(rule_descriptor(kind).fixable ? "yes" : "-", 3);
    text += rule_descriptor(kind).enabled_by;
    text += '\n';
  }
  return text;
}

std::string rule_explanation_text(FindingKind kind) {
  const RuleDescriptor& entry = rule_descriptor(kind);
  std::string text;
  text += std::string(finding_id(kind)) + ": " + kind.label() + " (" + std::string(family_name(kind)) + ", " +
          std::string(severity_name(kind)) + ")\n\n";
  text += "What it detects\n" + indented_paragraph(entry.detects) + "\n";
  text += "Why it matters\n" + indented_paragraph(entry.matters) + "\n";
  text += "Enabled by\n" + indented_paragraph(entry.enabled_by) + "\n";
  if (entry.fixable) {
    text += "Fix\n" + indented_paragraph("Mechanical: --fix rewrites the source as the finding's message asks, and "
                                          "--diff shows the change without writing it.") + "\n";
  }
  if (!entry.example.empty()) {
    text += "Example\n";
    std::string_view rest = entry.example;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      text += "  ";
      text += rest.substr(0, end);
      text += '\n';
      rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    text += '\n';
  }
  text += "How to suppress it\n" + indented_paragraph(suppression_advice(kind));
  return text;
}

}  // namespace flawseek
