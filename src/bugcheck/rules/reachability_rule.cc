// The unreachable-code rule.
#include "bugcheck/rules/reachability_rule.h"

namespace flawseek {

void ReachabilityRule::on_statement(StatementKind kind, int line, int column, CheckReporter& reporter) {
  if (kind == StatementKind::LABEL) {
    state_ = {};
    return;
  }
  bool unreachable = false;
  if (kind == StatementKind::RETURN) {
    unreachable = state_.return_armed;
    state_.return_armed = false;
  } else {
    unreachable = state_.statement_armed;
    state_.statement_armed = false;
  }
  // Arm before reporting: the report may end the file (finding limit), and
  // the state must then already be what the statement leaves.
  if (kind == StatementKind::RAISE) {
    state_.statement_armed = true;
  } else if (kind == StatementKind::EXIT || kind == StatementKind::RETURN) {
    state_.statement_armed = true;
    state_.return_armed = true;
  }
  if (unreachable) reporter.report_bug(BugKind::CODE_NOT_REACHABLE, {line, column});
}

}  // namespace flawseek
