// Filing the parser's messages as findings.
#include "bugcheck/parser_message_rule.h"

#include "bugcheck/parser_message_findings.h"

namespace flawseek {

namespace {

SourcePosition place(const ParserState& state, MessagePlace where) noexcept {
  return where == MessagePlace::PREVIOUS_TOKEN ? previous_token_position(state)
                                               : current_token_position(state);
}

}  // namespace

void ParserMessageRule::on_message(const ParserState& state, ParserMessage message,
                                   CheckReporter& reporter) {
  const MessageFinding& finding = message_finding(message);
  const SourcePosition at = place(state, finding.place);
  if (finding.kind.is_style()) {
    reporter.report_style(finding.kind.style_kind(), at);
  } else {
    reporter.report_bug(finding.kind.bug_kind(), at);
  }
}

SourcePosition ParserMessageRule::place_after_last_message(const ParserState& state) noexcept {
  const int last = state.last_message();
  if (last < 0 || last >= parser_message_count) return current_token_position(state);
  return place(state, parser_message_findings[static_cast<std::size_t>(last)].place);
}

}  // namespace flawseek
