// The text of a style finding about a word read long before the rule could
// judge it (a type's name, judged after a long definition) is the word's own
// line, not the line that has taken its place among the last lines kept.
#include <gtest/gtest.h>

#include <string>

#include "bugcheck/bug_checker.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

TEST(StyleFindingText, ADeclaredNameJudgedManyLinesLaterQuotesItsOwnLine) {
  std::string source = "package Long_Types is\n   type Wide_Record is record\n";
  for (int i = 0; i < 14; ++i) source += "      F" + std::to_string(i) + " : INTEGER;\n";
  source += "   end record;\nend Long_Types;\n";
  testing_support::RecordingSink sink(false);
  BugChecker checker;
  checker.start(0);
  testing_support::UnitSettings settings;
  settings.scan.style_rules = tavik_style_rules;
  testing_support::check_unit(checker, sink, {{"long_types.ads", true, source}}, settings);
  ASSERT_EQ(sink.findings.size(), 1U);
  const auto& finding = sink.findings.front();
  EXPECT_EQ(finding.kind, FindingKind(StyleKind::BAD_PREFIX));
  EXPECT_EQ(finding.line, 2);
  EXPECT_EQ(finding.column, 9);
  EXPECT_NE(finding.reason.find("type Wide_Record is record"), std::string::npos) << finding.reason;
}

}  // namespace
}  // namespace flawseek

namespace flawseek {
namespace {

// Each style finding's words say what the rule wants: the word at fault and
// its expected spelling, the prefix, the name, the mode rule, the length.
struct MessageCase {
  const char* label;
  StyleRules rules;
  std::vector<testing_support::UnitFile> files;
  StyleKind kind;
  int line;
  std::string detail;
};

StyleRules with_procedure_modes(ModeRule rule) {
  StyleRules rules = tavik_style_rules;
  rules.mode_rules.procedure_and_entry_parameters = rule;
  return rules;
}

TEST(StyleFindingText, EachMessageSaysWhatTheRuleWants) {
  const auto one = [](std::string text) { return std::vector<testing_support::UnitFile>{{"m.adb", true, std::move(text)}}; };
  const std::string long_line = "procedure Wide is X : INTEGER := 1" + std::string(120, ' ') + "+ 2; begin null; end Wide;\n";
  const std::string huge_line = "procedure Huge is X : INTEGER := 1" + std::string(420, ' ') + "+ 2; begin null; end Huge;\n";
  const std::vector<MessageCase> cases = {
      {"keyword", tavik_style_rules, one("procedure M is\nBEGIN\n   null;\nend M;\n"), StyleKind::BAD_KEYWORD, 2,
       "reserved word `BEGIN` must be `begin`"},
      {"identifier", tavik_style_rules, one("procedure M is\n   my_countValue : INTEGER := 0;\nbegin\n   null;\nend M;\n"),
       StyleKind::BAD_IDENTIFIER, 2, "identifier `my_countValue` must be `My_Countvalue`"},
      {"attribute", tavik_style_rules, one("procedure M is\n   S : INTEGER := INTEGER'SIZE;\nbegin\n   null;\nend M;\n"),
       StyleKind::BAD_ATTRIBUTE, 2, "attribute `SIZE` must be `size`"},
      {"pragma", tavik_style_rules, one("procedure M is\nbegin\n   pragma Assert (True);\nend M;\n"),
       StyleKind::BAD_PRAGMA, 3, "pragma name `Assert` must be `ASSERT`"},
      {"attribute aspect", tavik_style_rules, one("package M is\n   type T_BYTE is mod 256 with Size => 8;\nend M;\n"),
       StyleKind::BAD_ATTRIBUTE, 2, "aspect mark `Size` must be `size`"},
      {"pragma aspect", tavik_style_rules, one("package M with Pure is\nend M;\n"), StyleKind::BAD_PRAGMA, 1,
       "aspect mark `Pure` must be `PURE`"},
      {"upper case", tavik_style_rules, one("procedure M is\n   B : BOOLEAN := true;\nbegin\n   null;\nend M;\n"),
       StyleKind::NOT_UPPERCASE, 2, "name `true` must be `TRUE` (upper case)"},
      {"declared prefix", tavik_style_rules, one("procedure M is\n   Maximum : constant INTEGER := 3;\nbegin\n   null;\nend M;\n"),
       StyleKind::BAD_PREFIX, 2, "constant `Maximum` needs the prefix C_"},
      {"mark prefix", tavik_95_style_rules, one("procedure M (X : Count) is\nbegin\n   null;\nend M;\n"),
       StyleKind::BAD_PREFIX, 1, "subtype mark `Count` needs the prefix of its type: T_, P_, F_, J_"},
      {"class-wide access", tavik_95_style_rules,
       one("package M is\n   type T_ROOT is tagged null record;\n   type P_ROOT is access T_ROOT'class;\nend M;\n"),
       StyleKind::BAD_ACCESS_TYPE, 3, "access type `P_ROOT` designates a class-wide type: its name must be `P_ROOT_class`"},
      {"specific access", tavik_95_style_rules,
       one("package M is\n   type T_ROOT is tagged null record;\n   type P_ROOT_class is access T_ROOT;\nend M;\n"),
       StyleKind::BAD_ACCESS_TYPE, 3, "access type `P_ROOT_class` designates a specific type: its name must be `P_ROOT`"},
      {"mode always", with_procedure_modes(ModeRule::InAlways), one("procedure M (X : INTEGER) is\nbegin\n   null;\nend M;\n"),
       StyleKind::WRONG_MODE, 1, "the mode of a procedure or entry parameter must be written: `in` is required"},
      {"mode never alone", with_procedure_modes(ModeRule::InNeverAlone),
       one("procedure M (X : in INTEGER) is\nbegin\n   null;\nend M;\n"), StyleKind::WRONG_MODE, 1,
       "`in` must not be written alone for a procedure or entry parameter: leave the mode out"},
      {"mode habit", tavik_style_rules,
       one("procedure M is\n   procedure P (X : in INTEGER) is separate;\n   procedure Q (Y : INTEGER) is separate;\nbegin\n"
           "   null;\nend M;\n"),
       StyleKind::WRONG_MODE, 3, "mode left out, but the first procedure or entry parameter of this file (line 2) writes `in`"},
      {"mode habit of the specification", tavik_style_rules,
       {{"m.ads", true, "package M is\n   procedure P (X : INTEGER);\nend M;\n"},
        {"m.adb", true, "package body M is\n   procedure P (X : INTEGER) is separate;\n"
                        "   procedure Q (Y : in INTEGER) is separate;\nend M;\n"}},
       StyleKind::WRONG_MODE, 3,
       "`in` written, but the first procedure or entry parameter of this file's specification (line 2) leaves the mode out"},
      {"long line", tavik_style_rules, one(long_line), StyleKind::LINE_TOO_LONG, 1,
       "line is " + std::to_string(long_line.size() - 1) + " characters long; the limit is 132"},
      {"line past the reader's limit", tavik_style_rules, one(huge_line), StyleKind::LINE_TOO_LONG, 1,
       "line is " + std::to_string(huge_line.size() - 1) + " characters long; the limit is 132"},
  };
  // A run whose outputs show no words files the same finding without them.
  const auto detail_found = [](const MessageCase& test, bool style_details) {
    testing_support::RecordingSink sink(false);
    BugChecker checker;
    checker.start(0);
    testing_support::UnitSettings settings;
    settings.scan.style_rules = test.rules;
    settings.scan.style_details = style_details;
    testing_support::check_unit(checker, sink, test.files, settings);
    std::string found = "(no finding)";
    for (std::size_t i = 0; i < sink.findings.size(); ++i) {
      if (sink.findings[i].kind != FindingKind(test.kind) || sink.findings[i].line != test.line) continue;
      found = "(no detail)";
      for (const auto& [position, detail] : sink.details) {
        if (position == i) found = detail;
      }
      break;
    }
    return found;
  };
  for (const MessageCase& test : cases) {
    SCOPED_TRACE(test.label);
    EXPECT_EQ(detail_found(test, true), test.detail);
    EXPECT_EQ(detail_found(test, false), "(no detail)");
  }
}

}  // namespace
}  // namespace flawseek
