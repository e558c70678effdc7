// NullTestContext: whether a comparison with null says what the access-value
// rules take it to say. Under a NOT it says the opposite (`not (P = null)`),
// and a name with index or call arguments (`T (I) = null`) reaches the rules
// as its text without them, so it cannot be told from `T (J)`; the rules
// leave both kinds of test aside rather than report correct code. Nor does a
// test of an object, parameter or discriminant declared `not null` say
// anything: the value is never null, whatever the test's outcome.
#pragma once

#include <string_view>

#include "bugcheck/rules/never_null_names.h"
#include "bugcheck/rules/tested_names.h"
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
  void reset() noexcept {
    state_ = {};
    declaring_.clear();
    never_null_.reset();
  }

  // The names of a declaration, then NOT NULL in its subtype: they exclude
  // null. A discriminant is named alone inside its type and through a record
  // outside it.
  void identifier_declared(std::string_view name, IdentifierList list) {
    if (!declaring_.empty() && list != declaring_list_) declaring_.clear();
    declaring_.add(name);
    declaring_list_ = list;
  }
  void declaration_completed() noexcept { declaring_.clear(); }
  void null_exclusion_read() {
    for (std::size_t i = 0; i < declaring_.size(); ++i) {
      if (declaring_list_ == IdentifierList::COMPONENT || declaring_list_ == IdentifierList::DISCRIMINANT) {
        never_null_.add_component(declaring_[i]);
      }
      if (declaring_list_ != IdentifierList::COMPONENT) {
        never_null_.add(declaring_[i], declaring_list_ == IdentifierList::PARAMETER);
      }
    }
  }
  void scope_opened() noexcept { never_null_.scope_opened(); }
  void scope_closed() noexcept { never_null_.scope_closed(); }
  void unit_defined(UnitKind kind) noexcept {
    if (kind != UnitKind::SUBPROGRAM_BODY) never_null_.profile_ended_without_body();
  }

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

  // The comparison with null just parsed tests a plain name, not negated,
  // that may be null.
  bool telling(std::string_view name) const noexcept {
    return state_.negated_depth == 0 && !state_.last_name_had_arguments &&
           (never_null_.empty() || !never_null_.holds(name));
  }

 private:
  NullTestState state_;
  // The names of the declaration being read.
  TestedNames declaring_;
  IdentifierList declaring_list_ = IdentifierList::OBJECT_OR_EXCEPTION;
  NeverNullNames never_null_;
};

}  // namespace flawseek
