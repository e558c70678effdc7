// The hooks of the check-pass parser instance. They keep no analysis of
// their own: each hook point hands over to the rule that owns it.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declaration_checks.h"
#include "stylecheck/end_name_rule.h"
#include "bugcheck/rules/parser_message_rule.h"
#include "bugcheck/rules/reachability_rule.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

class AcceptedSpellings;

struct CheckHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95";

  CheckHooks(CheckReporter& reporter, const TextList& box_default_names)
      : reporter_(reporter), declarations_(reporter, box_default_names) {}

  // The spellings the style rules accept in the file being checked.
  void set_accepted_spellings(const AcceptedSpellings* spellings) noexcept { accepted_spellings_ = spellings; }

  // Every file starts from a clean state, so a file abandoned half-way
  // (syntax error, long line) never changes the findings of the next one.
  void parse_started(ParserState& state) {
    reachability_.reset();
    declarations_.parse_started(state);
  }

  void message(ParserState& state, ParserMessage message, std::string_view /*text*/) {
    messages_.on_message(state, message, reporter_);
    declarations_.on_message(message);
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

  void identifier_accepted(ParserState& state) { declarations_.identifier_accepted(state); }
  void keyword_accepted(ParserState&, AdaKeyword keyword) { declarations_.keyword_accepted(keyword); }
  void subprogram_specification(ParserState& state, std::string_view, bool) { declarations_.subprogram_specification(state); }
  void unit_defined(ParserState&, std::string_view name, UnitKind kind) { declarations_.unit_defined(name, kind); }
  void with_clause_name(ParserState& state, std::string_view name) { declarations_.with_clause_name(state, name); }
  void name_used(ParserState&, std::string_view name, NameContext context) { declarations_.name_used(name, context); }
  void name_set(ParserState&, std::string_view name, NameContext context) { declarations_.name_used(name, context); }
  void sql_host_variable_read(ParserState&, std::string_view name) { declarations_.name_used(name, NameContext::EXPRESSION); }
  void exception_raised(ParserState&, std::string_view name) { declarations_.exception_raised(name); }
  void identifier_declared(ParserState& state, std::string_view name) { declarations_.identifier_declared(state, name); }
  void declaration_completed(ParserState& state, DeclarationCategory category) { declarations_.declaration_completed(state, category); }
  void name_declared(ParserState& state, std::string_view name, DeclarationCategory category) { declarations_.name_declared(state, name, category); }
  void type_declared(ParserState& state, std::string_view name, int line, int column, TypeKind kind) { declarations_.type_declared(state, name, line, column, kind); }
  void entry_declared(ParserState&, std::string_view name) { declarations_.entry_declared(name); }
  void private_part_begun(ParserState&) { declarations_.private_part_begun(); }
  void body_statements_begun(ParserState&, ScopeKind kind) { declarations_.body_statements_begun(kind); }
  void procedure_call(ParserState& state, std::string_view name) { declarations_.procedure_call(state, name); }

  template <class Parse>
  void scope(ParserState&, ScopeKind kind, std::string_view, Parse&& parse) {
    declarations_.scope_opened(kind);
    parse();
    declarations_.scope_closed(kind);
  }

  const ReachabilityRule& reachability() const noexcept { return reachability_; }
  DeclarationChecks& declarations() noexcept { return declarations_; }

 private:
  CheckReporter& reporter_;
  const AcceptedSpellings* accepted_spellings_ = nullptr;
  ParserMessageRule messages_;
  ReachabilityRule reachability_;
  EndNameRule end_names_;
  DeclarationChecks declarations_;
};

}  // namespace flawseek
