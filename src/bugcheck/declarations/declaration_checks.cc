// The declaration rules behind the hook points: which rule hears what, in
// which order.
#include "bugcheck/declarations/declaration_checks.h"

namespace flawseek {

void DeclarationChecks::reset_check() {
  levels_.reset();
  syntax_error_seen_ = false;
  units_.reset_check();
  usage_.reset_check();
  entries_.reset_check();
  dispatching_.reset();
}

// The end-of-pair comparisons need both files whole: after a syntax error
// every unit named past it would be reported.
void DeclarationChecks::after_body() {
  if (!syntax_error_seen_) units_.after_body(reporter_);
}

void DeclarationChecks::after_pair() {
  if (syntax_error_seen_) return;
  units_.after_pair(reporter_);
}

void DeclarationChecks::parse_started(const ParserState& state) {
  units_kept_ = state.file_role() != FileRole::SINGLE_FILE;
  levels_.drop_open_levels();
  dispatching_.levels_closed_above(0);
  usage_.reset_file();
  type_name_follows_ = false;
}

void DeclarationChecks::keep_type_name_line(const ParserState& state) noexcept {
  type_name_follows_ = false;
  type_name_text_.assign(state.previous_token_line_text());
}

void DeclarationChecks::keep_designator(const ParserState& state) {
  designator_ = previous_token_position(state);
  designator_text_.assign(state.previous_token_line_text());
}

void DeclarationChecks::unit_defined(std::string_view name, UnitKind kind) {
  switch (kind) {
    case UnitKind::SUBPROGRAM_BODY_STUB:
    case UnitKind::PACKAGE_BODY_STUB:
    case UnitKind::TASK_BODY_STUB:
    case UnitKind::PROTECTED_BODY_STUB:
      usage_.body_stub_declared();
      if (units_kept_) units_.body_stub_declared();
      break;
    default:
      break;
  }
  if (!units_kept_) return;
  switch (kind) {
    case UnitKind::SUBPROGRAM_DECLARATION:
    case UnitKind::SUBPROGRAM_RENAMING:
    case UnitKind::SUBPROGRAM_BODY:
    case UnitKind::SUBPROGRAM_BODY_STUB:
    case UnitKind::SUBPROGRAM_INSTANTIATION:
    case UnitKind::GENERIC_SUBPROGRAM:
      units_.unit_defined(name, kind, designator_, designator_text_, dispatching_.profile_dispatched());
      break;
    default:
      units_.unit_defined(name, kind, last_identifier_, reporter_.line_text(last_identifier_.line), false);
      break;
  }
}

void DeclarationChecks::exception_raised(std::string_view name) {
  const DottedName dotted(name);
  if (units_kept_) units_.name_used(dotted);
  usage_.exception_raised(dotted);
}

void DeclarationChecks::declaration_completed(const ParserState& state, DeclarationCategory category) {
  style_.declaration_completed(state, usage_.collected(), category, reporter_);
  usage_.declaration_completed(category);
}

void DeclarationChecks::name_declared(const ParserState& state, std::string_view name, DeclarationCategory category) {
  switch (category) {
    case DeclarationCategory::LOOP_PARAMETER:
      style_.loop_parameter_declared(state, name, reporter_);
      usage_.loop_parameter_declared(name);
      break;
    case DeclarationCategory::TASK:
      entries_.unit_declared(name, /*is_task=*/true);
      break;
    case DeclarationCategory::PROTECTED:
      entries_.unit_declared(name, /*is_task=*/false);
      break;
    default:
      break;
  }
}

void DeclarationChecks::type_declared(const ParserState& state, std::string_view name, int line, int column,
                                      TypeKind kind) {
  if (kind == TypeKind::TASK) entries_.unit_declared(name, /*is_task=*/true);
  if (kind == TypeKind::PROTECTED) entries_.unit_declared(name, /*is_task=*/false);
  type_item_.name.assign(name);
  type_item_.line = line;
  type_item_.column = column;
  type_item_.text.assign(type_name_text_);
  style_.type_declared(state, type_item_, kind, reporter_);
  usage_.type_declared(type_item_, kind);
  if (units_kept_) dispatching_.type_declared(name, levels_.current());
}

void DeclarationChecks::scope_opened(ScopeKind kind, std::string_view name) {
  if (kind == ScopeKind::PACKAGE_BODY) {
    if (package_body_depth_ == package_bodies_.size()) package_bodies_.emplace_back();
    package_bodies_[package_body_depth_++].assign(name);
  }
  usage_.collection_scope_opened();
  if (!opens_level(kind)) return;
  levels_.open();
  if (kind == ScopeKind::TASK_BODY) entries_.task_body_begun();
}

void DeclarationChecks::scope_closed(ScopeKind kind) {
  if (kind == ScopeKind::PACKAGE_BODY && package_body_depth_ > 0) --package_body_depth_;
  usage_.collection_scope_closed();
  if (!opens_level(kind)) return;
  if (kind == ScopeKind::TASK_BODY) entries_.task_body_ended();
  usage_.scope_closed(reporter_);
  dispatching_.levels_closed_above(levels_.current());
}

}  // namespace flawseek
