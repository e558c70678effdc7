// How the user's selection and rule book become the rules of a run, and the
// built-in rule books themselves.
#include "style/get_style_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace flawseek {
namespace {

StyleSelection selecting(std::initializer_list<StyleKind> kinds, StyleSet set = StyleSet::USER,
                         bool extended = true) {
  StyleSelection selection;
  for (StyleKind kind : kinds) selection.select(kind);
  selection.style_set = set;
  selection.extended_style_mode = extended;
  return selection;
}

StyleSelection selecting_everything(StyleSet set, bool extended = true) {
  StyleSelection selection;
  selection.selected.fill(true);
  selection.style_set = set;
  selection.extended_style_mode = extended;
  return selection;
}

constexpr PrefixSlots no_prefixes{};

TEST(BuiltInRules, DefaultSwitchesEveryRuleOff) {
  const StyleRules& rules = default_style_rules;
  EXPECT_EQ(rules.max_line_length, 400);
  EXPECT_EQ(rules.identifier_case, CaseConvention::Any);
  EXPECT_EQ(rules.mode_rules, ModeRules{});
  EXPECT_FALSE(rules.no_goto_on);
  EXPECT_FALSE(rules.prefix_rules_on);
  EXPECT_EQ(rules.prefix_slots, no_prefixes);
}

TEST(BuiltInRules, TavikBooksDifferOnlyInPrefixRules) {
  StyleRules tavik_with_95_prefixes = tavik_style_rules;
  tavik_with_95_prefixes.prefix_rules_on = true;
  tavik_with_95_prefixes.prefix_slots = tavik_95_style_rules.prefix_slots;
  EXPECT_EQ(tavik_with_95_prefixes, tavik_95_style_rules);

  EXPECT_EQ(tavik_style_rules.prefix_slots[3], (PrefixRule{'T', true}));
  EXPECT_EQ(tavik_style_rules.prefix_slots[6], (PrefixRule{' ', false}));
  EXPECT_EQ(tavik_95_style_rules.prefix_slots[3], (PrefixRule{'P', true}));
  EXPECT_EQ(tavik_95_style_rules.prefix_slots[4], (PrefixRule{'F', true}));
  EXPECT_EQ(tavik_95_style_rules.prefix_slots[6], (PrefixRule{'J', false}));
  EXPECT_EQ(tavik_style_rules.max_line_length, 132);
  EXPECT_EQ(tavik_style_rules.pragma_case, CaseConvention::Upper);
  EXPECT_TRUE(tavik_style_rules.instance_names_exempt);
}

TEST(BuiltInRules, BrightmoorHasItsOwnLineLengthModesAndPragmaCase) {
  EXPECT_EQ(brightmoor_style_rules.max_line_length, 120);
  EXPECT_EQ(brightmoor_style_rules.pragma_case, CaseConvention::Mixed);
  EXPECT_EQ(brightmoor_style_rules.identifier_case, CaseConvention::Any);
  EXPECT_EQ(brightmoor_style_rules.mode_rules.generic_formal_objects, ModeRule::InNeverAlone);
  EXPECT_TRUE(brightmoor_style_rules.operator_modes_checked);
  EXPECT_FALSE(brightmoor_style_rules.upper_case_names_on);
  EXPECT_EQ(brightmoor_style_rules.prefix_slots, no_prefixes);
}

TEST(GetStyleRules, OutsideExtendedModeOnlyTheSixBasicSwitchesCount) {
  // Every kind selected and a fixed book chosen: neither matters outside extended mode.
  const StyleRules rules = get_style_rules(selecting_everything(StyleSet::TAVIK, false));
  StyleRules expected = default_style_rules;
  expected.task_exceptions_on = true;
  expected.no_overloading_on = true;
  expected.no_spec_variable_on = true;
  expected.portable_characters_on = true;
  expected.no_goto_on = true;
  expected.no_use_clause_on = true;
  EXPECT_EQ(rules, expected);
  EXPECT_EQ(rules.max_line_length, 400);
}

TEST(GetStyleRules, EachBasicKindSwitchesItsOwnRule) {
  struct Case {
    StyleKind kind;
    bool StyleRules::*rule;
  };
  const Case cases[] = {
      {StyleKind::HANDLE_TASK_EXCEPTIONS, &StyleRules::task_exceptions_on},
      {StyleKind::NO_DECLARATION_OVERLOADING, &StyleRules::no_overloading_on},
      {StyleKind::NO_VARIABLE_IN_SPECIFICATION, &StyleRules::no_spec_variable_on},
      {StyleKind::CHARACTER_NOT_PORTABLE, &StyleRules::portable_characters_on},
      {StyleKind::NO_GOTO_STATEMENTS, &StyleRules::no_goto_on},
      {StyleKind::NO_PACKAGE_USE_CLAUSE, &StyleRules::no_use_clause_on},
  };
  for (const Case& c : cases) {
    StyleRules expected = default_style_rules;
    expected.*c.rule = true;
    EXPECT_EQ(get_style_rules(selecting({c.kind}, StyleSet::USER, false)), expected) << image(c.kind);
  }
  // The superfluous-mark kind travels beside the rules, not in them.
  EXPECT_EQ(get_style_rules(selecting({StyleKind::SUPERFLUOUS_CODE_MARK}, StyleSet::USER, false)),
            default_style_rules);
}

TEST(GetStyleRules, NoneDiscardsEvenTheBasicSelections) {
  EXPECT_EQ(get_style_rules(selecting_everything(StyleSet::NONE)), default_style_rules);
}

TEST(GetStyleRules, FixedBooksIgnoreTheUsersSelection) {
  EXPECT_EQ(get_style_rules(selecting({}, StyleSet::TAVIK)), tavik_style_rules);
  EXPECT_EQ(get_style_rules(selecting({}, StyleSet::TAVIK_95)), tavik_95_style_rules);
  EXPECT_EQ(get_style_rules(selecting_everything(StyleSet::TAVIK)), tavik_style_rules);
}

TEST(GetStyleRules, UserWithOnlyLineTooLongTakesTheBooksLengthAndExemption) {
  const StyleRules rules = get_style_rules(selecting({StyleKind::LINE_TOO_LONG}));
  EXPECT_EQ(rules.max_line_length, 132);
  EXPECT_TRUE(rules.comment_lines_exempt);
  EXPECT_EQ(rules.attribute_case, CaseConvention::Any);
  EXPECT_EQ(rules.identifier_case, CaseConvention::Any);
  EXPECT_EQ(rules.keyword_case, CaseConvention::Any);
  EXPECT_EQ(rules.pragma_case, CaseConvention::Any);
  EXPECT_FALSE(rules.identifier_missing_on);
  EXPECT_EQ(rules.mode_rules, ModeRules{});
}

TEST(GetStyleRules, BadPrefixBringsTheBooksSlotsAndItsPrefixSwitch) {
  const StyleRules user = get_style_rules(selecting({StyleKind::BAD_PREFIX}, StyleSet::USER));
  EXPECT_EQ(user.prefix_slots, tavik_style_rules.prefix_slots);
  EXPECT_FALSE(user.prefix_rules_on);

  const StyleRules user_95 = get_style_rules(selecting({StyleKind::BAD_PREFIX}, StyleSet::USER_95));
  EXPECT_EQ(user_95.prefix_slots, tavik_95_style_rules.prefix_slots);
  EXPECT_TRUE(user_95.prefix_rules_on);

  // BAD_ACCESS_TYPE has no switch of its own; without BAD_PREFIX nothing is required.
  const StyleRules access = get_style_rules(selecting({StyleKind::BAD_ACCESS_TYPE}, StyleSet::USER_95));
  EXPECT_EQ(access.prefix_slots, no_prefixes);
  EXPECT_FALSE(access.prefix_rules_on);
}

TEST(GetStyleRules, UserCaseAndModeKindsCopyTheirPartOnly) {
  const StyleRules rules = get_style_rules(
      selecting({StyleKind::BAD_KEYWORD, StyleKind::BAD_PRAGMA, StyleKind::WRONG_MODE}, StyleSet::USER));
  EXPECT_EQ(rules.keyword_case, CaseConvention::Lower);
  EXPECT_EQ(rules.pragma_case, CaseConvention::Upper);
  EXPECT_EQ(rules.attribute_case, CaseConvention::Any);
  EXPECT_EQ(rules.identifier_case, CaseConvention::Any);
  EXPECT_EQ(rules.mode_rules, tavik_style_rules.mode_rules);
  EXPECT_FALSE(rules.operator_modes_checked);
  EXPECT_EQ(rules.max_line_length, 400);
}

TEST(GetStyleRules, UserWithEverySelectedStillDiffersFromTheBookWhereTheBookIsNotSelectable) {
  const StyleRules rules = get_style_rules(selecting_everything(StyleSet::USER));
  StyleRules expected = tavik_style_rules;
  expected.instance_names_exempt = false;  // never a user choice
  EXPECT_EQ(rules, expected);
}

TEST(GetStyleRules, UserSwitchesFollowTheirKinds) {
  const StyleRules rules = get_style_rules(
      selecting({StyleKind::IDENTIFIER_MISSING, StyleKind::NOT_UPPERCASE}, StyleSet::USER_95));
  EXPECT_TRUE(rules.identifier_missing_on);
  EXPECT_TRUE(rules.upper_case_names_on);
  EXPECT_FALSE(rules.package_name_on);
  EXPECT_FALSE(rules.parameter_association_on);
}

TEST(ApplyUserSelection, KeepsWhatItIsNotAskedToCopy) {
  StyleRules building = default_style_rules;
  building.no_goto_on = true;
  building.instance_names_exempt = true;
  const StyleRules result =
      apply_user_selection(building, brightmoor_style_rules, selecting({StyleKind::BAD_PRAGMA}));
  EXPECT_TRUE(result.no_goto_on);
  EXPECT_TRUE(result.instance_names_exempt);
  EXPECT_EQ(result.pragma_case, CaseConvention::Mixed);
  EXPECT_EQ(result.max_line_length, 400);
}

TEST(StyleSelectionFlags, NoStyleChecksIsNeverSelected) {
  StyleSelection selection;
  selection.select(StyleKind::NO_STYLE_CHECKS);
  EXPECT_FALSE(selection.is_selected(StyleKind::NO_STYLE_CHECKS));
  selection.select(StyleKind::WRONG_MODE);
  EXPECT_TRUE(selection.is_selected(StyleKind::WRONG_MODE));
  selection.select(StyleKind::WRONG_MODE, false);
  EXPECT_FALSE(selection.is_selected(StyleKind::WRONG_MODE));
}

}  // namespace
}  // namespace flawseek
