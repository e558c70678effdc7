// The descriptor rows against what the rest of the program says of the same
// kinds: the published ids, the rule books' own switches, and what a mark
// may suppress. (Rows standing at the wrong kind's place do not compile; that
// each row's example raises its kind is the command line's test.)
#include "findings/rule_descriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "style/get_style_rules.h"
#include "style/style_rules.h"

namespace flawseek {
namespace {

// Whether the rule book has the check of the kind switched on.
bool checks(const StyleRules& rules, StyleKind kind) {
  using enum StyleKind;
  switch (kind) {
    case CHARACTER_NOT_PORTABLE: return rules.portable_characters_on;
    case HANDLE_TASK_EXCEPTIONS: return rules.task_exceptions_on;
    case NO_DECLARATION_OVERLOADING: return rules.no_overloading_on;
    case NO_GOTO_STATEMENTS: return rules.no_goto_on;
    case NO_PACKAGE_USE_CLAUSE: return rules.no_use_clause_on;
    case NO_VARIABLE_IN_SPECIFICATION: return rules.no_spec_variable_on;
    case LINE_TOO_LONG: return rules.max_line_length < default_style_rules.max_line_length;
    case BAD_ATTRIBUTE: return rules.attribute_case != CaseConvention::Any;
    case BAD_IDENTIFIER: return rules.identifier_case != CaseConvention::Any;
    case BAD_KEYWORD: return rules.keyword_case != CaseConvention::Any;
    case BAD_PRAGMA: return rules.pragma_case != CaseConvention::Any;
    case BAD_PREFIX:
      return std::any_of(rules.prefix_slots.begin(), rules.prefix_slots.end(),
                         [](const PrefixRule& slot) { return slot.prefix != ' ' || slot.upper_case_required; });
    case BAD_ACCESS_TYPE: return rules.prefix_rules_on;
    case IDENTIFIER_MISSING: return rules.identifier_missing_on;
    case INCONSISTENT_PACKAGE_NAME: return rules.package_name_on;
    case INCONSISTENT_PARAMETER_ASSOCIATION: return rules.parameter_association_on;
    case NOT_UPPERCASE: return rules.upper_case_names_on;
    case WRONG_MODE: return rules.mode_rules != ModeRules{};
    case SUPERFLUOUS_CODE_MARK:  // the line reader's, chosen by the job alone
    case NO_STYLE_CHECKS:        // a listing, not a check
      return false;
  }
  return false;
}

TEST(RuleDescriptor, IdsAreTheLiteralsAsPublished) {
  for (const RuleDescriptor& row : rule_descriptors) {
    std::string literal(row.kind.is_style() ? image(row.kind.style_kind()) : image(row.kind.bug_kind()));
    std::string id = row.kind.is_style() ? "style/" : "";
    for (char c : literal) id.push_back(c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    EXPECT_EQ(row.id, id);
  }
}

TEST(RuleDescriptor, TheRuleBooksARowNamesAreTheOnesThatCheckItsKind) {
  for (int set = 0; set < style_set_count; ++set) {
    StyleSelection selection;  // nothing selected by the user
    selection.style_set = static_cast<StyleSet>(set);
    selection.extended_style_mode = true;
    const StyleRules rules = get_style_rules(selection);
    for (int position = 0; position < style_kind_count; ++position) {
      const auto kind = static_cast<StyleKind>(position);
      EXPECT_EQ(rule_descriptor(kind).sets.contains(selection.style_set), checks(rules, kind))
          << image(kind) << " in " << image(selection.style_set);
    }
  }
  for (int index = 0; index < bug_kind_count; ++index) {
    EXPECT_TRUE(rule_descriptors[index].sets.empty()) << rule_descriptors[index].id;
  }
}

TEST(RuleDescriptor, OnlyWarningsCanBeSuppressedAndEveryWarningCan) {
  for (const RuleDescriptor& row : rule_descriptors) {
    EXPECT_EQ(!row.mark.empty(), row.severity == Severity::WARNING) << row.id;
    EXPECT_EQ(row.severity == Severity::NOTE, row.kind.is_style()) << row.id;
    EXPECT_FALSE(row.sentence.empty() || row.detects.empty() || row.matters.empty() || row.enabled_by.empty())
        << row.id;
    EXPECT_EQ(row.example.empty(), row.kind == BugKind::INTERNAL_ERROR) << row.id;
  }
}

}  // namespace
}  // namespace flawseek
