// The granularity rule over the outermost open list.
#include "bugcheck/rules/granularity_rule.h"

#include "bugcheck/rules/use_position.h"

namespace flawseek {

namespace {

// The lists through which a value is handed on. A formal or discriminant
// part only declares defaults, and the other lists hold no expressions.
bool hands_on(ListKind kind) noexcept {
  switch (kind) {
    case ListKind::ACTUAL_PARAMETERS:
    case ListKind::AGGREGATE:
    case ListKind::INDEX_OR_DISCRIMINANT_CONSTRAINT:
    case ListKind::PRAGMA_ARGUMENTS:
    case ListKind::GENERIC_ACTUALS:
      return true;
    case ListKind::DISCRIMINANT_PART:
    case ListKind::FORMAL_PART:
    case ListKind::ENUMERATION_TYPE:
    case ListKind::SUBUNIT_NAME:
      return false;
  }
  return false;
}

// An operator right after the list's ")" takes the list's value into
// arithmetic: `Integer (Address'Size) - 1` converts the bit count and
// computes with it, nothing is handed on bare.
bool operator_follows(const ParserState& state) noexcept {
  const AdaLexer& lexer = state.lexer();
  const int symbol = lexer.symbol();
  if (symbol >= 0) {
    switch (static_cast<AdaSymbol>(symbol)) {
      case AdaSymbol::EQUAL: case AdaSymbol::NOT_EQUAL: case AdaSymbol::GREATER:
      case AdaSymbol::GREATER_EQUAL: case AdaSymbol::LESS: case AdaSymbol::LESS_EQUAL:
      case AdaSymbol::AMPERSAND: case AdaSymbol::PLUS: case AdaSymbol::MINUS: case AdaSymbol::STAR:
      case AdaSymbol::SLASH: case AdaSymbol::POWER: case AdaSymbol::DOUBLE_DOT:
        return true;
      default:
        return false;
    }
  }
  return lexer.is_keyword(AdaKeyword::KEYWORD_MOD) || lexer.is_keyword(AdaKeyword::KEYWORD_REM) ||
         lexer.is_keyword(AdaKeyword::KEYWORD_IN) || lexer.is_keyword(AdaKeyword::KEYWORD_NOT);
}

}  // namespace

void GranularityRule::list_opened(ListKind kind) noexcept {
  const bool attribute_arguments = state_.attribute_arguments_follow;
  state_.attribute_arguments_follow = false;
  if (!hands_on(kind)) return;
  if (state_.list_nesting == 0) {
    state_.size_seen = false;
    state_.size_used_in_arithmetic = false;
  }
  ++state_.list_nesting;
  if (attribute_arguments && state_.attribute_list == 0) state_.attribute_list = state_.list_nesting;
}

void GranularityRule::end_of_element(const ParserState& state, CheckReporter& reporter) {
  if (state_.list_nesting != 1) return;
  report_bare_size(state, reporter);
}

void GranularityRule::report_bare_size(const ParserState& state, CheckReporter& reporter) {
  if (!state_.size_seen || state_.size_used_in_arithmetic) return;
  state_.size_seen = false;
  state_.size_used_in_arithmetic = false;
  reporter.report_bug(BugKind::WRONG_GRANULARITY, use_position(state));
}

void GranularityRule::list_element_ended(const ParserState& state, ListKind kind, CheckReporter& reporter) {
  if (hands_on(kind)) end_of_element(state, reporter);
}

void GranularityRule::list_closed(const ParserState& state, ListKind kind, CheckReporter& reporter) {
  if (!hands_on(kind) || state_.list_nesting == 0) return;
  if (state_.attribute_list == state_.list_nesting) state_.attribute_list = 0;
  // Adjust the nesting first: the report may end the file.
  const bool outermost = state_.list_nesting == 1;
  --state_.list_nesting;
  if (outermost && !operator_follows(state)) report_bare_size(state, reporter);
}

void GranularityRule::attribute_accepted(const ParserState& state, std::string_view designator) noexcept {
  if (designator == "size" && state_.attribute_list == 0) state_.size_seen = true;
  // An attribute whose arguments follow: Image, Max, Val and the like.
  state_.attribute_arguments_follow = state.lexer().is_symbol(AdaSymbol::LEFT_PAREN);
}

}  // namespace flawseek
