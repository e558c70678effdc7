// The hooks of the check-pass parser instance. They keep no analysis of
// their own: each hook point hands over to the rules that own it, the style
// rules first, then the bug rules.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declaration_checks.h"
#include "bugcheck/rules/granularity_rule.h"
#include "bugcheck/rules/null_pointer_rule.h"
#include "bugcheck/rules/null_test_context.h"
#include "bugcheck/rules/parser_message_rule.h"
#include "bugcheck/rules/reachability_rule.h"
#include "bugcheck/rules/short_circuit_rule.h"
#include "frontend/parser_hooks.h"
#include "stylecheck/declaration_prefix_rule.h"
#include "stylecheck/end_name_rule.h"
#include "stylecheck/identifier_rule.h"
#include "stylecheck/parameter_association_rule.h"
#include "stylecheck/parameter_mode_rule.h"
#include "stylecheck/statement_style_rule.h"
#include "stylecheck/word_case_rule.h"

namespace flawseek {

class AcceptedSpellings;

struct CheckHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95";

  CheckHooks(CheckReporter& reporter, const TextList& box_default_names)
      : reporter_(reporter), declarations_(reporter, box_default_names) {}

  // The spellings the style rules accept in the file being checked.
  void set_accepted_spellings(const AcceptedSpellings* spellings) noexcept { identifiers_.set_accepted_spellings(spellings); }

  // Every file starts from a clean state, so a file abandoned half-way
  // (syntax error, long line) never changes the findings of the next one.
  void parse_started(ParserState& state) {
    reachability_.reset();
    identifiers_.parse_started();
    associations_.parse_started();
    prefixes_.parse_started();
    null_pointer_.reset();
    short_circuit_.reset();
    granularity_.reset();
    null_tests_.reset();
    declarations_.parse_started(state);
  }
  void empty_unit_collections(ParserState&) {
    identifiers_.empty_unit_collections();
    modes_.empty_unit_collections();
  }

  // Words. Kept out of line: the parser tries a reserved word or a name at
  // many places where none follows, and with all these rules inlined every
  // such try paid for saving and restoring registers it never used.
  // The identifier step last: the only one of the three that reports, and
  // the one most often called on, it can then be a tail call. A type's name,
  // whose line two rules keep, takes a way of its own, so the usual name
  // meets no other call and saves no registers.
  [[gnu::noinline]] void identifier_accepted(ParserState& state) {
    if (prefixes_.type_name_next() || declarations_.type_name_follows()) {
      type_name_accepted(state);
      return;
    }
    declarations_.identifier_accepted(state);
    identifiers_.on_identifier(state);
  }
  // Every reserved word meets the case test when there is one; the other
  // rules say which words their keyword steps act on, and only those are
  // handed on (every word, while the identifier step follows them all).
  void keyword_accepted(ParserState& state, AdaKeyword keyword) {
    words_.on_keyword(state);
    if (identifiers_.follows_every_keyword() || keywords_acted_on.contains(keyword)) hand_on_keyword(state, keyword);
  }
  void attribute_accepted(ParserState& state, std::string_view designator) {
    words_.on_attribute(state);
    prefixes_.on_attribute(state, designator);
    short_circuit_.attribute_accepted();
    granularity_.attribute_accepted(state, designator);
    if (designator == "class") declarations_.class_attribute_accepted();
    declarations_.attribute_accepted(designator);
  }
  void pragma_name_accepted(ParserState& state) { words_.on_pragma_name(state); }

  void message(ParserState& state, ParserMessage message, std::string_view text) {
    messages_.on_message(state, message, text, reporter_, {prefixes_, modes_, end_names_, identifiers_});
    declarations_.on_message(message);
  }

  // Statements.
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
  void use_clause(ParserState& state, bool use_type) { statements_.on_use_clause(state, use_type); }
  void goto_statement(ParserState& state) { statements_.on_goto(state); }
  void task_body_ended(ParserState& state, bool has_others) { statements_.on_task_body_ended(state, has_others); }
  void procedure_call(ParserState& state, std::string_view name) { declarations_.procedure_call(state, name); }

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
  void compared_with_null(ParserState&, std::string_view name, bool equal) {
    if (!null_tests_.telling(name)) return;  // negated, indexed or never null: no test the rules can use
    null_pointer_.compared_with_null(name, equal);
    short_circuit_.compared_with_null(name, equal);
  }
  void operator_applied(ParserState&, OperatorKind) { granularity_.operator_applied(); }
  void list_opened(ParserState& state, ListKind kind) {
    associations_.on_list_opened(state, kind);
    null_tests_.list_opened();
    short_circuit_.list_opened(kind);
    granularity_.list_opened(kind);
  }
  void list_element_ended(ParserState& state, ListKind kind) {
    associations_.on_list_element_ended(state, kind);
    granularity_.list_element_ended(kind);
  }
  void list_closed(ParserState&, ListKind kind) {
    associations_.on_list_closed();
    null_tests_.list_closed(kind);
    short_circuit_.list_closed(kind);
    granularity_.list_closed(kind, reporter_);
  }
  void association(ParserState& state, bool named, bool) {
    associations_.on_association(state, named);
    granularity_.association(state, named);
  }
  [[gnu::always_inline]] void name_used(ParserState& state, std::string_view name, NameContext context) {
    null_tests_.name_completed();
    short_circuit_.name_seen(state, name, reporter_);
    null_pointer_.name_used(state, name, reporter_);
    declarations_.name_used(name, context);
  }
  void name_set(ParserState& state, std::string_view name, NameContext context) {
    null_tests_.name_completed();
    short_circuit_.name_seen(state, name, reporter_);
    null_pointer_.name_set(state, name, reporter_);
    declarations_.name_used(name, context);
  }
  void subtype_mark(ParserState& state, std::string_view name) {
    prefixes_.on_subtype_mark(state, name);
    declarations_.subtype_mark(name);
  }
  void sql_host_variable_read(ParserState&, std::string_view name) { declarations_.name_used(name, NameContext::EXPRESSION); }
  void exception_raised(ParserState&, std::string_view name) { declarations_.exception_raised(name); }

  // Units, declarations and scopes: the naming rules, then the declaration
  // lists and the rules built on them.
  void with_clause_name(ParserState& state, std::string_view name) {
    identifiers_.on_with_clause_name(name);
    declarations_.with_clause_name(state, name);
  }
  void unit_defined(ParserState&, std::string_view name, UnitKind kind) {
    identifiers_.on_unit_defined(name, kind);
    declarations_.unit_defined(name, kind);
    null_tests_.unit_defined(kind);
  }
  void subprogram_specification(ParserState& state, std::string_view, bool) { declarations_.subprogram_specification(state); }
  void parameter_mode(ParserState& state, ModeContext context, ParameterMode mode) {
    modes_.on_parameter_mode(state, context, mode);
  }
  void identifier_declared(ParserState& state, std::string_view name, IdentifierList list) {
    prefixes_.on_identifier_declared(state, name, list);
    declarations_.identifier_declared(state, name, list);
    null_tests_.identifier_declared(name, list);
  }
  void declaration_completed(ParserState& state, DeclarationCategory category) {
    prefixes_.on_declaration_completed(state, category);
    declarations_.declaration_completed(state, category);
    null_tests_.declaration_completed();
  }
  void null_exclusion_read(ParserState&) { null_tests_.null_exclusion_read(); }
  void name_declared(ParserState& state, std::string_view name, DeclarationCategory category) {
    prefixes_.on_name_declared(state, name, category);
    declarations_.name_declared(state, name, category);
  }
  void type_declaration_begun(ParserState&) { declarations_.type_declaration_begun(); }
  void type_declared(ParserState& state, std::string_view name, int line, int column, TypeKind kind) {
    prefixes_.on_type_declared(state, name, line, column, kind);
    declarations_.type_declared(state, name, line, column, kind);
  }
  void entry_declared(ParserState&, std::string_view name) { declarations_.entry_declared(name); }
  void aspect_mark(ParserState& state, std::string_view mark) {
    words_.on_aspect_mark(state, mark);
    declarations_.aspect_mark(mark);
  }
  void aspect_class_accepted(ParserState& state) { words_.on_attribute(state); }
  void private_part_begun(ParserState&) { declarations_.private_part_begun(); }
  void body_statements_begun(ParserState&, ScopeKind kind) { declarations_.body_statements_begun(kind); }

  template <class Parse>
  void scope(ParserState&, ScopeKind kind, std::string_view name, Parse&& parse) {
    declarations_.scope_opened(kind, name);
    prefixes_.on_scope_opened();
    null_tests_.scope_opened();
    parse();
    null_tests_.scope_closed();
    prefixes_.on_scope_closed();
    declarations_.scope_closed(kind);
  }

  const ReachabilityRule& reachability() const noexcept { return reachability_; }
  DeclarationChecks& declarations() noexcept { return declarations_; }

 private:
  // The words any keyword step acts on, from the rules' own lists.
  static constexpr AdaKeywords keywords_acted_on = IdentifierRule::keywords_acted_on |
                                                   DeclarationPrefixRule::keywords_acted_on |
                                                   NullTestContext::keywords_acted_on |
                                                   DeclarationChecks::keywords_acted_on;
  [[gnu::noinline]] void type_name_accepted(ParserState& state) {
    prefixes_.on_identifier(state);
    declarations_.identifier_accepted(state);
    identifiers_.on_identifier(state);
  }
  // Each rule sees the words its list names and no others, so that the list
  // is the whole truth whether or not every word is handed on just now.
  [[gnu::noinline]] void hand_on_keyword(ParserState& state, AdaKeyword keyword) {
    identifiers_.on_keyword(state, keyword);
    if (DeclarationPrefixRule::keywords_acted_on.contains(keyword)) prefixes_.on_keyword(keyword);
    if (NullTestContext::keywords_acted_on.contains(keyword)) null_tests_.keyword_accepted(state, keyword);
    if (DeclarationChecks::keywords_acted_on.contains(keyword)) declarations_.keyword_accepted(keyword);
  }

  CheckReporter& reporter_;
  ParserMessageRule messages_;
  ReachabilityRule reachability_;
  NullTestContext null_tests_;
  NullPointerRule null_pointer_;
  ShortCircuitRule short_circuit_;
  GranularityRule granularity_;
  EndNameRule end_names_;
  IdentifierRule identifiers_;
  WordCaseRule words_;
  StatementStyleRule statements_;
  ParameterAssociationRule associations_;
  ParameterModeRule modes_;
  DeclarationPrefixRule prefixes_;
  DeclarationChecks declarations_;
};

}  // namespace flawseek
