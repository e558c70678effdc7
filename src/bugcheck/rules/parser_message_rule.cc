// Filing the parser's messages as findings.
#include "bugcheck/rules/parser_message_rule.h"

#include "bugcheck/rules/parser_message_findings.h"

namespace flawseek {

void ParserMessageRule::on_message(const ParserState& state, ParserMessage message, std::string_view text,
                                   CheckReporter& reporter) {
  const MessageFinding& finding = message_finding(message);
  const SourcePosition at = message_place(state, finding.place);
  if (finding.kind.is_style()) {
    if (!text.empty()) {
      reporter.report_style(finding.kind.style_kind(), at, text);
    } else {
      reporter.report_style(finding.kind.style_kind(), at);
    }
  } else {
    reporter.report_bug(finding.kind.bug_kind(), at);
  }
}

}  // namespace flawseek
