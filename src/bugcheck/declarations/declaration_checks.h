// The declaration rules of the check pass behind the parser's hook points:
// the declarative levels they share, the unit, declaration, style and
// entry-call rules, and the source positions the hooks do not carry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/check_reporter.h"
#include "bugcheck/declarations/declaration_style_rule.h"
#include "bugcheck/declarations/declaration_usage_rule.h"
#include "bugcheck/declarations/declarative_levels.h"
#include "bugcheck/declarations/dispatching_operations.h"
#include "bugcheck/declarations/entry_call_rule.h"
#include "bugcheck/declarations/unit_usage_rule.h"
#include "frontend/parser_hooks.h"
#include "platform/text_list.h"

namespace flawseek {

class DeclarationChecks {
 public:
  DeclarationChecks(CheckReporter& reporter, const TextList& box_default_names)
      : reporter_(reporter), units_(box_default_names) {}

  // Driver steps.
  void reset_check();
  void reset_file() {
    units_.reset_file();
    package_body_depth_ = 0;
  }
  void after_specification() { units_.after_specification(); }
  void after_body();
  void after_pair();

  // Hook points.
  void parse_started(const ParserState& state);
  // A file of the check that ends on a syntax error leaves its lists
  // incomplete: what it declares or uses after the error is never seen.
  void on_message(ParserMessage message) noexcept {
    if (message == ParserMessage::SYNTAX_ERROR) syntax_error_seen_ = true;
  }
  // Whether the next identifier is a type's name, whose line is kept.
  bool type_name_follows() const noexcept { return type_name_follows_; }
  // Inline: every identifier passes here, and only a type's name does more.
  void identifier_accepted(const ParserState& state) noexcept {
    last_identifier_ = previous_token_position(state);
    if (type_name_follows_) keep_type_name_line(state);
  }
  static constexpr AdaKeywords keywords_acted_on = DispatchingOperations::keywords_acted_on;
  void keyword_accepted(AdaKeyword keyword) noexcept {
    if (keyword == AdaKeyword::KEYWORD_TYPE) type_name_follows_ = true;
    if (units_kept_) dispatching_.keyword_accepted(keyword);
  }
  // Only a pair's unit lists ask for the designator and the profile: a
  // single file keeps no copy of its line.
  void subprogram_specification(const ParserState& state) {
    if (!units_kept_) return;
    keep_designator(state);
    dispatching_.profile_begun();
  }
  void subtype_mark(std::string_view name) {
    if (units_kept_) dispatching_.subtype_mark(name, levels_.current());
    usage_.subtype_mark(name);
  }
  void class_attribute_accepted() noexcept { dispatching_.class_attribute_accepted(); }
  void type_declaration_begun() noexcept { usage_.type_declaration_begun(); }
  void unit_defined(std::string_view name, UnitKind kind);
  void with_clause_name(const ParserState& state, std::string_view name) {
    if (units_kept_) units_.with_clause_name(state, name);
  }
  // Inline: nearly every name a file uses passes here. Both rules split
  // the name at its dots, which are found once for both.
  void name_used(std::string_view name, NameContext context) {
    const DottedName dotted(name);
    if (units_kept_) units_.name_used(dotted);
    usage_.name_used(dotted, context);
  }
  void exception_raised(std::string_view name);
  void identifier_declared(const ParserState& state, std::string_view name, IdentifierList list) {
    usage_.identifier_declared(state, name, list);
  }
  void declaration_completed(const ParserState& state, DeclarationCategory category);
  void aspect_mark(std::string_view mark) { usage_.aspect_mark(mark); }
  void attribute_accepted(std::string_view designator) noexcept { usage_.attribute_accepted(designator); }
  void name_declared(const ParserState& state, std::string_view name, DeclarationCategory category);
  void type_declared(const ParserState& state, std::string_view name, int line, int column, TypeKind kind);
  void entry_declared(std::string_view name) { entries_.entry_declared(name); }
  void private_part_begun() noexcept { levels_.current_level().not_recorded = true; }
  void scope_opened(ScopeKind kind, std::string_view name);
  void scope_closed(ScopeKind kind);
  // A package body's statements run when it is elaborated: a local package
  // with such a body is used though nothing names it.
  void body_statements_begun(ScopeKind kind) {
    if (kind == ScopeKind::TASK_BODY) entries_.statements_begun();
    if (kind == ScopeKind::PACKAGE_BODY && package_body_depth_ > 0 && units_kept_) {
      units_.name_used(DottedName(package_bodies_[package_body_depth_ - 1]));
    }
  }
  void procedure_call(const ParserState& state, std::string_view name) {
    entries_.procedure_call(state, name, reporter_);
  }

 private:
  // The line of the type name just read: its declaration may outlast the
  // lines the ring keeps.
  [[gnu::noinline]] void keep_type_name_line(const ParserState& state) noexcept;
  void keep_designator(const ParserState& state);

  static bool opens_level(ScopeKind kind) noexcept { return kind != ScopeKind::PROTECTED_BODY; }

  CheckReporter& reporter_;
  DeclarativeLevels levels_;
  UnitUsageRule units_;
  DeclarationUsageRule usage_{levels_};
  DeclarationStyleRule style_{levels_};
  EntryCallRule entries_{levels_};
  DispatchingOperations dispatching_;
  // Where the last identifier stood (a package's defining name comes just
  // before the hook that announces it).
  SourcePosition last_identifier_;
  // A subprogram's designator, and its line: the formal part may run on for
  // more lines than the reader keeps.
  SourcePosition designator_;
  std::string designator_text_;
  // The name after TYPE and its line: a record definition may be long.
  bool type_name_follows_ = false;
  bool syntax_error_seen_ = false;
  // Only a pair is judged for unused units: a single file keeps no unit lists.
  bool units_kept_ = false;
  std::string type_name_text_;
  // The names of the package bodies open, innermost last: the first
  // package_body_depth_ strings, which keep their room from body to body.
  std::vector<std::string> package_bodies_;
  std::size_t package_body_depth_ = 0;
  NameItem type_item_;  // reused between type declarations
};

}  // namespace flawseek
