// NON_SHORT_CIRCUIT: a dereference of an access value that the same
// condition or statement compared with null without the short-circuit form
// that would protect it (`P /= null and P.all > 0`, `P = null or P.X = 0`),
// and a value tested in the first relation of a condition and then handed
// on inside the parentheses of a call after a plain AND or OR
// (`X /= null and Check (X)`): both sides are evaluated, so the guard does
// not guard.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/rules/tested_names.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

// A name of the tracked statement and the parenthesis depth it stood at.
struct NameOccurrence {
  std::string name;
  int depth = 0;
};

struct ShortCircuitState {
  static constexpr int stack_size = 100;

  // Between the start and the end of a condition, an assignment, a
  // procedure call or a return statement.
  bool tracking = false;
  TestedNames stmt_eq_names;
  TestedNames stmt_ne_names;

  // The occurrence stack, positions 1 to stack_size (0 is unused). The two
  // pending slots are kept at the position reserved for them, which is the
  // top while they are pending, so storing them costs nothing.
  std::array<NameOccurrence, stack_size + 1> name_stack{};
  int top = 0;
  // The top at the last plain AND or OR; 0 before any.
  int and_or_mark = 0;
  bool pending_first = false;
  bool pending_second = false;
  int paren_depth = 0;
  // A /= or a membership test stood before the first plain AND or OR.
  bool inequality_seen = false;
  // An attribute designator was read since the last name or list.
  bool attribute_prefix = false;
};

class ShortCircuitRule {
 public:
  // A new file: a statement abandoned half-way leaves nothing behind.
  void reset() noexcept {
    reset_occurrences();
    state_.tracking = false;
    state_.paren_depth = 0;
    state_.attribute_prefix = false;
  }

  void tracked_start() noexcept;
  void tracked_end() noexcept { state_.tracking = false; }

  void compared_with_null(std::string_view name, bool equal);
  void logical_operator(LogicalOperator op) noexcept;
  void operator_applied(OperatorKind op) noexcept;
  // Only the parentheses of a call or an index hand a value on; grouping
  // parentheses (`A /= B and (A /= C or D)`) do not.
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

  // A name read, or given a new value or handed on as an actual; the finding
  // goes at the parser's current token.
  // Outside a tracked statement nothing is judged: decided inline.
  void name_seen(const ParserState& state, std::string_view name, CheckReporter& reporter) {
    if (!state_.tracking) {
      state_.attribute_prefix = false;
      return;
    }
    judge_name(state, name, reporter);
  }

  const ShortCircuitState& state() const noexcept { return state_; }

 private:
  void reset_occurrences() noexcept;
  // Records the occurrence; true when it hands on, deeper inside
  // parentheses after a plain AND or OR, a name that stood bare in the
  // tested first relation.
  bool handed_on_after_test(std::string_view name);
  void judge_name(const ParserState& state, std::string_view name, CheckReporter& reporter);
  // Whether `name` goes through a name the statement compared with null.
  // Kept apart: most statements compare none.
  [[gnu::noinline]] bool dereferences_tested(std::string_view name) const noexcept;
  NameOccurrence& at_top() noexcept { return state_.name_stack[static_cast<std::size_t>(state_.top)]; }
  void push() noexcept {
    if (state_.top < ShortCircuitState::stack_size) ++state_.top;
  }

  ShortCircuitState state_;
};

}  // namespace flawseek
