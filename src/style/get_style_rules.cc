// The rules of a run from the user's selection and rule book.
#include "style/get_style_rules.h"

namespace flawseek {

StyleRules apply_user_selection(StyleRules building, const StyleRules& from_template,
                                const StyleSelection& selection) {
  using enum StyleKind;
  building.identifier_missing_on = selection.is_selected(IDENTIFIER_MISSING);
  building.parameter_association_on = selection.is_selected(INCONSISTENT_PARAMETER_ASSOCIATION);
  building.package_name_on = selection.is_selected(INCONSISTENT_PACKAGE_NAME);
  building.upper_case_names_on = selection.is_selected(NOT_UPPERCASE);
  if (selection.is_selected(LINE_TOO_LONG)) {
    building.max_line_length = from_template.max_line_length;
    building.comment_lines_exempt = from_template.comment_lines_exempt;
  }
  if (selection.is_selected(BAD_ATTRIBUTE)) building.attribute_case = from_template.attribute_case;
  if (selection.is_selected(BAD_IDENTIFIER)) building.identifier_case = from_template.identifier_case;
  if (selection.is_selected(BAD_KEYWORD)) building.keyword_case = from_template.keyword_case;
  if (selection.is_selected(BAD_PRAGMA)) building.pragma_case = from_template.pragma_case;
  // BAD_ACCESS_TYPE has no switch of its own: it rides on the prefix rules.
  if (selection.is_selected(BAD_PREFIX)) {
    building.prefix_rules_on = from_template.prefix_rules_on;
    building.prefix_slots = from_template.prefix_slots;
  }
  if (selection.is_selected(WRONG_MODE)) building.mode_rules = from_template.mode_rules;
  return building;
}

StyleRules get_style_rules(const StyleSelection& selection) {
  using enum StyleKind;
  StyleRules rules = default_style_rules;
  rules.task_exceptions_on = selection.is_selected(HANDLE_TASK_EXCEPTIONS);
  rules.no_overloading_on = selection.is_selected(NO_DECLARATION_OVERLOADING);
  rules.no_spec_variable_on = selection.is_selected(NO_VARIABLE_IN_SPECIFICATION);
  rules.portable_characters_on = selection.is_selected(CHARACTER_NOT_PORTABLE);
  rules.no_goto_on = selection.is_selected(NO_GOTO_STATEMENTS);
  rules.no_use_clause_on = selection.is_selected(NO_PACKAGE_USE_CLAUSE);
  if (!selection.extended_style_mode) return rules;

  switch (selection.style_set) {
    case StyleSet::NONE:
      return default_style_rules;
    case StyleSet::USER:
      return apply_user_selection(rules, tavik_style_rules, selection);
    case StyleSet::USER_95:
      return apply_user_selection(rules, tavik_95_style_rules, selection);
    case StyleSet::TAVIK:
      return tavik_style_rules;
    case StyleSet::TAVIK_95:
      return tavik_95_style_rules;
  }
  // A set outside the enumeration cannot come from the job (it clamps stored
  // values); the user's own selection is the safe reading.
  return apply_user_selection(rules, tavik_style_rules, selection);
}

}  // namespace flawseek
