// Case tests of reserved words, attribute designators and pragma names.
#include "stylecheck/word_case_rule.h"

#include "style/case_convention.h"
#include "style/letter_case_scan.h"
#include "style/mixed_case_machine.h"
#include "stylecheck/word_report.h"

namespace flawseek {

namespace {

// The rare ends of the word test, each reached by a tail call, so the usual
// word saves no registers.
[[gnu::noinline]] void report_word(ParserState& state, ParserMessage complaint) { report_at_word(state, complaint); }
[[gnu::noinline]] void test_by_classes(ParserState& state, CaseConvention convention, ParserMessage complaint) {
  if (!follows_case(state.previous_token_text(), convention)) report_at_word(state, complaint);
}

}  // namespace

// The tests run inline: a word is short, and the call to the general test
// cost more than the test itself. A word of Latin-1 letters, a long one, or
// a convention byte out of range (which the general test rejects) takes the
// general test.
void WordCaseRule::test_word(ParserState& state, CaseConvention convention, ParserMessage complaint) {
  if (convention == CaseConvention::Any) return;
  const std::string_view word = state.previous_token_text();
  LetterScan breaking = LetterScan::NONE;
  switch (convention) {
    case CaseConvention::Lower:
      breaking = scan_ascii_letters(word, case_classes::UPPER);
      break;
    case CaseConvention::Upper:
      breaking = scan_ascii_letters(word, case_classes::LOWER);
      break;
    case CaseConvention::Mixed:
      breaking = mixed_case_holds(word) ? LetterScan::NONE : LetterScan::FOUND;
      break;
    default:
      breaking = LetterScan::UNDECIDED;
      break;
  }
  if (breaking == LetterScan::NONE) return;
  if (breaking == LetterScan::UNDECIDED) return test_by_classes(state, convention, complaint);
  report_word(state, complaint);
}

void WordCaseRule::test_reserved_word(ParserState& state, CaseConvention convention) {
  constexpr ParserMessage complaint = ParserMessage::KEYWORD_SPELLING;
  const std::string_view word = state.previous_token_text();
  LetterScan breaking = LetterScan::NONE;
  switch (convention) {
    case CaseConvention::Lower:
      breaking = scan_reserved_word(word, case_classes::UPPER);
      break;
    case CaseConvention::Upper:
      breaking = scan_reserved_word(word, case_classes::LOWER);
      break;
    case CaseConvention::Mixed:
      breaking = mixed_case_holds(word) ? LetterScan::NONE : LetterScan::FOUND;
      break;
    default:
      breaking = LetterScan::UNDECIDED;
      break;
  }
  if (breaking == LetterScan::NONE) return;
  if (breaking == LetterScan::UNDECIDED) return test_by_classes(state, convention, complaint);
  report_word(state, complaint);
}

void WordCaseRule::on_attribute(ParserState& state) {
  test_word(state, state.style_rules().attribute_case, ParserMessage::ATTRIBUTE_SPELLING);
}

void WordCaseRule::on_pragma_name(ParserState& state) {
  test_word(state, state.style_rules().pragma_case, ParserMessage::PRAGMA_SPELLING);
}

}  // namespace flawseek
