// Placing findings that rules raise outside the parser's messages.
#include "bugcheck/check_reporter.h"

#include "bugcheck/rules/parser_message_findings.h"

namespace flawseek {

SourcePosition CheckReporter::place_after_last_message(const ParserState& state) noexcept {
  const int last = state.last_message();
  if (last < 0 || last >= parser_message_count) return current_token_position(state);
  return message_place(state, parser_message_findings[static_cast<std::size_t>(last)].place);
}

}  // namespace flawseek
