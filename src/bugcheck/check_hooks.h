// The hooks of the check-pass parser instance. They keep no analysis of
// their own: each hook point hands over to the rule that owns it.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "stylecheck/end_name_rule.h"
#include "bugcheck/rules/parser_message_rule.h"
#include "bugcheck/rules/granularity_rule.h"
#include "bugcheck/rules/null_pointer_rule.h"
#include "bugcheck/rules/null_test_context.h"
#include "bugcheck/rules/reachability_rule.h"
#include "bugcheck/rules/short_circuit_rule.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

class AcceptedSpellings;

struct CheckHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95";

  explicit CheckHooks(CheckReporter& reporter) : reporter_(reporter) {}

  // The spellings the style rules accept in the file being checked.
  void set_accepted_spellings(const AcceptedSpellings* spellings) noexcept { accepted_spellings_ = spellings; }

  // Every file starts from a clean state, so a file abandoned half-way
  // (syntax error, long line) never changes the findings of the next one.
  void parse_started(ParserState&) {
    reachability_.reset();
    null_pointer_.reset();
    short_circuit_.reset();
    granularity_.reset();
    null_tests_.reset();
  }

  void message(ParserState& state, ParserMessage message, std::string_view /*text*/) {
    messages_.on_message(state, message, reporter_);
  }

  void statement_kind(ParserState&, StatementKind kind, int line, int column) {
    reachability_.on_statement(kind, line, column, reporter_);
  }

  template <class Parse>
  void sequence_of_statements(ParserState&, Parse&& parse) {
    const ReachabilityState saved = reachability_.enter_sequence();
    parse();
    reachability_.leave_sequence(saved);
  }

  void end_name(ParserState& state, EndNameKind kind, std::string_view expected, std::string_view found) {
    end_names_.on_end_name(state, kind, expected, found);
  }

  // If statements, tracked statements and expressions: the access-value and
  // granularity rules.
  void if_opened(ParserState&) { null_pointer_.if_opened(); }
  void then_reached(ParserState&) { null_pointer_.then_reached(); }
  void elsif_reached(ParserState&) { null_pointer_.elsif_reached(); }
  void else_reached(ParserState&) { null_pointer_.else_reached(); }
  void if_closed(ParserState&) { null_pointer_.if_closed(); }
  void tracked_start(ParserState&, TrackedKind) { short_circuit_.tracked_start(); }
  void tracked_end(ParserState&) { short_circuit_.tracked_end(); }
  void logical_operator(ParserState&, LogicalOperator op) {
    null_pointer_.logical_operator(op);
    short_circuit_.logical_operator(op);
  }
  void keyword_accepted(ParserState& state, AdaKeyword keyword) { null_tests_.keyword_accepted(state, keyword); }
  void compared_with_null(ParserState&, std::string_view name, bool equal) {
    if (!null_tests_.plain()) return;  // negated or indexed: no test the rules can use
    null_pointer_.compared_with_null(name, equal);
    short_circuit_.compared_with_null(name, equal);
  }
  void operator_applied(ParserState&, OperatorKind op) {
    short_circuit_.operator_applied(op);
    granularity_.operator_applied();
  }
  void attribute_accepted(ParserState& state, std::string_view designator) {
    short_circuit_.attribute_accepted();
    granularity_.attribute_accepted(state, designator);
  }
  void list_opened(ParserState&, ListKind kind) {
    null_tests_.list_opened();
    short_circuit_.list_opened(kind);
    granularity_.list_opened(kind);
  }
  void list_element_ended(ParserState& state, ListKind kind) {
    granularity_.list_element_ended(state, kind, reporter_);
  }
  void list_closed(ParserState& state, ListKind kind) {
    null_tests_.list_closed(kind);
    short_circuit_.list_closed(kind);
    granularity_.list_closed(state, kind, reporter_);
  }
  void name_used(ParserState& state, std::string_view name, NameContext) {
    null_tests_.name_completed();
    short_circuit_.name_seen(state, name, reporter_);
    null_pointer_.name_used(state, name, reporter_);
  }
  void name_set(ParserState& state, std::string_view name, NameContext) {
    null_tests_.name_completed();
    short_circuit_.name_seen(state, name, reporter_);
    null_pointer_.name_set(state, name, reporter_);
  }

  const ReachabilityRule& reachability() const noexcept { return reachability_; }

 private:
  CheckReporter& reporter_;
  const AcceptedSpellings* accepted_spellings_ = nullptr;
  ParserMessageRule messages_;
  ReachabilityRule reachability_;
  NullTestContext null_tests_;
  NullPointerRule null_pointer_;
  ShortCircuitRule short_circuit_;
  GranularityRule granularity_;
  EndNameRule end_names_;
};

}  // namespace flawseek
