// Where each kind of finding stands on its line: for every kind with a
// column, a small unit whose one finding of that kind must point at the
// token that is wrong, so that an editor opens on it. (Line Too Long's
// column is the limit, no token.)
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "check_test_support.h"
#include "style/get_style_rules.h"

namespace flawseek {
namespace {

using testing_support::RecordingSink;
using testing_support::UnitFile;
using testing_support::UnitSettings;

struct ColumnCase {
  FindingKind kind;
  // The style kind selected out of the USER book (a bug kind's case selects
  // one that stays silent on its text).
  StyleKind selected;
  const char* file;
  const char* text;
  // The text the finding's column must open with; the case's only finding
  // of its kind.
  std::string_view token;
  StyleSet book = StyleSet::USER;
  // The specification `file` is the body of, checked with it as a pair.
  const char* specification = nullptr;
};

void PrintTo(const ColumnCase& c, std::ostream* out) { *out << c.file; }

constexpr const char* tasks = R"(procedure Tasks is
   task Manager is
      entry Go;
   end Manager;
   task body Manager is
      task Worker is
         entry Start (N : Integer);
      end Worker;
      task body Worker is
      begin
         accept Start (N : Integer);
      exception
         when others => null;
      end Worker;
   begin
      accept Go;
      Worker.Start (1);
   exception
      when others => null;
   end Manager;
begin
   null;
end Tasks;
)";

const ColumnCase cases[] = {
    {BugKind::SYNTAX_ERROR, StyleKind::NO_GOTO_STATEMENTS, "syntax.adb",
     "procedure Syntax is\n   X : Integer;\nbegin\n   X := 1 + ;\nend Syntax;\n", ";"},
    {BugKind::ILLOGICAL_OPERATOR_RENAME, StyleKind::NO_GOTO_STATEMENTS, "ops.ads",
     "package Ops is\n   type T is new Integer;\n   function \"-\" (L, R : T) return T\n     renames   Standard.\"+\";\nend Ops;\n",
     "\"+\";"},
    {BugKind::CODE_NOT_REACHABLE, StyleKind::NO_GOTO_STATEMENTS, "unreachable.adb",
     "procedure Unreachable (X : out Integer) is\nbegin\n   return;   X := 1;\nend Unreachable;\n", "X :="},
    {BugKind::EXCEPTION_NOT_RAISED, StyleKind::NO_GOTO_STATEMENTS, "exceptions.adb",
     "procedure Exceptions is\n   Oops : exception;\nbegin\n   null;\nend Exceptions;\n", "Oops :"},
    {BugKind::UNUSED_UNIT, StyleKind::NO_GOTO_STATEMENTS, "units.adb",
     "package body Units is\n   procedure Helper is begin null; end Helper;\n   procedure Run is begin null; end Run;\n"
     "end Units;\n",
     "Helper is", StyleSet::USER, "package Units is\n   procedure Run;\nend Units;\n"},
    {BugKind::UNUSED_DECLARATION, StyleKind::NO_GOTO_STATEMENTS, "declarations.adb",
     "procedure Declarations is\n   Idle : Integer;\nbegin\n   null;\nend Declarations;\n", "Idle :"},
    {BugKind::NULL_POINTER, StyleKind::NO_GOTO_STATEMENTS, "nulls.adb",
     "procedure Nulls is\n   type R is record L : Integer; end record;\n   type P_R is access R;\n   P : P_R;\n"
     "   X : Integer;\nbegin\n   if P = null then X := P  .L; end if;\nend Nulls;\n",
     "P  .L"},
    {BugKind::NON_SHORT_CIRCUIT, StyleKind::NO_GOTO_STATEMENTS, "shorts.adb",
     "procedure Shorts is\n   type R is record L : Integer; end record;\n   type P_R is access R;\n   P : P_R;\n"
     "   B : Boolean;\nbegin\n   B := P /= null and P.all.L > 0;\nend Shorts;\n",
     "P.all.L >"},
    {BugKind::WRONG_GRANULARITY, StyleKind::NO_GOTO_STATEMENTS, "sizes.adb",
     "procedure Sizes is\n   procedure Move (F, T : Integer; N : Natural) is begin null; end Move;\n"
     "   A, B : Integer := 0;\nbegin\n   Move (A'Address, B'Address, A'Size);\nend Sizes;\n",
     "Size)"},
    {BugKind::RECURSIVE_ENTRY_CALL, StyleKind::NO_GOTO_STATEMENTS, "tasks.adb", tasks, "Worker.Start (1)"},
    {StyleKind::CHARACTER_NOT_PORTABLE, StyleKind::CHARACTER_NOT_PORTABLE, "portable.adb",
     "procedure Portable is\n   X : Integer := 0;\nbegin\n   X := Stra\xDF\xE9 + 1;\nend Portable;\n",
     "Stra\xDF\xE9 +"},
    {StyleKind::HANDLE_TASK_EXCEPTIONS, StyleKind::HANDLE_TASK_EXCEPTIONS, "handlers.adb",
     "procedure Handlers is\n   task T;\n   task body T is\n   begin\n      null;\n   end T;\nbegin\n   null;\nend "
     "Handlers;\n",
     "T;"},
    {StyleKind::NO_DECLARATION_OVERLOADING, StyleKind::NO_DECLARATION_OVERLOADING, "overloads.adb",
     "procedure Overloads is\n   Count : Integer := 0;\n   procedure Inner is\n      Count : Integer := 1;\n"
     "   begin\n      null;\n   end Inner;\nbegin\n   Inner;\nend Overloads;\n",
     "Count : Integer := 1"},
    {StyleKind::NO_GOTO_STATEMENTS, StyleKind::NO_GOTO_STATEMENTS, "jumps.adb",
     "procedure Jumps is\nbegin\n   <<Again>> null;\n   goto Again;\nend Jumps;\n", "Again;"},
    {StyleKind::NO_PACKAGE_USE_CLAUSE, StyleKind::NO_PACKAGE_USE_CLAUSE, "uses.adb",
     "with Text_IO;\nuse  Text_IO;\nprocedure Uses is\nbegin\n   null;\nend Uses;\n", "Text_IO;"},
    {StyleKind::NO_VARIABLE_IN_SPECIFICATION, StyleKind::NO_VARIABLE_IN_SPECIFICATION, "variables.ads",
     "package Variables is\n   Level : Integer := 0;\nend Variables;\n", "Level :"},
    {StyleKind::BAD_ATTRIBUTE, StyleKind::BAD_ATTRIBUTE, "attributes.adb",
     "procedure Attributes is\n   X : Integer := Integer'LAST;\nbegin\n   null;\nend Attributes;\n", "LAST;"},
    {StyleKind::BAD_IDENTIFIER, StyleKind::BAD_IDENTIFIER, "identifiers.adb",
     "procedure Identifiers is\n   bad_Name : Integer := 0;\nbegin\n   null;\nend Identifiers;\n", "bad_Name :"},
    {StyleKind::BAD_KEYWORD, StyleKind::BAD_KEYWORD, "keywords.adb",
     "procedure Keywords is\nBEGIN\n   null;\nend Keywords;\n", "BEGIN"},
    {StyleKind::BAD_PRAGMA, StyleKind::BAD_PRAGMA, "pragmas.adb",
     "procedure Pragmas is\n   pragma optimize (Time);\nbegin\n   null;\nend Pragmas;\n", "optimize ("},
    {StyleKind::BAD_PREFIX, StyleKind::BAD_PREFIX, "prefixes.adb",
     "procedure Prefixes is\n   type Count is range 0 .. 10;\nbegin\n   null;\nend Prefixes;\n", "Count is"},
    {StyleKind::BAD_ACCESS_TYPE, StyleKind::BAD_PREFIX, "access_types.ads",
     "package Access_Types is\n   type T_SHAPE is tagged null record;\n   type P_SHAPE is access T_SHAPE'Class;\n"
     "end Access_Types;\n",
     "P_SHAPE is", StyleSet::USER_95},
    {StyleKind::IDENTIFIER_MISSING, StyleKind::IDENTIFIER_MISSING, "ends.adb",
     "procedure Ends is\nbegin\n   null;\nend;\n", ";"},
    {StyleKind::NOT_UPPERCASE, StyleKind::NOT_UPPERCASE, "uppers.adb",
     "procedure Uppers is\n   X : BOOLEAN := true;\nbegin\n   null;\nend Uppers;\n", "true;"},
    {StyleKind::WRONG_MODE, StyleKind::WRONG_MODE, "modes.adb",
     "procedure Modes is\n   procedure P (X : in Integer; Y : Integer) is begin null; end P;\nbegin\n   P (1, 2);\n"
     "end Modes;\n",
     "Integer) is"},
    {StyleKind::SUPERFLUOUS_CODE_MARK, StyleKind::NO_GOTO_STATEMENTS, "marks.adb",
     "procedure Marks is\nbegin\n   null;  -->NP: nothing to suppress\nend Marks;\n", "-->NP"},
    {StyleKind::INCONSISTENT_PACKAGE_NAME, StyleKind::INCONSISTENT_PACKAGE_NAME, "packages.adb",
     "with Text_IO;\nprocedure Packages is\nbegin\n   TEXT_IO.Put_Line (\"x\");\nend Packages;\n",
     "TEXT_IO.Put"},
    {StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION, StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION, "named.adb",
     "procedure Named is\n   procedure P (X, Y : Integer) is begin null; end P;\nbegin\n   P (1 + 0,   Y => 1);\n"
     "end Named;\n",
     "Y => 1)"},
    {StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION, StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION, "positional.adb",
     "procedure Positional is\n   procedure P (X, Y : Integer) is begin null; end P;\nbegin\n   P (1,\n"
     "      Y => 2);\nend Positional;\n",
     "Y"},
};

std::vector<std::string> lines_of(const char* text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class FindingColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(FindingColumns, StandAtTheWrongToken) {
  const ColumnCase& c = GetParam();
  UnitSettings settings;
  StyleSelection selection;
  selection.extended_style_mode = true;
  selection.style_set = c.book;
  selection.select(c.selected);
  settings.scan.style_rules = get_style_rules(selection);
  settings.scan.report_superfluous_marks = c.kind == FindingKind(StyleKind::SUPERFLUOUS_CODE_MARK);
  RecordingSink sink;
  BugChecker checker;
  checker.start(0);
  std::vector<UnitFile> files{UnitFile{c.file, true, c.text}};
  if (c.specification != nullptr) {
    const std::string body = c.file;
    files.insert(files.begin(), UnitFile{body.substr(0, body.size() - 1) + "s", true, c.specification});
  }
  testing_support::check_unit(checker, sink, files, settings);

  const std::vector<std::string> lines = lines_of(c.text);
  int found = 0;
  for (const auto& f : sink.findings) {
    if (f.kind != c.kind || f.file != c.file) continue;
    ++found;
    ASSERT_GE(f.line, 1);
    ASSERT_LE(f.line, static_cast<std::int32_t>(lines.size()));
    const std::string& line = lines[static_cast<std::size_t>(f.line - 1)];
    ASSERT_GE(f.column, 1) << c.file;
    ASSERT_LE(f.column, static_cast<std::int32_t>(line.size())) << c.file;
    EXPECT_EQ(std::string_view(line).substr(static_cast<std::size_t>(f.column - 1), c.token.size()), c.token)
        << c.file << ":" << f.line << ":" << f.column;
  }
  EXPECT_EQ(found, 1) << c.file;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FindingColumns, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<ColumnCase>& info) {
                           std::string name = info.param.file;
                           for (char& ch : name) {
                             if (ch == '.') ch = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace flawseek
