// The short-circuit rule: the statement's tested names and the occurrence
// stack of its names.
#include "bugcheck/rules/short_circuit_rule.h"

#include "bugcheck/rules/use_position.h"

namespace flawseek {

void ShortCircuitRule::reset_occurrences() noexcept {
  state_.top = 0;
  state_.and_or_mark = 0;
  state_.pending_first = false;
  state_.pending_second = false;
  state_.inequality_seen = false;
}

void ShortCircuitRule::tracked_start() noexcept {
  state_.tracking = true;
  state_.stmt_eq_names.clear();
  state_.stmt_ne_names.clear();
  reset_occurrences();
  state_.paren_depth = 0;
}

void ShortCircuitRule::compared_with_null(std::string_view name, bool equal) {
  if (!state_.tracking) return;
  (equal ? state_.stmt_eq_names : state_.stmt_ne_names).add(name);
}

void ShortCircuitRule::logical_operator(LogicalOperator op) noexcept {
  switch (op) {
    case LogicalOperator::AND_THEN:
      // After `N /= null and then`, N is protected.
      state_.stmt_ne_names.clear();
      reset_occurrences();
      break;
    case LogicalOperator::OR_ELSE:
      // After `N = null or else`, N is protected.
      state_.stmt_eq_names.clear();
      reset_occurrences();
      break;
    case LogicalOperator::AND:
    case LogicalOperator::OR:
      state_.and_or_mark = state_.top;
      break;
    case LogicalOperator::XOR:
      break;
  }
}

void ShortCircuitRule::operator_applied(OperatorKind op) noexcept {
  // Only the relation before the first plain AND or OR is the test.
  if (state_.and_or_mark != 0) return;
  if (op == OperatorKind::NOT_EQUAL || op == OperatorKind::IN || op == OperatorKind::NOT_IN) {
    state_.inequality_seen = true;
  }
}

namespace {

// Only an occurrence outside parentheses is ever compared later (it is the
// tested one); the name of one inside them is compared once, as it is read,
// and copying it would be for nothing.
void keep(NameOccurrence& occurrence, std::string_view name, int depth) {
  occurrence.depth = depth;
  if (depth == 0) occurrence.name.assign(name);
}

}  // namespace

// Inline in judge_name, its one caller: a name of a tracked statement then
// makes one call, not two.
[[gnu::always_inline]] inline bool ShortCircuitRule::handed_on_after_test(std::string_view name) {
  const int depth = state_.paren_depth;
  if (!state_.inequality_seen) {
    // The latest name before the test's operator: its left side.
    if (!state_.pending_first) {
      push();
      state_.pending_first = true;
    }
    keep(at_top(), name, depth);
    return false;
  }
  state_.pending_first = false;  // it already stands at its position
  if (state_.and_or_mark == 0) {
    // The latest name after the operator, before any plain AND or OR.
    if (!state_.pending_second) {
      push();
      state_.pending_second = true;
    }
    keep(at_top(), name, depth);
    return false;
  }
  state_.pending_second = false;
  push();
  keep(at_top(), name, depth);
  if (depth == 0) return false;
  for (int i = 1; i <= state_.and_or_mark && i < state_.top; ++i) {
    const NameOccurrence& earlier = state_.name_stack[static_cast<std::size_t>(i)];
    if (earlier.depth == 0 && same_name(earlier.name, name)) return true;
  }
  return false;
}

bool ShortCircuitRule::dereferences_tested(std::string_view name) const noexcept {
  return state_.stmt_eq_names.covers_any(name) || state_.stmt_ne_names.covers_any(name);
}

void ShortCircuitRule::judge_name(const ParserState& state, std::string_view name, CheckReporter& reporter) {
  const bool dereferenced =
      (!state_.stmt_eq_names.empty() || !state_.stmt_ne_names.empty()) && dereferences_tested(name);
  const bool attribute_prefix = state_.attribute_prefix;
  state_.attribute_prefix = false;
  const bool handed_on = !attribute_prefix && handed_on_after_test(name);
  if (dereferenced || handed_on) reporter.report_bug(BugKind::NON_SHORT_CIRCUIT, use_position(state));
}

}  // namespace flawseek
