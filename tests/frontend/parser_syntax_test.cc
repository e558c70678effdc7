// What the Ada parser accepts and where it stops: a table of sources with the
// expected syntax message and the position of the offending token.
#include <gtest/gtest.h>

#include <string>

#include "parser_test_support.h"

namespace flawseek {
namespace {

using testing_support::Outcome;
using testing_support::parse_source;

struct SyntaxCase {
  const char* name;
  const char* source;
  const char* message;  // "" when the source parses
  int line = 0;
  int column = 0;
};

// Wraps statements into a procedure body, on lines 2 and following.
std::string in_body(const std::string& statements) {
  return "procedure P is\nbegin\n" + statements + "\nend P;\n";
}

const SyntaxCase syntax_cases[] = {
    {"and then chain needs then", "procedure P is begin\nX := A and then B and C;\nend P;", "then expected", 2, 23},
    {"or else chain needs else", "procedure P is begin\nX := A or else B or C;\nend P;", "else expected", 2, 21},
    {"mixed logical operators end the expression", "procedure P is begin\nX := A and B or C;\nend P;",
     "Symbol ; expected", 2, 14},
    {"not in membership", "procedure P is begin\nif X not in 1 .. 10 then null; end if;\nend P;", ""},
    {"not without in", "procedure P is begin\nif X not Y then null; end if;\nend P;", "in expected", 2, 10},
    {"instantiation in a declarative part", "procedure P is\n procedure Q is new R (Integer);\nbegin null; end P;", ""},
    {"subprogram body in a package specification",
     "package P is\n procedure Q is begin null; end Q;\nend P;", "Syntax error", 2, 17},
    {"package body in a declarative part",
     "procedure P is\n package body B is\n  X : Integer;\n end B;\nbegin null; end P;", ""},
    {"task body in a declarative part",
     "package body P is\n task body T is begin null; end T;\nend P;", ""},
    {"missing semicolon after null", "procedure P is begin\nnull\nend P;", "Symbol ; expected", 2, 5},
    {"several labels", "procedure P is begin\n<<L1>> <<L2>> null;\nend P;", ""},
    {"a label labels nothing", "procedure P is begin\nnull; <<L1>>\nend P;", "Syntax error", 3, 1},
    {"trailing blank lines and comments", "package P is\nend P;\n\n-- done\n   \n--\n", ""},
    {"starts with a statement", "X := 1;", "Syntax error", 1, 1},
    {"power does not chain", "procedure P is begin\nX := A ** B ** C;\nend P;", "Symbol ; expected", 2, 13},
    {"abs binds to a primary only", "procedure P is begin\nX := abs A ** 2;\nend P;", "Symbol ; expected", 2, 12},
    {"unary minus once", "procedure P is begin\nX := - - A;\nend P;", "Syntax error", 2, 8},
    {"qualified expression as a call", "procedure P is begin\nT'(X);\nend P;", ""},
    {"empty sequence of statements", "procedure P is begin\nend P;", "Syntax error", 2, 1},
    {"missing then", "procedure P is begin\nif A null; end if;\nend P;", "then expected", 2, 6},
    {"identifier expected", "procedure P is begin\nfor 1 in A loop null; end loop;\nend P;", "Identifier expected", 2, 5},
    {"missing end keyword word", "procedure P is begin\nloop null; end if;\nend P;", "loop expected", 2, 16},
    {"unterminated string", "procedure P is begin\nS := \"abc;\nend P;", "Syntax error", 2, 6},
    {"body stub", "package body P is\n procedure Q is separate;\n package body R is separate;\nend P;", ""},
    {"generic with box default",
     "generic\n type T is private;\n with function \"=\" (L, R : T) return Boolean is <>;\npackage G is\nend G;", ""},
    {"generic function renaming", "generic function Hash renames System.HTable.Hash;", ""},
    {"library subprogram renaming", "function F (X : Integer) return Integer renames G;", ""},
    {"library instantiation", "with G;\nprocedure P is new G (Integer);", ""},
    {"library package instantiation", "package P is new G (T => Integer, Size => 10);", ""},
    {"private child", "private package P.Q is\nend P.Q;", ""},
    {"subunit", "separate (P.Q)\nprocedure R is begin null; end R;", ""},
    {"subunit function instantiation escapes", "separate (P)\nfunction F is new G;", ""},
    {"function out parameter", "function F (X : out Integer) return Integer;", ""},
    {"generic formal out object", "generic\n X : out Integer;\npackage G is end G;", ""},
    {"extension aggregate", "procedure P is begin\nX := (Parent with A => 1, B => 2);\nY := (Parent with null record);\nend P;", ""},
    {"null record aggregate", "procedure P is begin\nX := (null record);\nend P;", ""},
    {"named and others", "procedure P is begin\nX := (1 | 2 => 'a', 3 .. 5 => 'b', others => ' ');\nend P;", ""},
    {"slices and attributes",
     "procedure P is begin\nS (1 .. 2) := T (A'First .. A'Last);\nX := A'Range'Length + T'Class'Size;\nend P;", ""},
    {"select forms",
     "package body P is task body T is begin\n"
     "select accept E; or when C => accept F (X : Integer) do null; end F; or terminate; end select;\n"
     "select S.E; or delay 1.0; end select;\n"
     "select S.E; else null; end select;\n"
     "select delay 1.0; then abort X := 1; end select;\n"
     "end T; end P;",
     ""},
    {"entry family and barrier",
     "package body Q is protected body P is\n entry E (for I in 1 .. 3) (X : Integer) when C is begin null; end E;\n"
     "end P; end Q;",
     ""},
    {"entry declarations",
     "package P is task T is\n entry A;\n entry B (1 .. 3);\n entry C (X : Integer);\n entry D (Color) (X, Y : in out T);\n"
     "end T; end P;",
     ""},
    {"entry parameters on the line after the parenthesis",
     "package P is task T is\n entry C (\n  X : Integer);\n entry D (Color) (\n  X, Y : in out T);\n"
     " entry F (\n  1 .. 3);\nend T; end P;",
     ""},
    {"accept parameters on the line after the parenthesis",
     "package body P is task body T is begin\n accept C (\n  X : Integer) do null; end C;\nend T; end P;", ""},
    {"entry body index on the line after the parenthesis",
     "package body Q is protected body P is\n entry E (\n  for I in 1 .. 3) (\n  X : Integer) when C is begin null; end E;\n"
     " entry F (\n  X : Integer) when C is begin null; end F;\nend P; end Q;",
     ""},
    {"entry parameter names on the line before their colon",
     "package P is task T is\n entry C (X\n  : Integer);\n entry D (X\n  , Y : in out T);\n entry F (Color\n  ) (Z : T);\n"
     " entry G (Color\n  range A .. B);\nend T; end P;",
     ""},
    {"entry family index is not a parameter", "package P is task T is\n entry E (\n  X := 1);\nend T; end P;",
     "Symbol ) expected", 3, 5},
    {"task body as a library unit", "task body T is begin null; end T;", "Syntax error", 1, 1},
    {"representation clauses",
     "package P is\n type T is (A, B);\n for T use (A => 1, B => 2);\n for T'Size use 8;\n"
     " for R use record at mod 4; X at 0 range 0 .. 7; end record;\n for V'Address use A;\nend P;",
     ""},
    {"types",
     "package P is\n type A is array (Positive range <>) of aliased Integer;\n"
     " type R (D : Integer := 0) is tagged limited record\n  X, Y : Float := 0.0;\n"
     "  case D is when 0 => null; when others => Z : Integer; end case;\n end record;\n"
     " type Acc is access all R'Class;\n type F is access protected function (X : Integer) return Integer;\n"
     " type M is mod 2 ** 8;\n type D is delta 0.01 digits 8;\n type Fl is digits 6 range 0.0 .. 1.0;\n"
     " type N is new R with private;\n type Ab is abstract tagged null record;\n type I;\n"
     " subtype S is String (1 .. 10);\nprivate\n type N is new R with null record;\nend P;",
     ""},
    {"exception handlers",
     "procedure P is begin\nnull;\nexception\n when E : Constraint_Error | Program_Error => raise;\n when others => null;\nend P;",
     ""},
    {"case statement", "procedure P is begin\ncase X is when 1 | 3 .. 5 => null; when others => null; end case;\nend P;", ""},
    {"named loop and block",
     "procedure P is begin\nOuter : loop exit Outer when X; end loop Outer;\nB : declare Y : Integer; begin null; end B;\nend P;",
     ""},
    {"character literals in expressions", "procedure P is begin\nC := Character'Val (1) & 'a' & ''' & T'('b');\nend P;", ""},
    {"operator call and renaming",
     "package P is\n function \"+\" (L, R : T) return T renames Q.\"+\";\n X : T := \"+\" (A, B);\nend P;", ""},
    {"protected type",
     "package P is\n protected type Lock (Ceiling : Integer) is\n  entry Seize;\n  procedure Release;\n"
     "  function Held return Boolean;\n private\n  Owner : Integer := 0;\n end Lock;\nend P;",
     ""},
    {"protected body with subprograms",
     "package body P is\n protected body Lock is\n  entry Seize when not Held is begin null; end Seize;\n"
     "  procedure Release is begin null; end Release;\n  function Held return Boolean is begin return True; end Held;\n"
     " end Lock;\nend P;",
     ""},
    {"body inside a protected specification",
     "package P is\n protected T is\n  procedure Q is begin null; end Q;\n end T;\nend P;", "Syntax error", 3, 18},
    {"context clauses and pragmas",
     "pragma Ada_95;\nwith A, B.C; use A;\nwith D;\npragma Elaborate (D);\nuse type D.T;\npackage P is\n"
     " pragma Pure;\n pragma Import (C, F, \"f\");\nend P;\npragma Hint;",
     ""},
    {"two units in one file", "package P is end P;\npackage body P is end P;\nprocedure Q;", ""},
    {"abstract subprogram and requeue",
     "package body P is\n procedure A (X : T) is abstract;\n task body K is begin requeue E with abort; abort K, L;\n"
     " delay until T0; goto L; end K;\nend P;",
     ""},
    {"allocator", "procedure P is begin\nX := new T'(A => 1);\nY := new String (1 .. 3);\nZ := new T;\nend P;", ""},
    {"unknown attribute continues", "procedure P is begin\nX := A'Foo + 1;\nend P;", ""},
    {"based and real numbers", "procedure P is begin\nX := 16#FF# + 2#1010#E+3 + 1_000.5e-3;\nend P;", ""},
    {"ill-formed number", "procedure P is begin\nX := 12abc;\nend P;", "Syntax error", 2, 6},
    {"instantiation resumes a package specification",
     "package P is\n procedure Q is new G;\n function F is new H (X => 1);\n X : Integer;\nend P;", ""},
    {"body in a nested package specification stops there",
     "procedure P is\n package Q is\n  procedure R is begin null; end R;\n end Q;\nbegin null; end P;",
     "Syntax error", 3, 18},
    {"positional component after a named one", "package P is\n X : R := (A => 1, 2 + 3, B => 4);\nend P;",
     "Symbol => expected", 2, 25},
    {"positional pragma argument after a named one", "pragma Warnings (On => X, Digits);", "Syntax error", 1, 27},
    {"null exclusion needs access", "package P is\n procedure Q (X : not null T);\nend P;", "access expected", 2, 28},
    {"task body in a library package specification", "package P is\n task body T is begin null; end T;\nend P;",
     "Syntax error", 2, 12},
    {"private package body", "private package body P is\nend P;", ""},
    {"configuration pragmas alone", "pragma No_Body;\n-- the body is elsewhere\n", ""},
    {"pragmas then a statement", "pragma Pure;\nX := 1;", "Syntax error", 2, 1},
    {"null record aggregate split after null",
     "package P is\n X : R := (null\n  record);\n Y : D := (X with null\n  record);\nend P;", ""},
    {"null record aggregate with a comment between the words",
     "package P is\n X : R := (null -- empty\n  record);\nend P;", ""},
    {"aggregate of null values split after null",
     "package P is\n Z : Arr := (null\n  , null);\n W : D := (X with null\n  , null);\nend P;", ""},
    {"null opening an aggregate's expression is not an operand twice",
     "package P is\n Z : Arr := (null\n  + 1);\nend P;", ""},
    {"null not followed by record in an aggregate", "package P is\n Z : R := (null\n  X);\nend P;",
     "Symbol ) expected", 2, 16},
    {"formal package box on the line after the parenthesis",
     "generic\n with package P is new Q (\n  <>);\n with package R is new Q (\n  Integer);\npackage G is end G;", ""},
    {"formal package box must close", "generic\n with package P is new Q (<>, X);\npackage G is end G;",
     "Symbol ) expected", 2, 29},
    {"statement identifier on the line before its colon",
     "procedure P is begin\nOuter\n : loop exit Outer; end loop Outer;\nB\n : declare Y : Integer; begin null; end B;\n"
     "C\n : begin null; end C;\nend P;",
     ""},
    {"statement identifier before a statement that is no loop or block",
     "procedure P is begin\nOuter\n : null;\nend P;", "Syntax error", 3, 4},
    {"choice parameter on the line before its colon",
     "procedure P is begin\nnull;\nexception\n when E\n  : others => null;\nend P;", ""},
    {"exception choices split across lines",
     "procedure P is begin\nnull;\nexception\n when Constraint_Error\n  | Ada.IO_Exceptions\n  .Name_Error => null;\n"
     " when X : Y\n  | Z => null;\nend P;",
     ""},
    {"exception choice that is no name", "procedure P is begin\nnull;\nexception\n when E\n  := 1 => null;\nend P;",
     "Symbol => expected", 4, 8},
    {"stray character", "procedure P is begin\nX := 1 $ 2;\nend P;", "Symbol ; expected", 2, 8},
};

void PrintTo(const SyntaxCase& c, std::ostream* out) { *out << c.name; }

class SyntaxTable : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(SyntaxTable, AcceptsOrStopsAtTheRightToken) {
  const SyntaxCase& c = GetParam();
  const std::string source = c.source;
  bool escaped = false;
  Outcome outcome;
  try {
    outcome = parse_source(source);
  } catch (const ParseFailure& failure) {
    escaped = true;
    EXPECT_STREQ(c.name, "subunit function instantiation escapes") << failure.what();
    EXPECT_STREQ(failure.what(), "TEST.A95.HAS_GENERIC_INSTANTIATION");
  }
  if (escaped) return;
  if (*c.message == '\0') {
    EXPECT_EQ(outcome.count("message 19 " + outcome.syntax_message + " @" + std::to_string(outcome.line) + ":" +
                            std::to_string(outcome.column)),
              0)
        << c.name << ": " << outcome.syntax_message << " at " << outcome.line << ":" << outcome.column;
    EXPECT_EQ(outcome.syntax_message, "") << c.name;
  } else {
    EXPECT_EQ(outcome.syntax_message, c.message) << c.name;
    EXPECT_EQ(outcome.line, c.line) << c.name;
    EXPECT_EQ(outcome.column, c.column) << c.name;
    // The syntax error is reported once, as message 19, as the last message.
    ASSERT_FALSE(outcome.messages.empty()) << c.name;
    EXPECT_EQ(outcome.messages.back(), 19) << c.name;
    int errors = 0;
    for (int m : outcome.messages) errors += m == 19 ? 1 : 0;
    EXPECT_EQ(errors, 1) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Parser, SyntaxTable, ::testing::ValuesIn(syntax_cases),
                         [](const ::testing::TestParamInfo<SyntaxCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

// Everyday Ada 95, which GNAT accepts with -gnat95 as well.
constexpr const char* idioms_sample = R"ada(with Ada.Text_IO; use Ada.Text_IO;
with Ada.Unchecked_Deallocation;
package body Idioms is
   type Matrix is array (Integer range <>, Integer range <>) of Float;
   type Day is (Mon, Tue, Wed);
   for Day use (Mon => 1, Tue => 2, Wed => 4);
   subtype Small is Integer'Base range 0 .. 1;
   type Count is new Integer range 1 .. 10;
   type Node;
   type Link is access Node;
   type Node is record
      Value : Integer := 0;
      Next  : Link;
   end record;
   procedure Free is new Ada.Unchecked_Deallocation (Node, Link);
   Greeting : constant String := "He said ""hi""" & Character'Val (0);
   Epsilon  : constant := 1.0E-6;
   function Image (X : Integer) return String is
   begin
      return Integer'Image (X) (2 .. Integer'Image (X)'Last);
   end Image;
   procedure Run (M : in out Matrix; L : in Link) is
      Ptr  : Link := L;
      Done : Boolean := False;
      C    : Character := 'a';
   begin
      Outer :
      for I in M'Range (1) loop
         for J in reverse M'First (2) .. M'Last (2) loop
            M (I, J) := (abs M (I, J)) ** 2 - Float (I) * 2.0E+1;
            exit Outer when Done;
         end loop;
      end loop Outer;
      while not Done and then Ptr /= null loop
         Ptr.all.Value := Ptr.Value + 1;
         Ptr := Ptr.Next;
         Done := Ptr = null or else Ptr.Value > 10;
      end loop;
      case C is
         when 'a' .. 'z' | 'A' .. 'Z' => C := Character'Succ (C);
         when '0' .. '9' => null;
         when others => raise Constraint_Error;
      end case;
      for D in Day loop
         Put_Line (Day'Image (D) & Image (Day'Pos (D)));
      end loop;
      declare
         Tmp : Link := new Node'(Value => 1, Next => null);
      begin
         Free (Tmp);
      exception
         when E : others =>
            Put_Line ("failed");
            raise;
      end;
      pragma Assert (not Done or else Ptr = null, "pointer left");
   end Run;
   task type Worker (Id : Integer) is
      entry Start (Level : Integer);
      entry Request (1 .. 4) (Data : out Integer);
   end Worker;
   task body Worker is
      Current : Integer := 0;
   begin
      accept Start (Level : Integer) do
         Current := Level;
      end Start;
      loop
         select
            when Current > 0 =>
               accept Request (1) (Data : out Integer) do
                  Data := Current;
               end Request;
         or
            delay 0.5;
         or
            terminate;
         end select;
      end loop;
   exception
      when others => null;
   end Worker;
   protected type Counter is
      procedure Increment;
      function Value return Integer;
      entry Wait_Positive;
   private
      N : Integer := 0;
   end Counter;
   protected body Counter is
      procedure Increment is begin N := N + 1; end Increment;
      function Value return Integer is begin return N; end Value;
      entry Wait_Positive when N > 0 is begin null; end Wait_Positive;
   end Counter;
begin
   Put_Line (Greeting);
end Idioms;
)ada";

TEST(ParserSyntax, EverydayAda95Parses) {
  const Outcome outcome = parse_source(idioms_sample);
  EXPECT_EQ(outcome.syntax_message, "") << "at " << outcome.line << ":" << outcome.column;
  EXPECT_TRUE(outcome.messages.empty());
}

TEST(ParserSyntax, EveryStatementFormInABody) {
  const Outcome outcome = parse_source(in_body(
      "X := 1; P; P (1); Q.R (A => 1); abort T; delay 1.0; exit; exit when C; goto L;\n"
      "null; raise; raise E; return; return X; if A then null; elsif B then null; else null; end if;\n"
      "loop null; end loop; while C loop null; end loop; for I in reverse 1 .. 10 loop null; end loop;\n"
      "declare begin null; end; begin null; end; accept E do null; end E; pragma Debug (X);"));
  EXPECT_EQ(outcome.syntax_message, "");
}

TEST(ParserSyntax, SyntaxErrorOnTheLastLineAfterEarlierDeclarations) {
  const Outcome outcome = parse_source("package P is\n X : Integer;\n Y : Integer\nend P;");
  EXPECT_EQ(outcome.syntax_message, "Symbol ; expected");
  EXPECT_EQ(outcome.line, 3);
  EXPECT_EQ(outcome.column, 13);
  EXPECT_EQ(outcome.messages, std::vector<int>{19});
  // The hooks of the declaration before the error ran.
  EXPECT_TRUE(outcome.has("declares X"));
  EXPECT_TRUE(outcome.has("declaration 0"));
}

TEST(ParserSyntax, CommentsOnlyFileReportsNothing) {
  const Outcome outcome = parse_source("-- header\n\n   -- more\n--\n");
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_TRUE(outcome.log.empty());
  const Outcome empty = parse_source("");
  EXPECT_TRUE(empty.log.empty());
}

TEST(ParserSyntax, EndOfSourceInsideAUnitIsASyntaxErrorAtTheEnd) {
  const Outcome outcome = parse_source("package P is\n X : Integer;");
  EXPECT_EQ(outcome.syntax_message, "end expected");
  EXPECT_EQ(outcome.messages, std::vector<int>{19});
}

}  // namespace
}  // namespace flawseek
