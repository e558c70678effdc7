// The style record: every parameter of one style-checked parse, passed by
// value to the parser, and the built-in rule books (Default, TAVIK, TAVIK_95,
// BRIGHTMOOR) it is filled from.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "style/case_convention.h"

namespace flawseek {

// A naming prefix for one kind of declaration. A blank prefix requires none;
// upper_case_required asks for the whole name in upper case.
struct PrefixRule {
  char prefix = ' ';
  bool upper_case_required = false;

  friend constexpr bool operator==(const PrefixRule&, const PrefixRule&) = default;
};

inline constexpr int prefix_slot_count = 8;
using PrefixSlots = std::array<PrefixRule, prefix_slot_count>;

// How the mode of a parameter or generic formal object must be written.
enum class ModeRule : std::uint8_t {
  NoRule = 0,        // anything goes
  Consistent = 1,    // "in" written or left out the same way within a file
  InAlways = 2,      // mode "in" always written
  InNeverAlone = 3,  // mode "in" never written alone
};

// One mode rule per place a mode can be written, in this order.
struct ModeRules {
  ModeRule function_parameters = ModeRule::NoRule;
  ModeRule procedure_and_entry_parameters = ModeRule::NoRule;
  ModeRule generic_formal_objects = ModeRule::NoRule;

  friend constexpr bool operator==(const ModeRules&, const ModeRules&) = default;
};

// Any, NoRule and false each switch their rule off. LINE_TOO_LONG has no
// switch: max_line_length always applies (400 is the reader's own limit).
struct StyleRules {
  std::int32_t max_line_length = 400;
  CaseConvention attribute_case = CaseConvention::Any;
  CaseConvention identifier_case = CaseConvention::Any;
  CaseConvention keyword_case = CaseConvention::Any;
  CaseConvention pragma_case = CaseConvention::Any;
  ModeRules mode_rules{};
  bool comment_lines_exempt = false;
  bool operator_modes_checked = false;
  bool identifier_missing_on = false;
  bool package_name_on = false;
  bool instance_names_exempt = false;
  bool parameter_association_on = false;
  bool no_overloading_on = false;
  bool no_spec_variable_on = false;
  bool portable_characters_on = false;
  bool upper_case_names_on = false;
  bool no_goto_on = false;
  bool no_use_clause_on = false;
  bool task_exceptions_on = false;
  bool prefix_rules_on = false;
  PrefixSlots prefix_slots{};

  friend constexpr bool operator==(const StyleRules&, const StyleRules&) = default;
};

// Copied into every parse and every line: it must stay a plain value.
static_assert(std::is_trivially_copyable_v<StyleRules>);

// The base of every run, and what "STYLE: NONE" installs.
inline constexpr StyleRules default_style_rules{};

inline constexpr StyleRules tavik_style_rules{
    .max_line_length = 132,
    .attribute_case = CaseConvention::Lower,
    .identifier_case = CaseConvention::Mixed,
    .keyword_case = CaseConvention::Lower,
    .pragma_case = CaseConvention::Upper,
    .mode_rules = {ModeRule::Consistent, ModeRule::Consistent, ModeRule::Consistent},
    .comment_lines_exempt = true,
    .operator_modes_checked = false,
    .identifier_missing_on = true,
    .package_name_on = true,
    .instance_names_exempt = true,
    .parameter_association_on = true,
    .no_overloading_on = true,
    .no_spec_variable_on = true,
    .portable_characters_on = true,
    .upper_case_names_on = true,
    .no_goto_on = true,
    .no_use_clause_on = true,
    .task_exceptions_on = true,
    .prefix_rules_on = false,
    .prefix_slots = {{{'C', false}, {'E', true}, {'X', false}, {'T', true},
                      {'T', true}, {'J', false}, {' ', false}, {'T', true}}},
};

// TAVIK with the class-wide naming rules on and the Ada 95 prefix slots;
// everything else is TAVIK's.
inline constexpr StyleRules tavik_95_style_rules = [] {
  StyleRules rules = tavik_style_rules;
  rules.prefix_rules_on = true;
  rules.prefix_slots = {{{'C', false}, {'E', true}, {'X', false}, {'P', true},
                         {'F', true}, {'J', false}, {'J', false}, {'T', true}}};
  return rules;
}();

// Reachable only through a file's own style command, never through the job.
inline constexpr StyleRules brightmoor_style_rules{
    .max_line_length = 120,
    .attribute_case = CaseConvention::Lower,
    .identifier_case = CaseConvention::Any,
    .keyword_case = CaseConvention::Lower,
    .pragma_case = CaseConvention::Mixed,
    .mode_rules = {ModeRule::InNeverAlone, ModeRule::InNeverAlone, ModeRule::InNeverAlone},
    .comment_lines_exempt = false,
    .operator_modes_checked = true,
    .identifier_missing_on = true,
    .package_name_on = true,
    .instance_names_exempt = false,
    .parameter_association_on = false,
    .no_overloading_on = true,
    .no_spec_variable_on = true,
    .portable_characters_on = true,
    .upper_case_names_on = false,
    .no_goto_on = true,
    .no_use_clause_on = true,
    .task_exceptions_on = true,
    .prefix_rules_on = false,
    .prefix_slots = {},
};

}  // namespace flawseek
