// Checking the name after END of a named construct.
#include "stylecheck/end_name_rule.h"

#include "frontend/text_utilities.h"

namespace flawseek {

void EndNameRule::on_end_name(ParserState& state, EndNameKind kind, std::string_view expected,
                              std::string_view found) {
  const bool statement = is_statement(kind);
  if (found.empty()) {
    if (statement ? !expected.empty() : state.style_rules().identifier_missing_on) {
      missing_name_.assign(expected);
      state.report(statement ? ParserMessage::STATEMENT_END_NAME_MISSING : ParserMessage::UNIT_END_NAME_MISSING);
    }
    return;
  }
  // An end name is nearly always spelled as the construct's own name: the
  // plain comparison settles it without folding a letter.
  if (!expected.empty() && expected != found && !same_name(expected, found)) {
    state.report(statement ? ParserMessage::STATEMENT_END_NAME_DIFFERS : ParserMessage::UNIT_END_NAME_DIFFERS);
  }
}

}  // namespace flawseek
