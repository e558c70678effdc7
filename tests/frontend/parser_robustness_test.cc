// The parser on hostile input: deep nesting, and many mutations of valid
// sources (byte flips, truncations, deleted and duplicated lines). Every parse
// must end, without a crash, with either success or one syntax error.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "parser_test_support.h"

namespace flawseek {
namespace {

struct Counting : EmptyHooks {
  static constexpr std::string_view exception_prefix = "TEST.A95";
  int syntax_errors = 0;
  int messages = 0;
  void message(ParserState&, ParserMessage m, std::string_view) {
    ++messages;
    if (m == ParserMessage::SYNTAX_ERROR) ++syntax_errors;
  }
};

// Parses `source`; returns the number of syntax errors (0 or 1), or -1 when a
// failure other than an escaping late discovery or a long line left the parse.
// The text is read in place from a block of exactly its size, as a file's text
// may lie: no terminating NUL, no spare capacity, so that a sanitizer build
// catches any read past the text's last byte.
int parse_hostile(AdaParser<Counting>& parser, Counting& hooks, const std::string& source) {
  const auto exact = std::make_unique<char[]>(source.size());
  std::copy(source.begin(), source.end(), exact.get());
  AdaLineReader reader;
  reader.set_text_view(std::string_view(exact.get(), source.size()));
  hooks.syntax_errors = 0;
  try {
    parser.parse(FileRole::SINGLE_FILE, StyleRules{}, true, reader, true);
  } catch (const ParseFailure&) {
    return 0;
  } catch (const LineTooLong&) {
    return 0;
  } catch (...) {
    return -1;
  }
  return hooks.syntax_errors;
}

TEST(ParserRobustness, DeepNestingEndsWithASyntaxError) {
  Counting hooks;
  AdaParser<Counting> parser(hooks);
  const std::vector<std::string> hostile = {
      "procedure P is begin X := " + [] {
        std::string s;
        for (int i = 0; i < 100000; ++i) s += i % 50 == 49 ? "(\n" : "(";
        return s;
      }() + "1;",
      "procedure P is begin " + [] {
        std::string s;
        for (int i = 0; i < 20000; ++i) s += "begin\n";
        return s;
      }(),
      "procedure P is begin " + [] {
        std::string s;
        for (int i = 0; i < 20000; ++i) s += "if A then\n";
        return s;
      }(),
      [] {
        std::string s;
        for (int i = 0; i < 20000; ++i) s += "package P is\n";
        return s;
      }(),
      [] {
        std::string s = "package P is type R is record case D is when 1 =>\n";
        for (int i = 0; i < 20000; ++i) s += "case D is when 1 =>\n";
        return s;
      }(),
      "procedure P is begin X := " + [] {
        std::string s;
        for (int i = 0; i < 30000; ++i) s += i % 20 == 19 ? "T'(\n" : "T'(";
        return s;
      }(),
  };
  for (const std::string& source : hostile) {
    EXPECT_EQ(parse_hostile(parser, hooks, source), 1) << source.substr(0, 40);
    EXPECT_EQ(parser.syntax_message(), "Syntax error") << source.substr(0, 40);
  }
  // Nesting within the bound is fine.
  std::string deep = "procedure P is begin X := ";
  for (int i = 0; i < 40; ++i) deep += "(";
  deep += "1";
  for (int i = 0; i < 40; ++i) deep += ")";
  deep += "; end P;";
  EXPECT_EQ(parse_hostile(parser, hooks, deep), 0);
}

const char* const samples[] = {
    "with Ada.Text_IO; use Ada.Text_IO;\n"
    "package body Stack is\n"
    "   type Node;\n   type Node_Ptr is access Node;\n"
    "   type Node is record Item : Integer; Next : Node_Ptr; end record;\n"
    "   Top : Node_Ptr := null;\n"
    "   procedure Push (X : in Integer) is\n   begin\n      Top := new Node'(X, Top);\n   end Push;\n"
    "   function Pop return Integer is\n      R : Integer;\n   begin\n"
    "      if Top = null then raise Empty; end if;\n      R := Top.Item; Top := Top.Next;\n      return R;\n"
    "   exception\n      when others => Put_Line (\"pop -- failed\"); raise;\n   end Pop;\n"
    "   task body Worker is begin loop select accept Go (N : Integer) do null; end Go; or terminate; end select;"
    " end loop; end Worker;\n"
    "begin\n   for I in reverse 1 .. 10 loop Push (I * 2 ** 3 mod 7); end loop;\n"
    "   C := 'x'; S := \"a\"\"b\" & '\"';\nend Stack;\n",
    "generic\n   type Element is private;\n   with function \"<\" (L, R : Element) return Boolean is <>;\n"
    "package Sorting is\n   procedure Sort (A : in out Array_Type);\n"
    "   pragma Inline (Sort);\nprivate\n   type Array_Type is array (Positive range <>) of Element;\n"
    "   for Array_Type'Alignment use 4;\nend Sorting;\n",
    "separate (P)\nprocedure Q is\n   exec sql select a into :x from t where b = :y;\nbegin\n"
    "   <<Top>> case X is when 1 | 2 => null; when others => goto Top; end case;\n"
    "   B : declare Y : constant := 16#FF#; begin null; end B;\nend Q;\n",
};

// Sources to mutate: the built-in samples, and some real files when GNAT is there.
std::vector<std::string> mutation_sources() {
  std::vector<std::string> sources(std::begin(samples), std::end(samples));
  for (const char* name : {"a-textio.adb", "s-stratt.adb", "a-strfix.adb", "g-spipat.adb"}) {
    std::ifstream in(std::string("/usr/lib/gcc/x86_64-linux-gnu/12/adainclude/") + name, std::ios::binary);
    if (!in) continue;
    std::ostringstream text;
    text << in.rdbuf();
    sources.push_back(text.str());
  }
  return sources;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The nesting limit falls on the same declaration whether it declares a
// subprogram or an object: the declaration is refused before it is told
// apart. Enclosing if statements shift where the limit falls in a block.
TEST(ParserRobustness, NestingLimitIsTheSameForEveryDeclaration) {
  struct Limit {
    int blocks = 0;
    std::string message;
    int line = 0;
    int column = 0;
  };
  const auto parse_nested = [](const std::string& declaration, int ifs, int blocks) {
    std::string source = "procedure P is\nbegin\n";
    for (int i = 0; i < ifs; ++i) source += "if C then\n";
    for (int i = 0; i < blocks; ++i) source += "declare\n" + declaration + "\nbegin\n";
    source += "null;\n";
    for (int i = 0; i < blocks; ++i) source += "end;\n";
    for (int i = 0; i < ifs; ++i) source += "end if;\n";
    source += "end P;\n";
    return testing_support::parse_source(source);
  };
  // The fewest blocks that fail (deeper nesting fails wherever less does).
  const auto limit_of = [&](const std::string& declaration, int ifs) {
    int low = 1;
    int high = 400;
    if (parse_nested(declaration, ifs, high).syntax_message.empty()) return Limit{};
    while (low < high) {
      const int middle = (low + high) / 2;
      if (parse_nested(declaration, ifs, middle).syntax_message.empty()) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    const testing_support::Outcome outcome = parse_nested(declaration, ifs, low);
    return Limit{low, outcome.syntax_message, outcome.line, outcome.column};
  };
  for (int ifs = 0; ifs < 6; ++ifs) {
    const Limit subprogram = limit_of("procedure Q;", ifs);
    ASSERT_GT(subprogram.blocks, 0);
    for (const std::string declaration : {"X : Integer;", "E : exception;"}) {
      const Limit other = limit_of(declaration, ifs);
      EXPECT_EQ(other.blocks, subprogram.blocks) << declaration << ifs;
      EXPECT_EQ(other.message, subprogram.message) << declaration << ifs;
      EXPECT_EQ(other.line, subprogram.line) << declaration << ifs;
      EXPECT_EQ(other.column, subprogram.column) << declaration << ifs;
    }
  }
}

// A body found late inside package specifications, however deeply nested and
// wherever they stand, stops the parse at the word after its head: no list
// around the specifications takes it over.
TEST(ParserRobustness, BodyFoundLateInNestedSpecificationsStopsThere) {
  struct Place {
    std::string before, head, after;
    int error_line_after_head;  // 0: the head's own line (the body's name)
  };
  const Place places[] = {
      {"", "package body X is\n", "", 0},
      {"procedure P is\n", "procedure X is\n", "begin\nnull;\nend P;\n", 1},
  };
  for (const Place& place : places) {
    for (const int specs : {1, 30}) {
      std::string source = place.before;
      for (int i = 0; i < specs; ++i) source += "package Q" + std::to_string(i) + " is\n";
      source += place.head + "begin\nnull;\nend X;\n" + place.after;
      const testing_support::Outcome o = testing_support::parse_source(source);
      const int head_line = (place.before.empty() ? 0 : 1) + specs + 1;
      EXPECT_EQ(o.syntax_message, "Syntax error") << place.head << specs;
      EXPECT_EQ(o.line, head_line + place.error_line_after_head) << place.head << specs;
    }
  }
}

TEST(ParserRobustness, MutatedSourcesAlwaysEndCleanly) {
  Counting hooks;
  AdaParser<Counting> parser(hooks);
  std::mt19937 random(20261208);
  const std::vector<std::string> sources = mutation_sources();
  // The unmutated samples parse.
  for (std::size_t i = 0; i < std::size(samples); ++i) {
    EXPECT_EQ(parse_hostile(parser, hooks, sources[i]), 0) << i << ": " << parser.syntax_message();
  }
  int parses = 0;
  for (const std::string& original : sources) {
    for (int round = 0; round < 150; ++round) {
      std::string text = original;
      switch (round % 5) {
        case 0:  // byte flips, including control and Latin-1 bytes
          for (int k = 0; k < 1 + round % 7; ++k) {
            text[random() % text.size()] = static_cast<char>(random() % 256);
          }
          break;
        case 1:  // truncation
          text.resize(random() % text.size());
          break;
        case 2:
        case 3: {  // deleted or duplicated lines
          std::vector<std::string> lines = split_lines(text);
          const std::size_t at = random() % lines.size();
          if (round % 5 == 2) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
          } else {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[random() % lines.size()]);
          }
          text.clear();
          for (const auto& l : lines) text += l + "\n";
          break;
        }
        default: {  // a run of one delimiter or quote
          const char* runs[] = {"(", ")", "'", "\"", ";", "begin ", "end ", "--", "<<", "=>"};
          const std::string run = runs[random() % std::size(runs)];
          std::string inserted;
          for (int k = 0; k < 50; ++k) inserted += run;
          text.insert(random() % text.size(), inserted);
        }
      }
      const int result = parse_hostile(parser, hooks, text);
      ASSERT_GE(result, 0) << "unexpected failure for mutation " << round;
      ASSERT_LE(result, 1);
      ++parses;
    }
  }
  EXPECT_GE(parses, 450);
}

TEST(ParserRobustness, RandomBytesNeverCrash) {
  Counting hooks;
  AdaParser<Counting> parser(hooks);
  std::mt19937 random(42);
  for (int round = 0; round < 300; ++round) {
    std::string text(static_cast<std::size_t>(random() % 2000), ' ');
    for (char& c : text) c = static_cast<char>(random() % 256);
    const int result = parse_hostile(parser, hooks, text);
    ASSERT_GE(result, 0);
  }
}

}  // namespace
}  // namespace flawseek
