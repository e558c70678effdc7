// One row per finding kind: everything the program knows about a kind apart
// from the code of its check. Its id, severity and suppression mark, the rule
// books that switch it on, the parser messages that raise it, and the texts
// that explain it (--list-rules, --explain, the SARIF rules, the window).
// A row is tied to its kind by the kind it names, never by where it stands:
// the table is checked against the enumeration at compile time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "findings/finding.h"
#include "findings/finding_id.h"
#include "frontend/parser_message.h"
#include "platform/enum_set.h"
#include "style/style_kind.h"

namespace flawseek {

// The words of SARIF's levels, which the JSON output and the GNU lines use too.
enum class Severity : std::uint8_t { ERROR, WARNING, NOTE };

constexpr std::string_view severity_name(Severity severity) {
  switch (severity) {
    case Severity::ERROR:
      return "error";
    case Severity::WARNING:
      return "warning";
    case Severity::NOTE:
      return "note";
  }
  return "note";
}

using StyleSets = EnumSet<StyleSet, style_set_count>;
using ParserMessages = EnumSet<ParserMessage, parser_message_count>;

struct RuleDescriptor {
  FindingKind kind;
  // The stable name that outputs, baselines and the command line share; it
  // never changes once published (labels may).
  std::string_view id;
  Severity severity;
  // The word of the comment that suppresses one finding ("NP" for -->NP:);
  // empty when no mark suppresses the kind.
  std::string_view mark;
  // The parser's complaints that the check pass reports as this kind.
  ParserMessages raised_by;
  // The rule books that check the kind without the user selecting it.
  StyleSets sets;
  // What is wrong, as one finding's message ("access value is null here").
  std::string_view sentence;
  // What the rule detects and why that matters: a paragraph each.
  std::string_view detects;
  std::string_view matters;
  // A minimal example that raises the kind (lines end in '\n'); an example
  // of several files opens each with a comment naming it ("--  quiet.ads").
  std::string_view example;
  // Which rule books (or what else) switch the check on, in words.
  std::string_view enabled_by;
  // Whether a finding of the kind can be mended mechanically.
  bool fixable = false;

  std::string_view family() const { return family_name(kind); }
  const std::string& label() const { return kind.label(); }
};

namespace rule_texts {
inline constexpr std::string_view always = "always checked";
inline constexpr std::string_view extended_sets = "TAVIK, TAVIK_95; USER and USER_95 when selected (--style)";
inline constexpr std::string_view basic_sets = "TAVIK, TAVIK_95; any set when selected (--style)";
}  // namespace rule_texts

// Bug kinds first, then style kinds, as FindingKind numbers them.
inline constexpr std::array<RuleDescriptor, FindingKind::count> rule_descriptors = {{
    {.kind = BugKind::INTERNAL_ERROR,
     .id = "internal-error",
     .severity = Severity::ERROR,
     .mark = "",
     .raised_by = {},
     .sets = {},
     .sentence = "the analysis of this file failed",
     .detects = "A file that could not be read or analysed to its end: the analysis met a condition it cannot handle "
                 "(an unreadable file, a line longer than 400 characters with style checks off, a failure inside the "
                 "analysis). The finding stands at the line the reader had reached; the log (--log) holds the reason.",
     .matters = "Nothing after that line was checked, so the file may hold findings that are not reported.",
     .example = "",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::SYNTAX_ERROR,
     .id = "syntax-error",
     .severity = Severity::ERROR,
     .mark = "",
     .raised_by = {ParserMessage::STATEMENT_END_NAME_DIFFERS, ParserMessage::UNIT_END_NAME_DIFFERS, ParserMessage::END_EXPECTED, ParserMessage::SYNTAX_ERROR, ParserMessage::UNKNOWN_ATTRIBUTE},
     .sets = {},
     .sentence = "syntax error",
     .detects = "Source text that is not Ada 95 as the parser reads it: the parse of the file was abandoned at this "
                 "token, the name after END differs from the name of its unit, loop or block, or a word after an "
                 "apostrophe is no attribute in force (GNAT's own attributes need --gnat-extensions).",
     .matters = "The rest of the file was not analysed, so its findings are missing; a compiler rejects the file too.",
     .example = "procedure Broken is\n"
                 "begin\n"
                 "   if then\n"
                 "      null;\n"
                 "   end if;\n"
                 "end Broken;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::ILLOGICAL_OPERATOR_RENAME,
     .id = "illogical-operator-rename",
     .severity = Severity::WARNING,
     .mark = "IOR",
     .raised_by = {ParserMessage::OPERATOR_RENAMED},
     .sets = {},
     .sentence = "operator renamed as a different operator",
     .detects = "A function declaration that renames one operator symbol as another: function \"+\" ... renames \"-\".",
     .matters = "Every use of the operator then does something else than it says; this is almost always a slip of the pen.",
     .example = "package Sizes is\n"
                 "   type Size is new Integer;\n"
                 "   function \"+\" (Left, Right : Size) return Size renames \"-\";\n"
                 "end Sizes;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::CODE_NOT_REACHABLE,
     .id = "code-not-reachable",
     .severity = Severity::WARNING,
     .mark = "CNR",
     .raised_by = {},
     .sets = {},
     .sentence = "statement is never reached",
     .detects = "The first statement after a raise statement, an unconditional exit or a return statement in the same "
                 "sequence of statements. A label before it makes it reachable; a return right after a raise is not "
                 "reported.",
     .matters = "The statement can never run: either it is dead code or the transfer of control before it is a mistake.",
     .example = "procedure Reset (X : out Integer) is\n"
                 "begin\n"
                 "   return;\n"
                 "   X := 0;\n"
                 "end Reset;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::EXCEPTION_NOT_RAISED,
     .id = "exception-not-raised",
     .severity = Severity::WARNING,
     .mark = "ENR",
     .raised_by = {},
     .sets = {},
     .sentence = "exception is declared but never raised",
     .detects = "An exception declared in a scope that no raise statement of that scope raises. A handler that "
                 "names it does not count. The exceptions of a library-level specification are for its clients and "
                 "child units to raise, and are never reported.",
     .matters = "Handlers for an exception nobody raises are dead code, and the declaration suggests a check that was "
                 "never written.",
     .example = "procedure Check is\n"
                 "   Overflow : exception;\n"
                 "begin\n"
                 "   null;\n"
                 "end Check;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::UNUSED_UNIT,
     .id = "unused-unit",
     .severity = Severity::WARNING,
     .mark = "UU",
     .raised_by = {},
     .sets = {},
     .sentence = "withed unit is never used",
     .detects = "A unit named in a with clause, or a program unit declared locally, that the specification and body "
                 "pair never names. Single files draw no finding; operators, Initialize, Finalize and Adjust, the "
                 "operations of tagged types that dispatching may call (those of a derived or a private tagged type), "
                 "what a body stub's subunit may use, and units named like a box-default generic formal subprogram are "
                 "never reported.",
     .matters = "Needless dependencies slow builds, widen the impact of changes and hide the units really used.",
     .example = "--  quiet.ads\n"
                 "package Quiet is\n"
                 "   procedure Run;\n"
                 "end Quiet;\n"
                 "--  quiet.adb\n"
                 "with Ada.Text_IO;\n"
                 "package body Quiet is\n"
                 "   procedure Run is\n"
                 "   begin\n"
                 "      null;\n"
                 "   end Run;\n"
                 "end Quiet;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::UNUSED_DECLARATION,
     .id = "unused-declaration",
     .severity = Severity::WARNING,
     .mark = "UD",
     .raised_by = {},
     .sets = {},
     .sentence = "declaration is never used",
     .detects = "An object or type declared in a scope and never used before the scope ends. Library-level objects and "
                 "types of a specification are for its clients and are never reported.",
     .matters = "An unused declaration is dead weight at best; at worst it shows that the value meant to be used is "
                 "not the one that is.",
     .example = "procedure Count is\n"
                 "   Total : Integer := 0;\n"
                 "begin\n"
                 "   null;\n"
                 "end Count;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::NULL_POINTER,
     .id = "null-pointer",
     .severity = Severity::WARNING,
     .mark = "NP",
     .raised_by = {},
     .sets = {},
     .sentence = "access value is null here",
     .detects = "A dereference of an access value where an enclosing if statement, or the condition being parsed, says "
                 "the value is null: if P = null then X := P.all, the else part of if P /= null, or P.all after "
                 "P /= null and in the condition itself.",
     .matters = "The dereference raises Constraint_Error every time it runs.",
     .example = "procedure Show (P : Ref) is\n"
                 "   X : Integer;\n"
                 "begin\n"
                 "   if P = null then\n"
                 "      X := P.all;\n"
                 "   end if;\n"
                 "end Show;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::NON_SHORT_CIRCUIT,
     .id = "non-short-circuit",
     .severity = Severity::WARNING,
     .mark = "NSC",
     .raised_by = {},
     .sets = {},
     .sentence = "null test does not guard without the short-circuit form",
     .detects = "A dereference of an access value that another relation of the same condition, joined by plain AND "
                 "or OR, compares with null (P /= null and P.all > 0), or the tested value itself handed to a call "
                 "after such an AND (X /= null and Check (X)) or OR (X = null or Check (X)).",
     .matters = "Ada evaluates both operands of AND and OR, so the dereference runs even when the test failed and "
                 "raises Constraint_Error; AND THEN and OR ELSE stop early.",
     .example = "function Positive (P : Ref) return Boolean is\n"
                 "begin\n"
                 "   return P /= null and P.all > 0;\n"
                 "end Positive;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::WRONG_GRANULARITY,
     .id = "wrong-granularity",
     .severity = Severity::WARNING,
     .mark = "WG",
     .raised_by = {},
     .sets = {},
     .sentence = "'Size counts bits, not storage units",
     .detects = "The attribute 'Size handed on bare as an actual parameter, generic actual or aggregate component "
                 "beside an 'Address, or to a formal or component whose name says storage units (Length, Bytes, "
                 "Count, Storage), where a count of storage units is plausibly meant. An element in which an operator "
                 "converts the value (A'Size / 8), or whose name says bits, is taken as right.",
     .matters = "'Size is in bits; a copy or an allocation sized with it handles eight times too much memory.",
     .example = "procedure Copy (A, B : in out Buffer) is\n"
                 "begin\n"
                 "   Move (A'Address, B'Address, A'Size);\n"
                 "end Copy;\n",
     .enabled_by = rule_texts::always},
    {.kind = BugKind::RECURSIVE_ENTRY_CALL,
     .id = "recursive-entry-call",
     .severity = Severity::WARNING,
     .mark = "REC",
     .raised_by = {},
     .sets = {},
     .sentence = "task body calls an entry of a task it declares",
     .detects = "An entry call standing directly in the statements of a task body (outside every nested block, loop or "
                 "body) to an entry of a task declared in that body's own declarative part. Entries of protected objects "
                 "are not counted.",
     .matters = "The calling task cannot finish before the task it declares, and waits on it in its own statements: "
                 "when the inner task does not reach its accept statement, both wait for ever.",
     .example = "procedure Dispatcher is\n"
                 "   task Server;\n"
                 "   task body Server is\n"
                 "      task Worker is\n"
                 "         entry Start;\n"
                 "      end Worker;\n"
                 "      task body Worker is\n"
                 "      begin\n"
                 "         accept Start;\n"
                 "      end Worker;\n"
                 "   begin\n"
                 "      Worker.Start;\n"
                 "   end Server;\n"
                 "begin\n"
                 "   null;\n"
                 "end Dispatcher;\n",
     .enabled_by = rule_texts::always},
    {.kind = StyleKind::CHARACTER_NOT_PORTABLE,
     .id = "style/character-not-portable",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::CHARACTER_NOT_PORTABLE},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "character is not portable",
     .detects = "A character above code 127 in a name.",
     .matters = "Names outside 7-bit ASCII depend on the source encoding and are not Ada 83 or Ada 95 portable.",
     .example = "procedure Gr\xFC\xDF is\n"
                 "begin\n"
                 "   null;\n"
                 "end Gr\xFC\xDF;\n",
     .enabled_by = rule_texts::basic_sets},
    {.kind = StyleKind::HANDLE_TASK_EXCEPTIONS,
     .id = "style/handle-task-exceptions",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::TASK_WITHOUT_HANDLER},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "task body has no exception handler",
     .detects = "A task body whose statements have no exception handler.",
     .matters = "An exception that reaches the end of a task body ends the task silently: nobody is told.",
     .example = "procedure Main is\n"
                 "   task Worker;\n"
                 "   task body Worker is\n"
                 "   begin\n"
                 "      null;\n"
                 "   end Worker;\n"
                 "begin\n"
                 "   null;\n"
                 "end Main;\n",
     .enabled_by = rule_texts::basic_sets},
    {.kind = StyleKind::NO_DECLARATION_OVERLOADING,
     .id = "style/no-declaration-overloading",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "name is declared again",
     .detects = "An object, loop parameter or type that takes a name already declared at its level or an enclosing one. "
                 "The full declaration of an incomplete type or of a deferred constant completes it: no second "
                 "declaration.",
     .matters = "A declaration that hides another makes a reader (and a later change) use the wrong one.",
     .example = "procedure Outer is\n"
                 "   Count : Integer := 0;\n"
                 "   procedure Inner is\n"
                 "      Count : Integer := 1;\n"
                 "   begin\n"
                 "      null;\n"
                 "   end Inner;\n"
                 "begin\n"
                 "   Inner;\n"
                 "end Outer;\n",
     .enabled_by = rule_texts::basic_sets},
    {.kind = StyleKind::NO_GOTO_STATEMENTS,
     .id = "style/no-goto-statements",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::GOTO_STATEMENT},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "goto statement",
     .detects = "A goto statement.",
     .matters = "Jumps make the flow of control hard to follow; Ada's loops, exits and exceptions say the same more "
                 "plainly.",
     .example = "procedure Jump is\n"
                 "begin\n"
                 "   goto Done;\n"
                 "   <<Done>> null;\n"
                 "end Jump;\n",
     .enabled_by = rule_texts::basic_sets},
    {.kind = StyleKind::NO_PACKAGE_USE_CLAUSE,
     .id = "style/no-package-use-clause",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::USE_CLAUSE},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "use clause for a package",
     .detects = "A use clause that makes a package's declarations directly visible.",
     .matters = "Without the package prefix a reader cannot tell where a name comes from, and a new declaration in the "
                 "used package can change what a name means.",
     .example = "with Ada.Text_IO;\n"
                 "use Ada.Text_IO;\n"
                 "procedure Hello is\n"
                 "begin\n"
                 "   Put_Line (\"Hello\");\n"
                 "end Hello;\n",
     .enabled_by = rule_texts::basic_sets},
    {.kind = StyleKind::NO_VARIABLE_IN_SPECIFICATION,
     .id = "style/no-variable-in-specification",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "variable in a package specification",
     .detects = "A variable declared in the visible part of a library-level package specification.",
     .matters = "Every client can change such a variable at any time; the package loses control over its own state.",
     .example = "package Counters is\n"
                 "   Count : Integer := 0;\n"
                 "end Counters;\n",
     .enabled_by = rule_texts::basic_sets},
    {.kind = StyleKind::SUPERFLUOUS_CODE_MARK,
     .id = "style/superfluous-code-mark",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {},
     .sets = {},
     .sentence = "suppression mark suppresses nothing",
     .detects = "A suppression mark (-->NP: and the like) on a line where no finding of its kind was reported.",
     .matters = "A mark that suppresses nothing is stale: the code changed, and the mark would hide a future finding "
                 "nobody has looked at.",
     .example = "procedure Marks is\n"
                 "   Total : Integer := 0;\n"
                 "begin\n"
                 "   Total := Total * 2; -->NP: there is no pointer here\n"
                 "end Marks;\n",
     .enabled_by = "any set when selected (--style superfluous_code_mark)"},
    {.kind = StyleKind::LINE_TOO_LONG,
     .id = "style/line-too-long",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::LINE_TOO_LONG},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "line is too long",
     .detects = "A line longer than the style's limit (132 characters for TAVIK and TAVIK_95, 120 for BRIGHTMOOR); "
                 "comment text does not count. A line of more than 400 characters always ends the file's check.",
     .matters = "Long lines are hard to read side by side, in reviews and in printouts.",
     .example = "procedure Long is\n"
                 "begin\n"
                 "   null;                                                                                                                                         null;\n"
                 "end Long;\n",
     .enabled_by = rule_texts::extended_sets},
    {.kind = StyleKind::BAD_ATTRIBUTE,
     .id = "style/bad-attribute",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::ATTRIBUTE_SPELLING, ParserMessage::ASPECT_ATTRIBUTE_SPELLING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "attribute is not in the required letter case",
     .detects = "An attribute designator after an apostrophe that is not written in the style's case (lower case for "
                 "TAVIK); so too the mark of an aspect that specifies an attribute (with Size => 32, as for "
                 "T'Size use 32).",
     .matters = "One spelling per word makes code easy to scan and to search.",
     .example = "-->STYLE: TAVIK\n"
                 "procedure Size_Of (X : Integer; S : out Integer) is\n"
                 "begin\n"
                 "   S := X'SIZE;\n"
                 "end Size_Of;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::BAD_IDENTIFIER,
     .id = "style/bad-identifier",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::IDENTIFIER_SPELLING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "identifier is not in the required letter case",
     .detects = "A name not written in the style's case (mixed case, Like_This, for TAVIK). With --relaxed-styles the "
                 "spelling of the declaring specification is accepted.",
     .matters = "One spelling per name makes code easy to scan and to search.",
     .example = "-->STYLE: TAVIK\n"
                 "procedure Show is\n"
                 "   total_count : Integer := 0;\n"
                 "begin\n"
                 "   total_count := 1;\n"
                 "end Show;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::BAD_KEYWORD,
     .id = "style/bad-keyword",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::KEYWORD_SPELLING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "reserved word is not in the required letter case",
     .detects = "A reserved word not written in the style's case (lower case for TAVIK).",
     .matters = "One spelling per word makes code easy to scan and to search.",
     .example = "-->STYLE: TAVIK\n"
                 "procedure Show is\n"
                 "BEGIN\n"
                 "   null;\n"
                 "end Show;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::BAD_PRAGMA,
     .id = "style/bad-pragma",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::PRAGMA_SPELLING, ParserMessage::ASPECT_PRAGMA_SPELLING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "pragma name is not in the required letter case",
     .detects = "The name after PRAGMA not written in the style's case (upper case for TAVIK); so too the mark of "
                 "any aspect that specifies no attribute (with Inline, with Pre => ...), most of which stand for a "
                 "pragma.",
     .matters = "One spelling per word makes code easy to scan and to search.",
     .example = "-->STYLE: TAVIK\n"
                 "package Pure_Unit is\n"
                 "   pragma Pure;\n"
                 "end Pure_Unit;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::BAD_PREFIX,
     .id = "style/bad-prefix",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::PREFIX_MISSING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "name lacks the required naming prefix",
     .detects = "A declared name or subtype mark without the naming prefix the style asks for its kind of declaration "
                 "(for TAVIK: C_ for constants, E_ for exceptions, T_ for types, and so on).",
     .matters = "The prefix tells the reader what a name denotes wherever it is used.",
     .example = "-->STYLE: TAVIK\n"
                 "package Limits is\n"
                 "   Maximum : constant Integer := 10;\n"
                 "end Limits;\n",
     .enabled_by = rule_texts::extended_sets},
    {.kind = StyleKind::BAD_ACCESS_TYPE,
     .id = "style/bad-access-type",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::ACCESS_TYPE_CLASS},
     .sets = {StyleSet::TAVIK_95},
     .sentence = "access type name does not match its designated type",
     .detects = "An access type whose name does not follow its designated type's class-wide naming form (TAVIK_95's "
                 "T_..._PTR and _class rules).",
     .matters = "The name of an access type should say what it designates and whether that is class-wide.",
     .example = "-->STYLE: TAVIK_95\n"
                 "package Lists is\n"
                 "   type T_ITEM is tagged null record;\n"
                 "   type Item_Ref is access T_ITEM'Class;\n"
                 "end Lists;\n",
     .enabled_by = "TAVIK_95; USER_95 with style/bad-prefix selected"},
    {.kind = StyleKind::IDENTIFIER_MISSING,
     .id = "style/identifier-missing",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::STATEMENT_END_NAME_MISSING, ParserMessage::UNIT_END_NAME_MISSING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "end is not followed by the name",
     .detects = "END of a body, an accept statement, a named loop or a named block written without the name.",
     .matters = "The name after END tells a reader which construct closes without scrolling back.",
     .example = "-->STYLE: TAVIK\n"
                 "procedure Show is\n"
                 "begin\n"
                 "   null;\n"
                 "end;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::INCONSISTENT_PACKAGE_NAME,
     .id = "style/inconsistent-package-name",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::PACKAGE_NAME_SPELLING},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "package name is spelled unlike its declaration",
     .detects = "A package prefix spelled differently from the package's own name as this file names it (its with "
                 "clause, renaming or instantiation).",
     .matters = "Two spellings of one name make searches miss uses.",
     .example = "-->STYLE: TAVIK\n"
                 "with Ada.Text_IO;\n"
                 "procedure Hello is\n"
                 "   package Text renames Ada.Text_IO;\n"
                 "begin\n"
                 "   TEXT.Put_Line (\"Hello\");\n"
                 "end Hello;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION,
     .id = "style/inconsistent-parameter-association",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::MIXED_ASSOCIATIONS},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "named and positional associations are mixed",
     .detects = "An actual parameter part that mixes named and positional associations.",
     .matters = "Mixed associations are hard to check against the profile; named associations say what each value is.",
     .example = "-->STYLE: TAVIK\n"
                 "procedure Call is\n"
                 "begin\n"
                 "   Move (Source, Target => Buffer);\n"
                 "end Call;\n",
     .enabled_by = rule_texts::extended_sets},
    {.kind = StyleKind::NOT_UPPERCASE,
     .id = "style/not-uppercase",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::NOT_UPPER_CASE},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "name must be upper case",
     .detects = "A name whose naming prefix asks for upper case, or a Boolean literal, not written in upper case.",
     .matters = "The style reserves upper case for these names so that they stand out.",
     .example = "-->STYLE: TAVIK\n"
                 "procedure Flags is\n"
                 "   Done : Boolean := False;\n"
                 "begin\n"
                 "   Done := True;\n"
                 "end Flags;\n",
     .enabled_by = rule_texts::extended_sets,
     .fixable = true},
    {.kind = StyleKind::WRONG_MODE,
     .id = "style/wrong-mode",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {ParserMessage::PARAMETER_MODE},
     .sets = {StyleSet::TAVIK, StyleSet::TAVIK_95},
     .sentence = "parameter mode breaks the mode rules",
     .detects = "A parameter mode against the style's mode rules: modes written inconsistently within a file, IN left "
                 "out where it must be written, or IN written alone where it must not be.",
     .matters = "Consistent modes make a profile read the same everywhere.",
     .example = "-->STYLE: TAVIK\n"
                 "package Modes is\n"
                 "   procedure Put (X : in Integer);\n"
                 "   procedure Get (X : Integer);\n"
                 "end Modes;\n",
     .enabled_by = rule_texts::extended_sets},
    {.kind = StyleKind::NO_STYLE_CHECKS,
     .id = "style/no-style-checks",
     .severity = Severity::NOTE,
     .mark = "",
     .raised_by = {},
     .sets = {},
     .sentence = "file has no style command",
     .detects = "A file that carries no -->STYLE: command, listed only with --list-unchecked-style. The finding stands "
                 "for the whole file.",
     .matters = "Without a style command the file is checked only with the job's style selection; a project that "
                 "wants every file under a coding standard needs to know which files lack one.",
     .example = "procedure Plain is\n"
                 "begin\n"
                 "   null;\n"
                 "end Plain;\n",
     .enabled_by = "--list-unchecked-style"},
}};

namespace rule_descriptor_checks {
constexpr bool rows_follow_the_kinds() {
  for (int index = 0; index < FindingKind::count; ++index) {
    if (rule_descriptors[index].kind.index() != index) return false;
  }
  return true;
}
// Every parser message becomes exactly one kind.
constexpr bool each_message_raises_one_kind() {
  for (int message = 0; message < parser_message_count; ++message) {
    int rows = 0;
    for (const RuleDescriptor& row : rule_descriptors) rows += row.raised_by.contains(static_cast<ParserMessage>(message));
    if (rows != 1) return false;
  }
  return true;
}
constexpr bool ids_and_marks_are_unique() {
  for (std::size_t a = 0; a < rule_descriptors.size(); ++a) {
    for (std::size_t b = a + 1; b < rule_descriptors.size(); ++b) {
      if (rule_descriptors[a].id == rule_descriptors[b].id) return false;
      if (!rule_descriptors[a].mark.empty() && rule_descriptors[a].mark == rule_descriptors[b].mark) return false;
    }
  }
  return true;
}
}  // namespace rule_descriptor_checks

static_assert(rule_descriptor_checks::rows_follow_the_kinds(),
              "a row of rule_descriptors stands at another kind's place");
static_assert(rule_descriptor_checks::each_message_raises_one_kind(),
              "a parser message is raised by no kind, or by two");
static_assert(rule_descriptor_checks::ids_and_marks_are_unique(), "two kinds share an id or a mark");

constexpr const RuleDescriptor& rule_descriptor(FindingKind kind) { return rule_descriptors[kind.index()]; }

constexpr std::string_view severity_name(FindingKind kind) { return severity_name(rule_descriptor(kind).severity); }

// The kind a parser message is reported as.
constexpr FindingKind kind_raised_by(ParserMessage message) {
  for (const RuleDescriptor& row : rule_descriptors) {
    if (row.raised_by.contains(message)) return row.kind;
  }
  return BugKind::INTERNAL_ERROR;  // not reached: every message has its row
}

// The bug kind whose mark is `word` exactly ("NP"), if any.
constexpr std::optional<BugKind> kind_of_mark(std::string_view word) {
  if (word.empty()) return std::nullopt;
  for (const RuleDescriptor& row : rule_descriptors) {
    if (!row.kind.is_style() && row.mark == word) return row.kind.bug_kind();
  }
  return std::nullopt;
}

}  // namespace flawseek
