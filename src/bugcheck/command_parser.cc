// Interpreting the text of a "-->" comment command.
#include "bugcheck/command_parser.h"

#include "bugcheck/bug_command_keyword.h"
#include "frontend/ada_token_lists.h"
#include "style/style_command.h"

namespace flawseek {

CommandParser::CommandParser() : scanner_(make_command_scanner(bug_command_keyword_list())) {
  text_.reserve(command_max_line_length + 1);
  local_marks_.reserve(16);
}

std::optional<StyleRules> CommandParser::parse(std::string_view text, std::int32_t line, std::int32_t column,
                                               bool style_checks_on, MarkList& marks) {
  text_.assign(text);
  try {
    scanner_.set_text(&text_, 1);
    if (!next()) return std::nullopt;
    if (style_checks_on &&
        scanner_.keyword_or_none() == static_cast<int>(BugCommandKeyword::KEYWORD_STYLE)) {
      return parse_style_command();
    }
    parse_mark_command(line, column, marks);
  } catch (const TextParserError&) {
    // Only a scanner fault could get here; the command is dropped like a
    // malformed one rather than ending the file's analysis.
  }
  return std::nullopt;
}

// STYLE ":" (NONE | TAVIK | TAVIK_95 | BRIGHTMOOR); the current token is STYLE.
std::optional<StyleRules> CommandParser::parse_style_command() {
  if (!next() || scanner_.symbol_or_none() != command_symbol_colon) return std::nullopt;
  if (!next() || scanner_.token_kind() != TokenKind::Keyword) return std::nullopt;
  return installed_style_rules(scanner_.token_text());
}

// word {"," word} ":" free text; the current token is the first one.
void CommandParser::parse_mark_command(std::int32_t line, std::int32_t column, MarkList& marks) {
  local_marks_.clear();
  bool more = true;
  for (;;) {
    const int keyword = scanner_.keyword_or_none();
    if (keyword >= 0) {
      if (const auto kind = marked_kind(static_cast<BugCommandKeyword>(keyword))) {
        local_marks_.push_back(*kind);
        more = next();
      }
    }
    if (!more) return;
    const int symbol = scanner_.symbol_or_none();
    if (symbol == command_symbol_colon) {
      for (const BugKind kind : local_marks_) marks.append(SuppressionMark{kind, line, column});
      return;
    }
    if (symbol != command_symbol_comma) return;
    more = next();
    if (!more) return;
  }
}

}  // namespace flawseek
