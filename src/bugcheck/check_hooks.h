// The hooks of the check-pass parser instance. They keep no analysis of
// their own: each hook point hands over to the rule that owns it.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "stylecheck/end_name_rule.h"
#include "stylecheck/declaration_prefix_rule.h"
#include "stylecheck/identifier_rule.h"
#include "stylecheck/parameter_association_rule.h"
#include "stylecheck/parameter_mode_rule.h"
#include "stylecheck/statement_style_rule.h"
#include "stylecheck/word_case_rule.h"
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
    associations_.parse_started();
    prefixes_.parse_started();
  }
  void empty_unit_collections(ParserState&) {
    identifiers_.empty_unit_collections();
    modes_.empty_unit_collections();
  }

  void identifier_accepted(ParserState& state) {
    identifiers_.on_identifier(state);
    prefixes_.on_identifier(state);
  }
  void keyword_accepted(ParserState& state, AdaKeyword keyword) {
    words_.on_keyword(state);
    identifiers_.on_keyword(state, keyword);
    prefixes_.on_keyword(keyword);
  }
  void attribute_accepted(ParserState& state, std::string_view designator) {
    words_.on_attribute(state);
    prefixes_.on_attribute(state, designator);
  }
  void pragma_name_accepted(ParserState& state) { words_.on_pragma_name(state); }

  void with_clause_name(ParserState&, std::string_view name) { identifiers_.on_with_clause_name(name); }
  void unit_defined(ParserState&, std::string_view name, UnitKind kind) { identifiers_.on_unit_defined(name, kind); }
  void use_clause(ParserState& state, bool use_type) { statements_.on_use_clause(state, use_type); }
  void goto_statement(ParserState& state) { statements_.on_goto(state); }
  void task_body_ended(ParserState& state, bool has_others) { statements_.on_task_body_ended(state, has_others); }

  void list_opened(ParserState&, ListKind kind) { associations_.on_list_opened(kind); }
  void list_closed(ParserState&, ListKind) { associations_.on_list_closed(); }
  void association(ParserState& state, bool named, bool) { associations_.on_association(state, named); }
  void parameter_mode(ParserState& state, ModeContext context, ParameterMode mode) {
    modes_.on_parameter_mode(state, context, mode);
  }

  void identifier_declared(ParserState& state, std::string_view name) { prefixes_.on_identifier_declared(state, name); }
  void declaration_completed(ParserState& state, DeclarationCategory category) {
    prefixes_.on_declaration_completed(state, category);
  }
  void name_declared(ParserState& state, std::string_view name, DeclarationCategory category) {
    prefixes_.on_name_declared(state, name, category);
  }
  void type_declared(ParserState& state, std::string_view name, int line, int column, TypeKind kind) {
    prefixes_.on_type_declared(state, name, line, column, kind);
  }
  void subtype_mark(ParserState& state, std::string_view name) { prefixes_.on_subtype_mark(state, name); }

  void message(ParserState& state, ParserMessage message, std::string_view text) {
    messages_.on_message(state, message, text, reporter_);
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
  WordCaseRule words_;
  StatementStyleRule statements_;
  ParameterAssociationRule associations_;
  ParameterModeRule modes_;
  DeclarationPrefixRule prefixes_;
};

}  // namespace flawseek
