// The rule texts, one entry per finding kind, in the kinds' order.
#include "output/rule_catalog.h"

#include <array>

#include "bugcheck/bug_command_keyword.h"
#include "findings/finding_id.h"
#include "platform/label.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

constexpr std::string_view always = "always checked";
constexpr std::string_view extended_sets = "TAVIK, TAVIK_95; USER and USER_95 when selected (--style)";
constexpr std::string_view basic_sets = "TAVIK, TAVIK_95; any set when selected (--style)";

// Bug kinds first, then style kinds, as FindingKind numbers them.
constexpr std::array<RuleEntry, FindingKind::count> entries = {{
    // ---- Bug kinds ---------------------------------------------------------
    {"the analysis of this file failed",
     "A file that could not be read or analysed to its end: the analysis met a condition it cannot handle "
     "(an unreadable file, a line longer than 400 characters with style checks off, a failure inside the "
     "analysis). The finding stands at the line the reader had reached; the log (--log) holds the reason.",
     "Nothing after that line was checked, so the file may hold findings that are not reported.",
     "",
     always},
    {"syntax error",
     "Source text that is not Ada 95 as the parser reads it: the parse of the file was abandoned at this "
     "token, the name after END differs from the name of its unit, loop or block, or a word after an "
     "apostrophe is no attribute in force (GNAT's own attributes need --gnat-extensions).",
     "The rest of the file was not analysed, so its findings are missing; a compiler rejects the file too.",
     "procedure Broken is\n"
     "begin\n"
     "   if then\n"
     "      null;\n"
     "   end if;\n"
     "end Broken;\n",
     always},
    {"operator renamed as a different operator",
     "A function declaration that renames one operator symbol as another: function \"+\" ... renames \"-\".",
     "Every use of the operator then does something else than it says; this is almost always a slip of the pen.",
     "package Sizes is\n"
     "   type Size is new Integer;\n"
     "   function \"+\" (Left, Right : Size) return Size renames \"-\";\n"
     "end Sizes;\n",
     always},
    {"statement is never reached",
     "The first statement after a raise statement, an unconditional exit or a return statement in the same "
     "sequence of statements. A label before it makes it reachable; a return right after a raise is not "
     "reported.",
     "The statement can never run: either it is dead code or the transfer of control before it is a mistake.",
     "procedure Reset (X : out Integer) is\n"
     "begin\n"
     "   return;\n"
     "   X := 0;\n"
     "end Reset;\n",
     always},
    {"exception is declared but never raised",
     "An exception declared in a scope that no raise statement of that scope (or of the body of its "
     "specification) raises. A handler that names it does not count.",
     "Handlers for an exception nobody raises are dead code, and the declaration suggests a check that was "
     "never written.",
     "procedure Check is\n"
     "   Overflow : exception;\n"
     "begin\n"
     "   null;\n"
     "end Check;\n",
     always},
    {"withed unit is never used",
     "A unit named in a with clause, or a program unit declared locally, that the specification and body "
     "pair never names. Single files draw no finding; operators, Initialize, Finalize and Adjust, and units "
     "named like a box-default generic formal subprogram are never reported.",
     "Needless dependencies slow builds, widen the impact of changes and hide the units really used.",
     "--  quiet.ads\n"
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
     always},
    {"declaration is never used",
     "An object or type declared in a scope and never used before the scope ends. Library-level objects and "
     "types of a specification are for its clients and are never reported.",
     "An unused declaration is dead weight at best; at worst it shows that the value meant to be used is "
     "not the one that is.",
     "procedure Count is\n"
     "   Total : Integer := 0;\n"
     "begin\n"
     "   null;\n"
     "end Count;\n",
     always},
    {"access value is null here",
     "A dereference of an access value where an enclosing if statement, or the condition being parsed, says "
     "the value is null: if P = null then X := P.all, the else part of if P /= null, or P.all after "
     "P /= null and in the condition itself.",
     "The dereference raises Constraint_Error every time it runs.",
     "procedure Show (P : Ref) is\n"
     "   X : Integer;\n"
     "begin\n"
     "   if P = null then\n"
     "      X := P.all;\n"
     "   end if;\n"
     "end Show;\n",
     always},
    {"null test does not guard without the short-circuit form",
     "A dereference of an access value that the same condition compared with null using plain AND or OR "
     "(P /= null and P.all > 0), or a value tested in the first relation and then handed to a call after a "
     "plain AND or OR.",
     "Ada evaluates both operands of AND and OR, so the dereference runs even when the test failed and "
     "raises Constraint_Error; AND THEN and OR ELSE stop early.",
     "function Positive (P : Ref) return Boolean is\n"
     "begin\n"
     "   return P /= null and P.all > 0;\n"
     "end Positive;\n",
     always},
    {"'Size counts bits, not storage units",
     "The attribute 'Size handed on bare in a parameter list, an aggregate or an index list, where a count "
     "of storage units is likely meant. A list in which an operator converts the value (A'Size / 8) is "
     "taken as right.",
     "'Size is in bits; a copy or an allocation sized with it handles eight times too much memory.",
     "procedure Copy (A, B : in out Buffer) is\n"
     "begin\n"
     "   Move (A'Address, B'Address, A'Size);\n"
     "end Copy;\n",
     always},
    {"task body calls an entry of a task it declares",
     "An entry call standing directly in the statements of a task body (outside every nested block, loop or "
     "body) to an entry of a task declared in that body's own declarative part. Entries of protected objects "
     "are not counted.",
     "The calling task cannot finish before the task it declares, and waits on it in its own statements: "
     "when the inner task does not reach its accept statement, both wait for ever.",
     "procedure Dispatcher is\n"
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
     always},
    // ---- Style kinds -------------------------------------------------------
    {"character is not portable",
     "A character above code 127 in a name.",
     "Names outside 7-bit ASCII depend on the source encoding and are not Ada 83 or Ada 95 portable.",
     "procedure Gr\xFC\xDF is\n"
     "begin\n"
     "   null;\n"
     "end Gr\xFC\xDF;\n",
     basic_sets},
    {"task body has no exception handler",
     "A task body whose statements have no exception handler.",
     "An exception that reaches the end of a task body ends the task silently: nobody is told.",
     "procedure Main is\n"
     "   task Worker;\n"
     "   task body Worker is\n"
     "   begin\n"
     "      null;\n"
     "   end Worker;\n"
     "begin\n"
     "   null;\n"
     "end Main;\n",
     basic_sets},
    {"name is declared again",
     "An object, loop parameter or type that takes a name already declared at its level or an enclosing one.",
     "A declaration that hides another makes a reader (and a later change) use the wrong one.",
     "procedure Outer is\n"
     "   Count : Integer := 0;\n"
     "   procedure Inner is\n"
     "      Count : Integer := 1;\n"
     "   begin\n"
     "      null;\n"
     "   end Inner;\n"
     "begin\n"
     "   Inner;\n"
     "end Outer;\n",
     basic_sets},
    {"goto statement",
     "A goto statement.",
     "Jumps make the flow of control hard to follow; Ada's loops, exits and exceptions say the same more "
     "plainly.",
     "procedure Jump is\n"
     "begin\n"
     "   goto Done;\n"
     "   <<Done>> null;\n"
     "end Jump;\n",
     basic_sets},
    {"use clause for a package",
     "A use clause that makes a package's declarations directly visible.",
     "Without the package prefix a reader cannot tell where a name comes from, and a new declaration in the "
     "used package can change what a name means.",
     "with Ada.Text_IO;\n"
     "use Ada.Text_IO;\n"
     "procedure Hello is\n"
     "begin\n"
     "   Put_Line (\"Hello\");\n"
     "end Hello;\n",
     basic_sets},
    {"variable in a package specification",
     "A variable declared in the visible part of a library-level package specification.",
     "Every client can change such a variable at any time; the package loses control over its own state.",
     "package Counters is\n"
     "   Count : Integer := 0;\n"
     "end Counters;\n",
     basic_sets},
    {"suppression mark suppresses nothing",
     "A suppression mark (-->NP: and the like) on a line where no finding of its kind was reported.",
     "A mark that suppresses nothing is stale: the code changed, and the mark would hide a future finding "
     "nobody has looked at.",
     "procedure Marks is\n"
     "   Total : Integer := 0;\n"
     "begin\n"
     "   Total := Total * 2; -->NP: there is no pointer here\n"
     "end Marks;\n",
     "any set when selected (--style superfluous_code_mark)"},
    {"line is too long",
     "A line longer than the style's limit (132 characters for TAVIK and TAVIK_95, 120 for BRIGHTMOOR); "
     "comment text does not count. A line of more than 400 characters always ends the file's check.",
     "Long lines are hard to read side by side, in reviews and in printouts.",
     "procedure Long is\n"
     "begin\n"
     "   null;                                                                                                                                         null;\n"
     "end Long;\n",
     extended_sets},
    {"attribute is not in the required letter case",
     "An attribute designator after an apostrophe that is not written in the style's case (lower case for "
     "TAVIK).",
     "One spelling per word makes code easy to scan and to search.",
     "-->STYLE: TAVIK\n"
     "procedure Size_Of (X : Integer; S : out Integer) is\n"
     "begin\n"
     "   S := X'SIZE;\n"
     "end Size_Of;\n",
     extended_sets},
    {"identifier is not in the required letter case",
     "A name not written in the style's case (mixed case, Like_This, for TAVIK). With --relaxed-styles the "
     "spelling of the declaring specification is accepted.",
     "One spelling per name makes code easy to scan and to search.",
     "-->STYLE: TAVIK\n"
     "procedure Show is\n"
     "   total_count : Integer := 0;\n"
     "begin\n"
     "   total_count := 1;\n"
     "end Show;\n",
     extended_sets},
    {"reserved word is not in the required letter case",
     "A reserved word not written in the style's case (lower case for TAVIK).",
     "One spelling per word makes code easy to scan and to search.",
     "-->STYLE: TAVIK\n"
     "procedure Show is\n"
     "BEGIN\n"
     "   null;\n"
     "end Show;\n",
     extended_sets},
    {"pragma name is not in the required letter case",
     "The name after PRAGMA not written in the style's case (upper case for TAVIK).",
     "One spelling per word makes code easy to scan and to search.",
     "-->STYLE: TAVIK\n"
     "package Pure_Unit is\n"
     "   pragma Pure;\n"
     "end Pure_Unit;\n",
     extended_sets},
    {"name lacks the required naming prefix",
     "A declared name or subtype mark without the naming prefix the style asks for its kind of declaration "
     "(for TAVIK: C_ for constants, E_ for exceptions, T_ for types, and so on).",
     "The prefix tells the reader what a name denotes wherever it is used.",
     "-->STYLE: TAVIK\n"
     "package Limits is\n"
     "   Maximum : constant Integer := 10;\n"
     "end Limits;\n",
     extended_sets},
    {"access type name does not match its designated type",
     "An access type whose name does not follow its designated type's class-wide naming form (TAVIK_95's "
     "T_..._PTR and _class rules).",
     "The name of an access type should say what it designates and whether that is class-wide.",
     "-->STYLE: TAVIK_95\n"
     "package Lists is\n"
     "   type T_ITEM is tagged null record;\n"
     "   type Item_Ref is access T_ITEM'Class;\n"
     "end Lists;\n",
     "TAVIK_95; USER_95 with style/bad-prefix selected"},
    {"end is not followed by the name",
     "END of a body, an accept statement, a named loop or a named block written without the name.",
     "The name after END tells a reader which construct closes without scrolling back.",
     "-->STYLE: TAVIK\n"
     "procedure Show is\n"
     "begin\n"
     "   null;\n"
     "end;\n",
     extended_sets},
    {"package name is spelled unlike its declaration",
     "A package prefix spelled differently from the package's own name as this file names it (its with "
     "clause, renaming or instantiation).",
     "Two spellings of one name make searches miss uses.",
     "-->STYLE: TAVIK\n"
     "with Ada.Text_IO;\n"
     "procedure Hello is\n"
     "   package Text renames Ada.Text_IO;\n"
     "begin\n"
     "   TEXT.Put_Line (\"Hello\");\n"
     "end Hello;\n",
     extended_sets},
    {"named and positional associations are mixed",
     "An actual parameter part that mixes named and positional associations.",
     "Mixed associations are hard to check against the profile; named associations say what each value is.",
     "-->STYLE: TAVIK\n"
     "procedure Call is\n"
     "begin\n"
     "   Move (Source, Target => Buffer);\n"
     "end Call;\n",
     extended_sets},
    {"name must be upper case",
     "A name whose naming prefix asks for upper case, or a Boolean literal, not written in upper case.",
     "The style reserves upper case for these names so that they stand out.",
     "-->STYLE: TAVIK\n"
     "procedure Flags is\n"
     "   Done : Boolean := False;\n"
     "begin\n"
     "   Done := True;\n"
     "end Flags;\n",
     extended_sets},
    {"parameter mode breaks the mode rules",
     "A parameter mode against the style's mode rules: modes written inconsistently within a file, IN left "
     "out where it must be written, or IN written alone where it must not be.",
     "Consistent modes make a profile read the same everywhere.",
     "-->STYLE: TAVIK\n"
     "package Modes is\n"
     "   procedure Put (X : in Integer);\n"
     "   procedure Get (X : Integer);\n"
     "end Modes;\n",
     extended_sets},
    {"file has no style command",
     "A file that carries no -->STYLE: command, listed only with --list-unchecked-style. The finding stands "
     "for the whole file.",
     "Without a style command the file is checked only with the job's style selection; a project that "
     "wants every file under a coding standard needs to know which files lack one.",
     "procedure Plain is\n"
     "begin\n"
     "   null;\n"
     "end Plain;\n",
     "--list-unchecked-style"},
}};

// A paragraph broken into lines of at most 78 characters, each indented by
// two blanks, for a terminal.
std::string indented_paragraph(std::string_view text) {
  constexpr std::size_t width = 76;
  std::string result;
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      result += "  " + line + "\n";
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
    start = end + 1;
  }
  if (!line.empty()) result += "  " + line + "\n";
  return result;
}

}  // namespace

const RuleEntry& rule_entry(FindingKind kind) { return entries[kind.index()]; }

std::string_view severity_name(FindingKind kind) {
  if (kind.is_style()) return "note";
  if (kind == BugKind::SYNTAX_ERROR || kind == BugKind::INTERNAL_ERROR) return "error";
  return "warning";
}

std::optional<std::string> suppression_mark_text(FindingKind kind) {
  if (kind.is_style()) return std::nullopt;
  for (int position = 0; position < bug_command_keyword_count; ++position) {
    const auto keyword = static_cast<BugCommandKeyword>(position);
    if (marked_kind(keyword) == kind.bug_kind()) return "-->" + std::string(command_word(keyword)) + ":";
  }
  return std::nullopt;
}

std::string suppression_advice(FindingKind kind) {
  if (const auto mark = suppression_mark_text(kind)) {
    return "Write the comment " + *mark +
           " followed by the reason on the finding's line; it suppresses one finding of this kind on that "
           "line (write the word twice for two findings).";
  }
  if (kind.is_style()) {
    return "No mark suppresses a style finding. Leave the kind out of the job (--style, --style-set), or "
           "write -->STYLE: NONE in column 1 to switch the style checks off for the rest of the file.";
  }
  return "It cannot be suppressed: mend the file, or leave the finding out with --fail-on or --baseline.";
}

std::optional<FindingKind> find_kind_by_any_name(std::string_view text) {
  if (const auto kind = find_finding_id(text)) return kind;
  // A style kind's id without its "style/", a literal or a label.
  std::string words;
  for (char c : text) words.push_back(c == '-' || c == ' ' ? '_' : c);
  if (const auto kind = find_finding_id(words)) return kind;
  if (const auto kind = find_finding_id("style/" + words)) return kind;
  // A bug kind's mark word ("NP", "-->NP:").
  std::string_view word = text;
  if (word.starts_with("-->")) word.remove_prefix(3);
  if (word.ends_with(":")) word.remove_suffix(1);
  for (int position = 0; position < bug_command_keyword_count; ++position) {
    const auto keyword = static_cast<BugCommandKeyword>(position);
    if (marked_kind(keyword) && latin1::equal_ignoring_case(word, command_word(keyword))) return FindingKind(*marked_kind(keyword));
  }
  return std::nullopt;
}

std::string rule_list_text() {
  std::string text;
  auto column = [&text](std::string_view value, std::size_t width) {
    text += value;
    if (value.size() < width) text.append(width - value.size(), ' ');
    text += "  ";
  };
  column("ID", 40);
  column("LABEL", 34);
  column("FAMILY", 6);
  column("MARK", 7);
  text += "ENABLED BY\n";
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    column(finding_id(kind), 40);
    column(kind.label(), 34);
    column(family_name(kind), 6);
    column(suppression_mark_text(kind).value_or("-"), 7);
    text += rule_entry(kind).enabled_by;
    text += '\n';
  }
  return text;
}

std::string rule_explanation_text(FindingKind kind) {
  const RuleEntry& entry = rule_entry(kind);
  std::string text;
  text += std::string(finding_id(kind)) + ": " + kind.label() + " (" + std::string(family_name(kind)) + ", " +
          std::string(severity_name(kind)) + ")\n\n";
  text += "What it detects\n" + indented_paragraph(entry.detects) + "\n";
  text += "Why it matters\n" + indented_paragraph(entry.matters) + "\n";
  text += "Enabled by\n" + indented_paragraph(entry.enabled_by) + "\n";
  if (!entry.example.empty()) {
    text += "Example\n";
    std::string_view rest = entry.example;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      text += "  ";
      text += rest.substr(0, end);
      text += '\n';
      rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    text += '\n';
  }
  text += "How to suppress it\n" + indented_paragraph(suppression_advice(kind));
  return text;
}

}  // namespace flawseek
