// The letter case of the words the rules spell for the writer: reserved
// words, attribute designators and pragma names.
//
// Detects a reserved word against the keyword case (BAD_KEYWORD, message 2;
// not inside embedded SQL, whose words are no Ada words), an attribute
// designator after a tick against the attribute case (BAD_ATTRIBUTE, 0) and
// the name after PRAGMA against the pragma case (BAD_PRAGMA, 3). An aspect
// mark is spelled as what it stands for: a mark that specifies an attribute
// (with Size => 32, for T'Size use 32) against the attribute case (23), any
// other (with Inline, with Pre => ...; most name a pragma) against the pragma
// case (24). Each word is the token the parser consumed last, so the finding
// stands at the word.
#pragma once

#include <string_view>

#include "frontend/parser_hooks.h"
#include "style/case_convention.h"

namespace flawseek {

class WordCaseRule {
 public:
  // Inline up to the rules: a run without a keyword case tests no word.
  void on_keyword(ParserState& state) {
    if (state.style_rules().keyword_case == CaseConvention::Any || state.in_sql()) return;
    test_reserved_word(state, state.style_rules().keyword_case);
  }
  void on_attribute(ParserState& state);
  void on_pragma_name(ParserState& state);
  void on_aspect_mark(ParserState& state, std::string_view mark);

 private:
  static void test_word(ParserState& state, CaseConvention convention, ParserMessage complaint);
  // The same for the reserved word just read, whose letters are all ASCII.
  static void test_reserved_word(ParserState& state, CaseConvention convention);
};

}  // namespace flawseek
