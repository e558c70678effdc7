// The hooks of the check-pass parser instance. They keep no analysis of
// their own: each hook point hands over to the rule that owns it.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "stylecheck/end_name_rule.h"
#include "stylecheck/identifier_rule.h"
#include "bugcheck/rules/parser_message_rule.h"
#include "bugcheck/rules/reachability_rule.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

class AcceptedSpellings;

struct CheckHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95";

  explicit CheckHooks(CheckReporter& reporter) : reporter_(reporter) {}

  // The spellings the style rules accept in the file being checked.
  void set_accepted_spellings(const AcceptedSpellings* spellings) noexcept { identifiers_.set_accepted_spellings(spellings); }

  // Every file starts from a clean state, so a file abandoned half-way
  // (syntax error, long line) never changes the findings of the next one.
  void parse_started(ParserState&) {
    reachability_.reset();
    identifiers_.parse_started();
  }
  void empty_unit_collections(ParserState&) { identifiers_.empty_unit_collections(); }

  void identifier_accepted(ParserState& state) { identifiers_.on_identifier(state); }
  void keyword_accepted(ParserState& state, AdaKeyword keyword) { identifiers_.on_keyword(state, keyword); }
  void with_clause_name(ParserState&, std::string_view name) { identifiers_.on_with_clause_name(name); }
  void unit_defined(ParserState&, std::string_view name, UnitKind kind) { identifiers_.on_unit_defined(name, kind); }

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

  const ReachabilityRule& reachability() const noexcept { return reachability_; }

 private:
  CheckReporter& reporter_;
  ParserMessageRule messages_;
  ReachabilityRule reachability_;
  EndNameRule end_names_;
  IdentifierRule identifiers_;
};

}  // namespace flawseek
