// Filing the parser's messages as findings.
#include "bugcheck/rules/parser_message_rule.h"

#include "bugcheck/rules/parser_message_findings.h"

namespace flawseek {

namespace {

// Out of line: the detail's string would make every style message, by far
// the most, save registers and set up a frame on its way.
[[gnu::noinline]] void report_bug_message(const ParserState& state, ParserMessage message, BugKind kind,
                                          SourcePosition at, CheckReporter& reporter) {
  reporter.report_described_bug(kind, at, bug_message_detail(state, message));
}

}  // namespace

void ParserMessageRule::on_message(const ParserState& state, ParserMessage message, std::string_view text,
                                   CheckReporter& reporter, const StyleComplainants& complainants) {
  const MessageFinding& finding = message_finding(message);
  const SourcePosition at = message_place(state, finding.place);
  if (!finding.kind.is_style()) {
    report_bug_message(state, message, finding.kind.bug_kind(), at, reporter);
  } else {
    report_style_message(state, message, finding.kind.style_kind(), at, text, reporter, complainants);
  }
}

// Out of line for the same reason as report_bug_message: the words are
// built here, for every reported style finding and nothing else.
[[gnu::noinline]] void ParserMessageRule::report_style_message(const ParserState& state, ParserMessage message,
                                                               StyleKind kind, SourcePosition at,
                                                               std::string_view text, CheckReporter& reporter,
                                                               const StyleComplainants& complainants) {
  const std::string_view line_text = text.empty() ? reporter.line_text(at.line) : text;
  if (!reporter.style_details_wanted()) {
    reporter.report_style(kind, at, line_text);
    return;
  }
  const std::string_view detail = style_message_detail(state, message, line_text, at.column, complainants, detail_room_);
  reporter.report_described_style(kind, at, line_text, detail);
}

std::string bug_message_detail(const ParserState& state, ParserMessage message) {
  switch (message) {
    case ParserMessage::SYNTAX_ERROR:
      // The parser's bare "Syntax error" says no more than the kind does.
      return state.syntax_message() == "Syntax error" ? std::string() : state.syntax_message();
    case ParserMessage::STATEMENT_END_NAME_DIFFERS:
      return "name after end differs from the loop's or block's name";
    case ParserMessage::UNIT_END_NAME_DIFFERS:
      return "name after end differs from the unit's name";
    case ParserMessage::UNKNOWN_ATTRIBUTE: {
      std::string text = "unrecognized attribute \"";
      text += state.previous_token().text;
      text += '"';
      return text;
    }
    default:
      return {};
  }
}

}  // namespace flawseek
