// Case tests of reserved words, attribute designators and pragma names.
#include "stylecheck/word_case_rule.h"

#include "style/case_convention.h"
#include "stylecheck/word_report.h"

namespace flawseek {

void WordCaseRule::test_word(ParserState& state, CaseConvention convention, ParserMessage complaint) {
  if (convention == CaseConvention::Any) return;
  if (!follows_case(state.previous_token_text(), convention)) report_at_word(state, complaint);
}

void WordCaseRule::on_attribute(ParserState& state) {
  test_word(state, state.style_rules().attribute_case, ParserMessage::ATTRIBUTE_SPELLING);
}

void WordCaseRule::on_pragma_name(ParserState& state) {
  test_word(state, state.style_rules().pragma_case, ParserMessage::PRAGMA_SPELLING);
}

}  // namespace flawseek
