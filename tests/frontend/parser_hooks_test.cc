// The hook points of the Ada parser: each is called at its place with the data
// the analyses need (names, tested names, lists, statement kinds,
// declarations, scopes, units, messages), and the instances keep apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser_test_support.h"

namespace flawseek {
namespace {

using testing_support::Options;
using testing_support::Outcome;
using testing_support::parse_source;
using testing_support::RecordingHooks;

std::string in_body(const std::string& statements) {
  return "procedure P is\nbegin\n" + statements + "\nend P;\n";
}

// Entries must occur in this order (other entries may stand between them).
void expect_in_order(const Outcome& outcome, const std::vector<std::string>& entries) {
  int from = 0;
  for (const std::string& entry : entries) {
    const int at = outcome.index_of(entry, from);
    ASSERT_GE(at, 0) << "missing in order: " << entry;
    from = at + 1;
  }
}

TEST(ParserHooks, NullComparisonsCarryTheTestedName) {
  const Outcome outcome = parse_source(in_body(
      "if P.Next = null and then Q /= null then X := P.Next.Data; end if;\n"
      "if A + B = null then null; end if;\nif F (X) = Y then null; end if;"));
  EXPECT_TRUE(outcome.has("null = P.Next"));
  EXPECT_TRUE(outcome.has("null /= Q"));
  EXPECT_EQ(outcome.count("null = A"), 0);
  EXPECT_EQ(outcome.count("null = F"), 0);
  expect_in_order(outcome, {"if opened", "tracked start 0", "used P.Next 0", "operator 0", "null = P.Next",
                            "logical and then", "used Q 0", "operator 1", "null /= Q", "tracked end", "then",
                            "tracked start 1", "statement 2 @3:42", "set X 8", "used P.Next.Data 0",
                            "tracked end", "if closed"});
}

TEST(ParserHooks, NamesSetAsActualsAndTargets) {
  const Outcome outcome = parse_source(in_body("Q (A, B.C, D + 1);\nX.Y := E'Size;"));
  expect_in_order(outcome, {"list ( 0", "set A 0", "association positional first", "list , 0", "set B.C 0",
                            "association positional", "list , 0", "used D 0", "operator 8", "list ) 0",
                            "used Q 7", "call Q", "set X.Y 8", "attribute size", "used E 0"});
}

TEST(ParserHooks, ListEventsForEveryKindOfParenthesisedList) {
  const Outcome outcome = parse_source(
      "separate (Parent)\nprocedure Q (A : Integer; B : Float) is\n type E is (Red, Green);\n"
      " subtype S is R (D => 1);\n X : T := (1, 2);\n pragma Inline (Q);\nbegin null; end Q;");
  EXPECT_EQ(outcome.syntax_message, "");
  for (int kind : {7, 4, 6, 2, 1, 5}) {
    EXPECT_TRUE(outcome.has("list ( " + std::to_string(kind))) << kind;
    EXPECT_TRUE(outcome.has("list ) " + std::to_string(kind))) << kind;
  }
  EXPECT_TRUE(outcome.has("list , 4"));  // ";" between parameter specifications
  EXPECT_TRUE(outcome.has("list , 6"));
  EXPECT_TRUE(outcome.has("association named first"));
}

TEST(ParserHooks, LogicalOperatorsAndOperators) {
  const Outcome outcome = parse_source(in_body("X := A or B or C;\nY := A xor B;\nZ := not A and B;\n"
                                               "W := (A * B) / C mod D rem E ** 2 & \"s\";\nV := X in T;"));
  EXPECT_EQ(outcome.count("logical or"), 2);
  EXPECT_EQ(outcome.count("logical xor"), 1);
  EXPECT_EQ(outcome.count("logical and"), 1);
  for (int op : {11, 12, 13, 14, 15, 10, 6}) EXPECT_TRUE(outcome.has("operator " + std::to_string(op))) << op;
}

TEST(ParserHooks, StatementKindsAreAnnouncedWithTheirPositions) {
  const Outcome outcome = parse_source(in_body(
      "<<L>> X := 1;\nP;\nabort T;\ndelay 1.0;\nexit;\nexit when C;\ngoto L;\nnull;\nraise E;\nreturn;\n"
      "if A then null; end if;\ncase X is when others => null; end case;\nloop null; end loop;\n"
      "while C loop null; end loop;\nfor I in 1 .. 2 loop null; end loop;\ndeclare begin null; end;\n"
      "accept E;\nselect S.E; or delay 1.0; end select;"));
  EXPECT_EQ(outcome.syntax_message, "");
  const std::vector<std::string> expected = {
      "statement 12 @3:1",  "statement 2 @3:7",   "statement 15 @4:1",  "statement 0 @5:1",
      "statement 6 @6:1",   "statement 8 @7:1",   "statement 5 @8:1",   "statement 10 @9:1",
      "statement 14 @10:1", "statement 16 @11:1", "statement 18 @12:1", "statement 11 @13:1",
      "statement 4 @14:1",  "statement 13 @15:1", "statement 20 @16:1", "statement 9 @17:1",
      "statement 3 @18:1",  "statement 1 @19:1",  "statement 19 @20:1", "statement 7 @20:8",
      "statement 6 @20:16"};
  expect_in_order(outcome, expected);
  EXPECT_TRUE(outcome.has("raise E"));
  EXPECT_TRUE(outcome.has("goto before L"));
}

TEST(ParserHooks, SequencesOfStatementsGoThroughTheHook) {
  const Outcome outcome = parse_source(in_body("if A then null; else null; end if;"));
  // The body's sequence and the two inner ones, each opened and closed.
  EXPECT_EQ(outcome.count("sequence begin"), 3);
  EXPECT_EQ(outcome.count("sequence end"), 3);
  expect_in_order(outcome, {"sequence begin", "if opened", "then", "sequence begin", "sequence end", "else",
                            "sequence begin", "sequence end", "if closed", "sequence end"});
}

TEST(ParserHooks, DeclarationsByCategory) {
  const Outcome outcome = parse_source(
      "package P is\n A, B : constant Integer := 1;\n N : constant := 10;\n V : Integer;\n E : exception;\n"
      " R : exception renames Q.E;\n O : T renames U;\n type T_Ptr is access T;\n type Op is access procedure;\n"
      " subtype S is Integer;\n task type Worker;\n procedure Q (X : in out Integer);\n"
      " package Inner is end Inner;\n package Ren renames Other;\n package Inst is new G;\nend P;");
  EXPECT_EQ(outcome.syntax_message, "");
  expect_in_order(outcome, {"declares A", "declares B", "declaration 1", "declares N", "declaration 2",
                            "declares V", "declaration 0", "declares E", "declaration 4", "declares R",
                            "declaration 5", "declares O", "declaration 3", "type T_Ptr @8:7 kind 1",
                            "type Op @9:7 kind 2", "declared S 7", "type Worker @11:12 kind 3",
                            "mode 2 2", "declared Q 8", "unit Inner 5", "unit Ren 6", "unit Inst 9"});
}

// The rules collect only identifiers whose declaration may turn out to be an
// object or exception declaration: a list named wrongly loses their findings.
TEST(ParserHooks, DeclaredIdentifiersNameTheirList) {
  const Outcome outcome = parse_source(
      "generic\n G : Integer;\npackage P is\n type R (D : Integer) is record C : Integer; end record;\n"
      " procedure Q (X, Y : Integer);\n V, W : Integer;\n E : exception;\nend P;");
  EXPECT_EQ(outcome.syntax_message, "");
  const auto in_list = [](const char* name, IdentifierList list) {
    return std::string("declares ") + name + " in list " + std::to_string(static_cast<int>(list));
  };
  expect_in_order(outcome, {in_list("G", IdentifierList::GENERIC_FORMAL_OBJECT),
                            in_list("D", IdentifierList::DISCRIMINANT), in_list("C", IdentifierList::COMPONENT),
                            in_list("X", IdentifierList::PARAMETER), in_list("Y", IdentifierList::PARAMETER),
                            in_list("V", IdentifierList::OBJECT_OR_EXCEPTION),
                            in_list("W", IdentifierList::OBJECT_OR_EXCEPTION),
                            in_list("E", IdentifierList::OBJECT_OR_EXCEPTION)});
}

TEST(ParserHooks, SubtypeMarksEntriesAndEntryBodies) {
  const Outcome outcome = parse_source(
      "package body P is\n X : T'Class := Y;\n Z : Integer range 1 .. 2;\n"
      " protected body Lock is\n  entry Seize when Free is begin null; end Seize;\n end Lock;\n"
      " task body K is\n  task Inner is entry Start; end Inner;\n  task body Inner is begin null; end Inner;\n"
      " begin null; end K;\nend P;");
  EXPECT_EQ(outcome.syntax_message, "");
  expect_in_order(outcome, {"subtype mark T", "attribute class", "used T 1", "subtype mark Integer",
                            "used Integer 1", "operator 16", "unit Lock 14", "scope open 4 Seize", "tracked start 0",
                            "used Free 0", "tracked end", "begin 4", "end name 9 Seize [Seize]",
                            "scope close 4 Seize", "end name 8 Lock [Lock]", "scope open 2 K", "declared Inner 10",
                            "entry Start", "end name 5 Inner [Inner]", "unit Inner 12", "scope open 2 Inner",
                            "scope close 2 Inner", "begin 2", "scope close 2 K"});
}

TEST(ParserHooks, UnitsWithClausesAndLibraryKinds) {
  const Outcome outcome = parse_source("with Ada.Text_IO, B;\nuse Ada;\npackage body X.Y is\nend X.Y;");
  expect_in_order(outcome, {"with Ada.Text_IO", "with B", "use", "library unit 3", "unit X.Y 7",
                            "scope open 1 X.Y", "end name 4 X.Y [X.Y]", "scope close 1 X.Y"});
}

TEST(ParserHooks, ScopesAroundBodiesBlocksAndForLoops) {
  const Outcome outcome = parse_source(
      "package body P is\n procedure Q is\n begin\n  for I in 1 .. 2 loop null; end loop;\n"
      "  B : declare begin null; end B;\n end Q;\n task body T is begin null; end T;\nend P;");
  EXPECT_EQ(outcome.syntax_message, "");
  expect_in_order(outcome, {"scope open 1 P", "unit Q 2", "scope open 0 Q", "begin 0", "scope open 6 ",
                            "declared I 13", "scope close 6 ", "scope open 5 B", "scope close 5 B",
                            "end name 2 Q [Q]", "scope close 0 Q", "unit T 12", "scope open 2 T", "begin 2",
                            "task end", "scope close 2 T", "scope close 1 P"});
}

TEST(ParserHooks, TaskBodiesTellWhetherOthersIsHandled) {
  const Outcome without = parse_source(
      "package body P is task body T is begin null; exception when Constraint_Error => null; end T; end P;");
  EXPECT_TRUE(without.has("task end"));
  const Outcome with = parse_source(
      "package body P is task body T is begin null;\n"
      "exception when Constraint_Error => null; when others => null; end T; end P;");
  EXPECT_TRUE(with.has("task end with others"));
  // A handler for others in a nested block does not count.
  const Outcome nested = parse_source(
      "package body P is task body T is begin begin null; exception when others => null; end; end T; end P;");
  EXPECT_TRUE(nested.has("task end"));
}

// A loop or block hands its END name to the hooks with its statement
// identifier; whether the pair matches is the end-name rule's to judge.
TEST(ParserHooks, NamedStatementEndNames) {
  const Outcome differs = parse_source(in_body("L : loop null; end loop M;"));
  EXPECT_TRUE(differs.has("end name 0 L [M]"));
  EXPECT_TRUE(differs.messages.empty());
  const Outcome missing = parse_source(in_body("L : loop null; end loop;"));
  EXPECT_TRUE(missing.has("end name 0 L []"));
  const Outcome block = parse_source(in_body("B : begin null; end b;"));
  EXPECT_TRUE(block.has("end name 1 B [b]"));
  const Outcome unnamed = parse_source(in_body("loop null; end loop;"));
  EXPECT_TRUE(unnamed.has("end name 0  []"));
}

TEST(ParserHooks, UnitEndNamesGoToTheHook) {
  const Outcome outcome = parse_source("function \"+\" (L, R : T) return T is begin return L; end \"+\";\n"
                                       "procedure Q is begin null; end;");
  EXPECT_TRUE(outcome.has("end name 2 \"+\" [\"+\"]"));
  EXPECT_TRUE(outcome.has("end name 2 Q []"));
}

TEST(ParserHooks, OperatorRenamedAsAnotherOperator) {
  const Outcome wrong = parse_source("package P is\n function \"+\" (L, R : T) return T renames \"-\";\nend P;");
  EXPECT_EQ(wrong.messages, std::vector<int>{13});
  const Outcome same = parse_source("package P is\n function \"+\" (L, R : T) return T renames Q.\"+\";\nend P;");
  EXPECT_TRUE(same.messages.empty());
  const Outcome named = parse_source("package P is\n function Add (L, R : T) return T renames \"-\";\nend P;");
  EXPECT_TRUE(named.messages.empty());
  const Outcome no_symbol = parse_source("package P is\n function \"+\" (L, R : T) return T renames Plus;\nend P;");
  EXPECT_TRUE(no_symbol.messages.empty());
}

TEST(ParserHooks, AttributesAndTheAttributeTable) {
  const Outcome ext = parse_source(in_body("X := A'Img & A'FIRST & A'first;"), Options{.gnat_extensions = true});
  EXPECT_EQ(ext.count("attribute img"), 1);
  EXPECT_EQ(ext.count("attribute first"), 2);
  EXPECT_TRUE(ext.messages.empty());
  const Outcome std_table = parse_source(in_body("X := A'Img + 1;"), Options{.gnat_extensions = false});
  EXPECT_EQ(std_table.messages, std::vector<int>{20});
  EXPECT_EQ(std_table.syntax_message, "");  // the parse went on after Img
  const Outcome vads = parse_source(in_body("X := A'Vads_Size;"));
  EXPECT_EQ(vads.messages, std::vector<int>{20});
  const Outcome reserved = parse_source(in_body("X := A'Access; Y := F'Digits; Z := A'Range; W := T'Delta;"));
  for (const char* a : {"attribute access", "attribute digits", "attribute range", "attribute delta"}) {
    EXPECT_TRUE(reserved.has(a)) << a;
  }
}

TEST(ParserHooks, ParameterModesAndBoxDefaults) {
  const Outcome outcome = parse_source(
      "generic\n X : in Integer;\n with procedure Visit (E : T) is <>;\n with function \"=\" (L, R : T) return Boolean is <>;\n"
      "package G is\n procedure P (A : Integer; B : in T; C : out T; D : in out T; E : access T);\n"
      " function F (A : in T) return T;\n function \"-\" (A : T) return T;\n entry E (X : in T);\nend G;");
  expect_in_order(outcome, {"mode 4 1", "box default Visit", "box default \"=\"", "mode 2 0", "mode 2 1",
                            "mode 2 3", "mode 2 2", "mode 2 4", "mode 0 1", "mode 1 0"});
}

TEST(ParserHooks, EmbeddedSqlReportsReadsAndRaises) {
  const std::string source = in_body(
      "exec sql select a into :x from t where b = :y;\n"
      "exec sql insert into t values (:z);\nexec sql whenever sqlerror raise Db_Error;");
  const Outcome sql = parse_source(source, Options{.sql = true});
  EXPECT_EQ(sql.syntax_message, "");
  EXPECT_FALSE(sql.has("host read x"));
  EXPECT_TRUE(sql.has("host read y"));
  EXPECT_TRUE(sql.has("host read z"));
  EXPECT_TRUE(sql.has("raise Db_Error"));
  EXPECT_EQ(sql.count("keyword select"), 0);  // SQL words are no Ada words
  const Outcome no_sql = parse_source(source, Options{.sql = false});
  EXPECT_EQ(no_sql.syntax_message, "Symbol ; expected");
}

TEST(ParserHooks, StyleHooksCanReportThroughTheState) {
  struct Reporting : RecordingHooks {
    void goto_statement(ParserState& state) { state.report(ParserMessage::GOTO_STATEMENT); }
    void use_clause(ParserState& state, bool use_type) {
      if (!use_type) state.report(ParserMessage::USE_CLAUSE);
    }
  };
  Reporting hooks;
  AdaParser<Reporting> parser(hooks);
  AdaLineReader reader;
  reader.set_text("with A; use A; use type A.T;\nprocedure P is begin goto L; end P;");
  parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false);
  EXPECT_EQ(hooks.messages, (std::vector<int>{21, 12}));
  EXPECT_EQ(parser.last_message(), 12);
}

TEST(ParserHooks, ParseArgumentsReachTheHooks) {
  struct Arguments : RecordingHooks {
    FileRole seen_role = FileRole::SINGLE_FILE;
    int seen_length = 0;
    bool seen_sql = false;
    void parse_started(ParserState& state) {
      seen_role = state.file_role();
      seen_length = state.style_rules().max_line_length;
      seen_sql = state.sql_enabled();
    }
  };
  Arguments hooks;
  AdaParser<Arguments> parser(hooks);
  AdaLineReader reader;
  StyleRules rules;
  rules.max_line_length = 132;
  reader.set_text("package P is end P;");
  parser.parse(FileRole::PAIR_BODY, rules, false, reader, true);
  EXPECT_EQ(hooks.seen_role, FileRole::PAIR_BODY);
  EXPECT_EQ(hooks.seen_length, 132);
  EXPECT_TRUE(hooks.seen_sql);
  EXPECT_FALSE(parser.gnat_extensions());
}

TEST(ParserHooks, SecondFileOfAPairKeepsTheUnitCollections) {
  struct UnitNames : EmptyHooks {
    std::vector<std::string> names;
    void empty_unit_collections(ParserState&) { names.clear(); }
    void with_clause_name(ParserState&, std::string_view name) { names.emplace_back(name); }
  };
  UnitNames hooks;
  AdaParser<UnitNames> parser(hooks);
  AdaLineReader reader;
  reader.set_text("with A;\npackage P is end P;");
  parser.parse(FileRole::PAIR_SPECIFICATION, StyleRules{}, true, reader, false);
  reader.set_text("with B;\npackage body P is end P;");
  parser.parse(FileRole::PAIR_BODY, StyleRules{}, true, reader, false);
  EXPECT_EQ(hooks.names, (std::vector<std::string>{"A", "B"}));
  reader.set_text("with C;\nprocedure Q;");
  parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false);
  EXPECT_EQ(hooks.names, std::vector<std::string>{"C"});
}

TEST(ParserHooks, OnlyALoneNameComparedWithNullIsReported) {
  const Outcome outcome = parse_source(in_body(
      "if not P = null then null; end if;\nif P (1) = null then null; end if;\n"
      "if Q = null + 1 then null; end if;\nif null = R then null; end if;\nif S.all /= null then null; end if;"));
  EXPECT_EQ(outcome.syntax_message, "");
  EXPECT_EQ(outcome.count("null = P"), 1);  // P (1): the name with its index
  EXPECT_EQ(outcome.count("null = Q"), 0);
  EXPECT_EQ(outcome.count("null = R"), 0);
  EXPECT_EQ(outcome.count("null /= S.all"), 1);
}

// Three instances with their own hooks and failure names, used in turn.
struct CheckHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95";
  int identifiers = 0;
  void identifier_accepted(ParserState&) { ++identifiers; }
};
struct PrepareHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "DEFECT_SCAN.NQS.A95_PREPARE";
  std::vector<std::string> boxes;
  void box_default_subprogram(ParserState&, std::string_view name) { boxes.emplace_back(name); }
};
struct SurveyHooks : EmptyHooks {
  static constexpr std::string_view exception_prefix = "TAVIK_UNIT.A95";
  std::vector<std::string> withs;
  void with_clause_name(ParserState&, std::string_view name) { withs.emplace_back(name); }
};

TEST(ParserInstances, ThreeInstancesCoexistWithoutSharingState) {
  CheckHooks check_hooks;
  PrepareHooks prepare_hooks;
  SurveyHooks survey_hooks;
  AdaParser<CheckHooks> check(check_hooks);
  AdaParser<PrepareHooks> prepare(prepare_hooks);
  AdaParser<SurveyHooks> survey(survey_hooks);
  AdaLineReader a;
  AdaLineReader b;
  AdaLineReader c;
  a.set_text("procedure P is begin X := Y; end P;");
  b.set_text("generic\n with procedure Visit is <>;\npackage G is end G;");
  c.set_text("with Ada.Text_IO;\npackage Q is\n X : Integer\nend Q;");
  survey.parse(FileRole::SINGLE_FILE, StyleRules{}, false, c, false);
  check.parse(FileRole::SINGLE_FILE, StyleRules{}, true, a, false);
  prepare.parse(FileRole::SINGLE_FILE, StyleRules{}, true, b, false);
  EXPECT_EQ(check_hooks.identifiers, 4);
  EXPECT_EQ(prepare_hooks.boxes, std::vector<std::string>{"Visit"});
  EXPECT_EQ(survey_hooks.withs, std::vector<std::string>{"Ada.Text_IO"});
  // The survey's syntax error stays the survey's.
  EXPECT_EQ(survey.syntax_message(), "Symbol ; expected");
  EXPECT_EQ(survey.last_message(), 19);
  EXPECT_EQ(check.syntax_message(), "");
  EXPECT_EQ(check.last_message(), no_parser_message);
  EXPECT_EQ(prepare.last_message(), no_parser_message);
  // The missing ";" belongs after Integer, at the end of line 3.
  EXPECT_EQ(survey.previous_token().line, 3);
  EXPECT_EQ(check.previous_token().text, ";");

  // A late discovery that no list catches leaves under the instance's name.
  AdaLineReader d;
  d.set_text("separate (P)\nfunction F is new G;");
  try {
    check.parse(FileRole::SINGLE_FILE, StyleRules{}, true, d, false);
    FAIL() << "expected the instantiation to escape";
  } catch (const ParseFailure& failure) {
    EXPECT_STREQ(failure.what(), "DEFECT_SCAN.NQS.A95.HAS_GENERIC_INSTANTIATION");
    EXPECT_EQ(failure.kind(), ParseFailureKind::HAS_GENERIC_INSTANTIATION);
  }
  d.set_text("separate (P)\nfunction F is new G;");
  EXPECT_THROW(survey.parse(FileRole::SINGLE_FILE, StyleRules{}, false, d, false), ParseFailure);
  EXPECT_EQ(ParseFailure::qualified_name("TAVIK_UNIT.A95", ParseFailureKind::NOT_PARSED),
            "TAVIK_UNIT.A95.AP.NOT_PARSED");
  EXPECT_EQ(ParseFailure::qualified_name("DEFECT_SCAN.NQS.A95_PREPARE", ParseFailureKind::HAS_PACKAGE_BODY),
            "DEFECT_SCAN.NQS.A95_PREPARE.HAS_PACKAGE_BODY");

  // After a failure the instance parses the next file normally.
  a.set_text("procedure P is begin null; end P;");
  check.parse(FileRole::SINGLE_FILE, StyleRules{}, true, a, false);
  EXPECT_EQ(check.syntax_message(), "");
}

TEST(ParserInstances, HookStopExceptionsAndLongLinesPropagate) {
  struct Stop {};
  struct Stopping : EmptyHooks {
    void statement_kind(ParserState&, StatementKind, int, int) { throw Stop{}; }
  };
  Stopping hooks;
  AdaParser<Stopping> parser(hooks);
  AdaLineReader reader;
  reader.set_text("procedure P is begin null; end P;");
  EXPECT_THROW(parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false), Stop);
  reader.set_text("package P is\n X : Integer := " + std::string(400, '1') + ";\nend P;");
  EXPECT_THROW(parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false), LineTooLong);
  reader.set_text("package P is end P;");
  EXPECT_NO_THROW(parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, false));
  EXPECT_EQ(parser.syntax_message(), "");
}

// Constructs broken across lines at the point where the parser tells two forms
// apart carry the same data as when written on one line.
TEST(ParserHooks, SplitStatementIdentifiersKeepTheirLabel) {
  const Outcome loop = parse_source(in_body("Outer\n : loop exit Outer; end loop Outer;"));
  EXPECT_EQ(loop.syntax_message, "");
  EXPECT_TRUE(loop.messages.empty());
  expect_in_order(loop, {"identifier Outer", "statement 13 @4:4", "keyword loop", "used Outer 9"});
  EXPECT_EQ(loop.count("call Outer"), 0);  // the label is no procedure call
  EXPECT_EQ(loop.count("tracked start 0"), 0);
  const Outcome block = parse_source(in_body("B\n : begin null; end B;"));
  EXPECT_TRUE(block.messages.empty());
  EXPECT_TRUE(block.has("scope open 5 B"));
  const Outcome differs = parse_source(in_body("L\n : loop null; end loop M;"));
  EXPECT_TRUE(differs.has("end name 0 L [M]"));
}

TEST(ParserHooks, SplitExceptionHandlersKeepTheirChoices) {
  const Outcome parameter =
      parse_source(in_body("null;\nexception\n when E\n  : others => null;\n when X\n  : Constraint_Error => null;"));
  EXPECT_EQ(parameter.syntax_message, "");
  expect_in_order(parameter, {"handler others", "used Constraint_Error 9", "handler"});
  EXPECT_EQ(parameter.count("used E 9"), 0);  // a choice parameter is no exception name
  EXPECT_EQ(parameter.count("used X 9"), 0);
  const Outcome choices = parse_source(
      in_body("null;\nexception\n when Constraint_Error\n  | Ada.IO_Exceptions\n  .Name_Error => null;"));
  EXPECT_EQ(choices.syntax_message, "");
  expect_in_order(choices, {"identifier Constraint_Error", "used Constraint_Error 9", "identifier Ada",
                            "identifier IO_Exceptions", "identifier Name_Error",
                            "used Ada.IO_Exceptions.Name_Error 9", "handler"});
}

TEST(ParserHooks, SplitNullAggregatesKeepTheirLists) {
  const Outcome record = parse_source("package P is\n X : R := (null\n  record);\nend P;");
  EXPECT_EQ(record.syntax_message, "");
  expect_in_order(record, {"list ( 1", "keyword null", "keyword record", "list ) 1"});
  EXPECT_EQ(record.count("association positional first"), 0);
  const Outcome values = parse_source(in_body("if Y = (null\n , null) then null; end if;"));
  EXPECT_EQ(values.syntax_message, "");
  expect_in_order(values, {"list ( 1", "keyword null", "association positional first", "list , 1",
                           "keyword null", "association positional", "list ) 1"});
  const Outcome extension = parse_source("package P is\n X : D := (Y with null\n  , null);\nend P;");
  EXPECT_EQ(extension.syntax_message, "");
  expect_in_order(extension, {"list ( 1", "used Y 0", "association positional first", "keyword with",
                              "keyword null", "association positional", "list , 1", "keyword null",
                              "association positional", "list ) 1"});
  // A NULL taken before its expression is still its left operand.
  const Outcome compared = parse_source(in_body("F ((Z\n with null\n = Q));"));
  EXPECT_EQ(compared.syntax_message, "");
  expect_in_order(compared, {"keyword with", "keyword null", "operator 0", "set Q 0", "association positional",
                             "list ) 1"});
}

TEST(ParserHooks, SplitFormalPackageActualsKeepTheirList) {
  const Outcome box = parse_source("generic\n with package P is new Q (\n  <>);\npackage G is end G;");
  EXPECT_EQ(box.syntax_message, "");
  EXPECT_EQ(box.count("list ( 8"), 0);
  const Outcome actuals = parse_source("generic\n with package P is new Q (\n  Integer);\npackage G is end G;");
  EXPECT_EQ(actuals.syntax_message, "");
  expect_in_order(actuals, {"list ( 8", "set Integer 3", "association positional first", "list ) 8"});
}

TEST(ParserHooks, SplitNamedAssociationsUseNoFormalName) {
  const Outcome call = parse_source(in_body("F (X\n => Y, W\n => Z);\nF (X\n + 1);"));
  EXPECT_EQ(call.syntax_message, "");
  EXPECT_EQ(call.count("used X 0"), 1);  // only in the second call, where X is a value
  EXPECT_EQ(call.count("set X 0"), 0);
  expect_in_order(call, {"identifier X", "association named first", "set Y 0", "association named",
                         "set Z 0", "identifier X", "used X 0", "operator 8", "association positional first"});
  const Outcome pragma = parse_source("pragma Restrictions (No_Dispatch\n => True);");
  EXPECT_EQ(pragma.syntax_message, "");
  EXPECT_EQ(pragma.count("used No_Dispatch 4"), 0);
  EXPECT_EQ(pragma.count("set No_Dispatch 4"), 0);
}

TEST(ParserHooks, SplitEntryParametersKeepTheirOrder) {
  const Outcome split = parse_source("package P is task T is\n entry C (X\n  : Integer);\n entry F (Color\n  ) (Z : T);\nend T; end P;");
  const Outcome whole = parse_source("package P is task T is\n entry C (X : Integer);\n entry F (Color) (Z : T);\nend T; end P;");
  EXPECT_EQ(split.syntax_message, "");
  EXPECT_EQ(split.log, whole.log);
  expect_in_order(split, {"entry C", "list ( 4", "identifier X", "declares X", "identifier Color", "used Color 2"});
}

// A name's parts may stand apart (blanks, comments, line ends between them),
// and what follows a name may lie lines further on. A line with a comment is
// copied out of the source, and such lines take turns in two buffers.
TEST(ParserHooks, NamesSpreadOverLinesKeepTheirText) {
  const Outcome call = parse_source(in_body("Ada -- c\n  .Text_IO\n  . Put_Line;\n"
                                            "F.G -- c\n (1, -- c\n  22, -- c\n  333); -- c"));
  EXPECT_EQ(call.syntax_message, "");
  expect_in_order(call, {"call Ada.Text_IO.Put_Line", "used F.G 7", "call F.G"});
  const Outcome tested = parse_source(in_body("if Q.Next -- c\n\n  -- c\n  = null then X := Y.Z -- c\n  .W\n"
                                              "  ; end if;"));
  EXPECT_EQ(tested.syntax_message, "");
  expect_in_order(tested, {"null = Q.Next", "set X 8", "used Y.Z.W 0"});
  const Outcome marked = parse_source("package P is\n type A is access T.U -- c\n  'Class -- c\n  ;                       -- c\nend P;");
  EXPECT_EQ(marked.syntax_message, "");
  expect_in_order(marked, {"subtype mark T.U", "attribute class", "used T.U 1"});
}

}  // namespace
}  // namespace flawseek
