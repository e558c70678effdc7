// Case tests of reserved words, attribute designators and pragma names.
#include "stylecheck/word_case_rule.h"

#include "frontend/text_utilities.h"
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

// The test runs inline: a word is short, and the call to the general test
// cost more than the test itself. `scan` reads the word for letters of one
// case; a word it cannot judge (Latin-1 letters, a long word) or a
// convention byte out of range (which the general test rejects) takes the
// general test.
template <LetterScan (*scan)(std::string_view, case_classes::CharacterClass) noexcept>
[[gnu::always_inline]] inline void test_case(ParserState& state, CaseConvention convention,
                                             ParserMessage complaint) {
  const std::string_view word = state.previous_token_text();
  LetterScan breaking = LetterScan::NONE;
  switch (convention) {
    case CaseConvention::Lower:
      breaking = scan(word, case_classes::UPPER);
      break;
    case CaseConvention::Upper:
      breaking = scan(word, case_classes::LOWER);
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

}  // namespace

void WordCaseRule::test_word(ParserState& state, CaseConvention convention, ParserMessage complaint) {
  if (convention == CaseConvention::Any) return;
  test_case<scan_ascii_letters>(state, convention, complaint);
}

// A reserved word is ASCII letters alone: its scan needs no range test.
void WordCaseRule::test_reserved_word(ParserState& state, CaseConvention convention) {
  test_case<scan_reserved_word>(state, convention, ParserMessage::KEYWORD_SPELLING);
}

void WordCaseRule::on_attribute(ParserState& state) {
  test_word(state, state.style_rules().attribute_case, ParserMessage::ATTRIBUTE_SPELLING);
}

void WordCaseRule::on_pragma_name(ParserState& state) {
  test_word(state, state.style_rules().pragma_case, ParserMessage::PRAGMA_SPELLING);
}

namespace {

// The aspects that specify an attribute, the language's and GNAT's: each is
// also written as an attribute definition clause.
constexpr std::string_view attribute_aspects[] = {
    "address",      "alignment",     "bit_order",        "component_size", "external_tag",
    "input",        "machine_radix", "object_size",      "output",         "put_image",
    "read",         "scalar_storage_order", "simple_storage_pool", "size",  "small",
    "storage_pool", "storage_size",  "stream_size",      "value_size",     "write",
};

bool specifies_attribute(std::string_view mark) noexcept {
  for (const std::string_view aspect : attribute_aspects) {
    if (same_name(aspect, mark)) return true;
  }
  return false;
}

}  // namespace

void WordCaseRule::on_aspect_mark(ParserState& state, std::string_view mark) {
  const StyleRules& rules = state.style_rules();
  if (rules.attribute_case == CaseConvention::Any && rules.pragma_case == CaseConvention::Any) return;
  if (specifies_attribute(mark)) {
    test_word(state, rules.attribute_case, ParserMessage::ASPECT_ATTRIBUTE_SPELLING);
  } else {
    test_word(state, rules.pragma_case, ParserMessage::ASPECT_PRAGMA_SPELLING);
  }
}

}  // namespace flawseek
