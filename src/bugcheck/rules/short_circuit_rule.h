// NON_SHORT_CIRCUIT: an access value compared with null in one relation of a
// condition or statement and used in another relation joined to it by plain
// AND or OR, where the short-circuit form would have protected the use:
// - a dereference through the tested value (`P /= null and P.all > 0`,
//   `P = null or P.X = 0`), whichever plain operator stands between, since
//   it is evaluated even when the test said null;
// - the tested value itself handed on inside the parentheses of a call
//   after a plain AND that follows `/= null`, or a plain OR that follows
//   `= null` (`X /= null and Check (X)`): AND THEN or OR ELSE would keep the
//   null from the call.
// A condition that compares nothing with null is never reported, and the
// finding stands at the first word of the name used.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/rules/tested_names.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

struct PlainJoins {
  int ands = 0;
  int ors = 0;
};

struct ShortCircuitState {
  // Between the start and the end of a condition, an assignment, a
  // procedure call or a return statement.
  bool tracking = false;
  TestedNames stmt_eq_names;
  TestedNames stmt_ne_names;
  // Plain ANDs and ORs met in the statement so far, and what they were when
  // the first name still kept in each list was tested: a use is joined to a
  // test by a plain operator only when one came between them.
  PlainJoins joins;
  PlainJoins joins_at_eq_test;
  PlainJoins joins_at_ne_test;
  // Open parentheses of calls (and indexed components, which look alike).
  int paren_depth = 0;
  // An attribute designator was read since the last name or list.
  bool attribute_prefix = false;
};

class ShortCircuitRule {
 public:
  // A new file: a statement abandoned half-way leaves nothing behind.
  void reset() noexcept {
    state_.tracking = false;
    state_.paren_depth = 0;
    state_.attribute_prefix = false;
  }

  void tracked_start() noexcept;
  void tracked_end() noexcept { state_.tracking = false; }

  void compared_with_null(std::string_view name, bool equal);
  void logical_operator(LogicalOperator op) noexcept;
  // Only the parentheses of a call or an index hand a value on; grouping
  // parentheses (`A /= null and (A = B or C)`) do not.
  void list_opened(ListKind kind) noexcept {
    state_.attribute_prefix = false;
    if (kind == ListKind::ACTUAL_PARAMETERS) ++state_.paren_depth;
  }
  void list_closed(ListKind kind) noexcept {
    if (kind == ListKind::ACTUAL_PARAMETERS && state_.paren_depth > 0) --state_.paren_depth;
  }
  // The name being completed is the prefix of an attribute (`Item'Last`):
  // its value is not handed on.
  void attribute_accepted() noexcept { state_.attribute_prefix = true; }

  // A name read, or given a new value or handed on as an actual, while its
  // last token is the one consumed last.
  // Outside a tracked statement, or in one that compared nothing with null,
  // nothing is judged: decided inline.
  void name_seen(const ParserState& state, std::string_view name, CheckReporter& reporter) {
    const bool attribute_prefix = state_.attribute_prefix;
    state_.attribute_prefix = false;
    if (!state_.tracking || (state_.stmt_eq_names.empty() && state_.stmt_ne_names.empty())) return;
    judge_name(state, name, attribute_prefix, reporter);
  }

  const ShortCircuitState& state() const noexcept { return state_; }

 private:
  [[gnu::noinline]] void judge_name(const ParserState& state, std::string_view name, bool attribute_prefix,
                                    CheckReporter& reporter);
  // A dereference through a tested value, past a plain AND or OR.
  bool dereferenced_unprotected(std::string_view name) const noexcept;
  // The tested value itself handed to a call across the plain operator that
  // fails to protect it.
  bool handed_on_unprotected(std::string_view name) const noexcept;

  ShortCircuitState state_;
};

}  // namespace flawseek
