// NO_DECLARATION_OVERLOADING and NO_VARIABLE_IN_SPECIFICATION.
#include "bugcheck/declarations/declaration_style_rule.h"

namespace flawseek {

// The findings stand at the declared name: by the time a declaration is
// known for what it is, the parser may be on the next line already.
void DeclarationStyleRule::report_overloading(const NameItem& declared, DeclarationGroup group, int skip_level,
                                              CheckReporter& reporter) {
  // Once per level that already declares the name.
  const std::uint32_t holding = levels_.levels_holding(group, declared.name);
  for (int level = 0; level <= levels_.current(); ++level) {
    if (level != skip_level && ((holding >> level) & 1u) != 0) {
      reporter.report_style(StyleKind::NO_DECLARATION_OVERLOADING, {declared.line, declared.column}, declared.text);
    }
  }
}

void DeclarationStyleRule::declaration_completed(const ParserState& state, std::span<const NameItem> names,
                                                 DeclarationCategory category, CheckReporter& reporter) {
  const bool object = category == DeclarationCategory::VARIABLE || category == DeclarationCategory::CONSTANT ||
                      category == DeclarationCategory::NUMBER;
  if (!object) return;
  const StyleRules& rules = state.style_rules();
  if (rules.no_overloading_on) {
    // A constant of a private part that takes a name of its own level
    // completes a deferred constant: the visible and the private part are
    // one region, where no other second declaration of the name is legal.
    const bool completes = category == DeclarationCategory::CONSTANT && levels_.current_level().not_recorded;
    const int same_level = completes ? levels_.current() : -1;
    for (const NameItem& item : names) report_overloading(item, DeclarationGroup::OBJECT, same_level, reporter);
  }
  if (rules.no_spec_variable_on && category == DeclarationCategory::VARIABLE && levels_.current() == 0 &&
      !levels_.at(0).not_recorded && !names.empty()) {
    reporter.report_style(StyleKind::NO_VARIABLE_IN_SPECIFICATION, {names[0].line, names[0].column}, names[0].text);
  }
}

void DeclarationStyleRule::loop_parameter_declared(const ParserState& state, std::string_view name,
                                                   CheckReporter& reporter) {
  if (!state.style_rules().no_overloading_on) return;
  const SourcePosition at = previous_token_position(state);
  report_overloading({std::string(name), at.line, at.column, std::string(state.previous_token_line_text())},
                     DeclarationGroup::OBJECT, -1, reporter);
}

void DeclarationStyleRule::type_declared(const ParserState& state, const NameItem& declared, TypeKind kind,
                                         CheckReporter& reporter) {
  if (!state.style_rules().no_overloading_on) return;
  // The full declaration of an incomplete type completes it at the same
  // level: one type, no second declaration of the name.
  const int same_level = kind == TypeKind::INCOMPLETE ? -1 : levels_.current();
  report_overloading(declared, DeclarationGroup::TYPE, same_level, reporter);
}

}  // namespace flawseek
