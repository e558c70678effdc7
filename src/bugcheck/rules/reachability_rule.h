// CODE_NOT_REACHABLE: the first statement after a raise, an unconditional
// exit or a return in the same sequence of statements. A label makes the
// statement reachable again; a return right after a raise is not reported
// (functions often end that way to satisfy the compiler).
#pragma once

#include "bugcheck/check_reporter.h"
#include "frontend/statement_kind.h"

namespace flawseek {

struct ReachabilityState {
  // The next statement other than a label cannot be reached.
  bool statement_armed = false;
  // The next return statement cannot be reached.
  bool return_armed = false;
};

class ReachabilityRule {
 public:
  // A new file: nothing a file abandoned half-way armed may reach into it.
  void reset() noexcept { state_ = {}; }

  // A statement of kind `kind` starts at (line, column); the finding is placed
  // at the statement's first token.
  void on_statement(StatementKind kind, int line, int column, CheckReporter& reporter);

  // Every sequence of statements starts reachable, and what it arms never
  // reaches the statement after the compound statement that holds it.
  ReachabilityState enter_sequence() noexcept {
    const ReachabilityState saved = state_;
    state_ = {};
    return saved;
  }
  void leave_sequence(const ReachabilityState& saved) noexcept { state_ = saved; }

  const ReachabilityState& state() const noexcept { return state_; }

 private:
  ReachabilityState state_;
};

}  // namespace flawseek
