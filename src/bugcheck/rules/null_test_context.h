// NullTestContext: whether a comparison with null says what the access-value
// rules take it to say. Under a NOT it says the opposite (`not (P = null)`),
// and a name with index or call arguments (`T (I) = null`) reaches the rules
// as its text without them, so it cannot be told from `T (J)`; the rules
// leave both kinds of test aside rather than report correct code.
#pragma once

#include "frontend/parser_hooks.h"

namespace flawseek {

struct NullTestState {
  // Depth of the parenthesised lists open now.
  int list_depth = 0;
  // The depth of the parentheses after the outermost open NOT; 0 when none.
  int negated_depth = 0;
  // An argument list closed since the last completed name, and whether the
  // last completed name had one.
  bool arguments_closed = false;
  bool last_name_had_arguments = false;
};

class NullTestContext {
 public:
  void reset() noexcept { state_ = {}; }

  // Only NOT: the check hooks' keyword list names it.
  static constexpr AdaKeywords keywords_acted_on{AdaKeyword::KEYWORD_NOT};
  void keyword_accepted(const ParserState& state, AdaKeyword keyword) noexcept {
    // A NOT of a parenthesised expression; `not in` and `not Flag` test nothing.
    if (keyword != AdaKeyword::KEYWORD_NOT || state_.negated_depth != 0) return;
    if (state.lexer().is_symbol(AdaSymbol::LEFT_PAREN)) state_.negated_depth = state_.list_depth + 1;
  }
  void list_opened() noexcept { ++state_.list_depth; }
  void list_closed(ListKind kind) noexcept {
    if (state_.list_depth > 0) --state_.list_depth;
    if (state_.list_depth < state_.negated_depth) state_.negated_depth = 0;
    if (kind == ListKind::ACTUAL_PARAMETERS) state_.arguments_closed = true;
  }
  void name_completed() noexcept {
    state_.last_name_had_arguments = state_.arguments_closed;
    state_.arguments_closed = false;
  }

  // The comparison with null just parsed tests a plain name, not negated.
  bool plain() const noexcept { return state_.negated_depth == 0 && !state_.last_name_had_arguments; }

 private:
  NullTestState state_;
};

}  // namespace flawseek
