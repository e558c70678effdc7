// The short-circuit rule: the statement's tests against null and the plain
// operators that join them to later uses.
#include "bugcheck/rules/short_circuit_rule.h"

#include "bugcheck/rules/name_start.h"

namespace flawseek {

void ShortCircuitRule::tracked_start() noexcept {
  state_.tracking = true;
  state_.stmt_eq_names.clear();
  state_.stmt_ne_names.clear();
  state_.joins = {};
  state_.paren_depth = 0;
}

void ShortCircuitRule::compared_with_null(std::string_view name, bool equal) {
  if (!state_.tracking) return;
  TestedNames& names = equal ? state_.stmt_eq_names : state_.stmt_ne_names;
  PlainJoins& joins_at_test = equal ? state_.joins_at_eq_test : state_.joins_at_ne_test;
  if (names.empty()) joins_at_test = state_.joins;
  names.add(name);
}

void ShortCircuitRule::logical_operator(LogicalOperator op) noexcept {
  switch (op) {
    case LogicalOperator::AND_THEN:
      // After `N /= null and then`, N is protected.
      state_.stmt_ne_names.clear();
      break;
    case LogicalOperator::OR_ELSE:
      // After `N = null or else`, N is protected.
      state_.stmt_eq_names.clear();
      break;
    case LogicalOperator::AND:
      ++state_.joins.ands;
      break;
    case LogicalOperator::OR:
      ++state_.joins.ors;
      break;
    case LogicalOperator::XOR:
      break;
  }
}

namespace {

int joins_since(const PlainJoins& now, const PlainJoins& then) noexcept {
  return now.ands + now.ors - then.ands - then.ors;
}

}  // namespace

bool ShortCircuitRule::dereferenced_unprotected(std::string_view name) const noexcept {
  const ShortCircuitState& s = state_;
  return (joins_since(s.joins, s.joins_at_ne_test) > 0 && s.stmt_ne_names.covers_any(name)) ||
         (joins_since(s.joins, s.joins_at_eq_test) > 0 && s.stmt_eq_names.covers_any(name));
}

bool ShortCircuitRule::handed_on_unprotected(std::string_view name) const noexcept {
  const ShortCircuitState& s = state_;
  if (s.paren_depth == 0) return false;
  return (s.joins.ands > s.joins_at_ne_test.ands && s.stmt_ne_names.holds(name)) ||
         (s.joins.ors > s.joins_at_eq_test.ors && s.stmt_eq_names.holds(name));
}

void ShortCircuitRule::judge_name(const ParserState& state, std::string_view name, bool attribute_prefix,
                                  CheckReporter& reporter) {
  if (dereferenced_unprotected(name) || (!attribute_prefix && handed_on_unprotected(name))) {
    reporter.report_bug(BugKind::NON_SHORT_CIRCUIT, name_start(state, name));
  }
}

}  // namespace flawseek
