// The comment-command interpreter: which texts add which marks, which select
// style rules, and that no text, however malformed or long, does harm.
#include "bugcheck/command_parser.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bugcheck/bug_command_keyword.h"

namespace flawseek {
namespace {

std::vector<BugKind> kinds_of(const MarkList& marks) {
  std::vector<BugKind> kinds;
  for (const SuppressionMark& mark : marks) kinds.push_back(mark.kind);
  return kinds;
}

struct MarkCase {
  const char* text;
  std::vector<BugKind> marks;
};

TEST(CommandParser, MarkCommandsAddTheirMarksOnlyWhenTheyReachTheColon) {
  using enum BugKind;
  const MarkCase cases[] = {
      {"CNR: reason", {CODE_NOT_REACHABLE}},
      {"np,ud: reason", {NULL_POINTER, UNUSED_DECLARATION}},
      {"  NP ,  UD  :reason", {NULL_POINTER, UNUSED_DECLARATION}},
      {"Enr, Ior, Nsc, Rec, Uu, Wg:", {EXCEPTION_NOT_RAISED, ILLOGICAL_OPERATOR_RENAME, NON_SHORT_CIRCUIT,
                                        RECURSIVE_ENTRY_CALL, UNUSED_UNIT, WRONG_GRANULARITY}},
      {"NP, NP: twice on one line", {NULL_POINTER, NULL_POINTER}},
      {"CNR,:", {CODE_NOT_REACHABLE}},
      {"CNR: NP, UD: what follows the colon is never read", {CODE_NOT_REACHABLE}},
      {":", {}},
      {"", {}},
      {"   ", {}},
      {"CNR checked", {}},
      {"CNR", {}},
      {"CNR,", {}},
      {"CNR NP: no comma", {}},
      {"CNR, FOO: unknown word", {}},
      {"FOO, CNR: unknown word first", {}},
      {"CNRX: not a whole word", {}},
      {"XCNR: not a whole word", {}},
      {"CNR; NP: another separator", {}},
      {"CNR, STYLE: a style word", {}},
      {"TAVIK_95:", {}},
      {"- CNR: text", {}},
      {"CNR - NP:", {}},
  };
  for (const MarkCase& c : cases) {
    for (const bool style_checks_on : {true, false}) {
      CommandParser parser;
      MarkList marks;
      const auto style = parser.parse(c.text, 7, 1, style_checks_on, marks);
      EXPECT_EQ(kinds_of(marks), c.marks) << "text: \"" << c.text << "\"";
      EXPECT_FALSE(style.has_value()) << "text: \"" << c.text << "\"";
      for (const SuppressionMark& mark : marks) EXPECT_EQ(mark.line, 7) << c.text;
    }
  }
}

TEST(CommandParser, MarksAreAppendedAfterThoseAlreadyInTheList) {
  CommandParser parser;
  MarkList marks;
  parser.parse("UU: first", 3, 1, true, marks);
  parser.parse("CNR checked", 4, 1, true, marks);
  parser.parse("NP, WG: second", 5, 1, true, marks);
  ASSERT_EQ(marks.length(), 3);
  auto it = marks.begin();
  EXPECT_EQ(it->kind, BugKind::UNUSED_UNIT);
  EXPECT_EQ(it->line, 3);
  ++it;
  EXPECT_EQ(it->kind, BugKind::NULL_POINTER);
  EXPECT_EQ(it->line, 5);
  ++it;
  EXPECT_EQ(it->kind, BugKind::WRONG_GRANULARITY);
  EXPECT_EQ(it->line, 5);
}

struct StyleCase {
  const char* text;
  std::optional<StyleRules> rules;
};

TEST(CommandParser, StyleCommandsSelectATemplateOnlyWithStyleChecksOn) {
  const StyleCase cases[] = {
      {"STYLE: TAVIK", tavik_style_rules},
      {"style:tavik_95", tavik_95_style_rules},
      {"  Style :  Brightmoor  and some text", brightmoor_style_rules},
      {"STYLE: NONE", default_style_rules},
      {"STYLE: FOO", std::nullopt},
      {"STYLE TAVIK", std::nullopt},
      {"STYLE:", std::nullopt},
      {"STYLE", std::nullopt},
      {"STYLE: STYLE", std::nullopt},
      {"STYLE: CNR", std::nullopt},
      {"STYLE, TAVIK", std::nullopt},
      {"TAVIK", std::nullopt},
      {"STYLE: TAVIK95", std::nullopt},
  };
  for (const StyleCase& c : cases) {
    CommandParser parser;
    MarkList marks;
    const auto on = parser.parse(c.text, 1, 1, /*style_checks_on=*/true, marks);
    EXPECT_EQ(on, c.rules) << "text: \"" << c.text << "\"";
    const auto off = parser.parse(c.text, 1, 1, /*style_checks_on=*/false, marks);
    EXPECT_FALSE(off.has_value()) << "text: \"" << c.text << "\"";
    EXPECT_TRUE(marks.is_empty()) << "text: \"" << c.text << "\"";
  }
}

TEST(CommandParser, ALongJustificationDoesNotCancelTheMark) {
  // Longer than the command scanner's 255-character line.
  const std::string text = "NP, CNR: " + std::string(600, 'x') + " more text";
  CommandParser parser;
  MarkList marks;
  parser.parse(text, 9, 1, true, marks);
  EXPECT_EQ(kinds_of(marks), (std::vector<BugKind>{BugKind::NULL_POINTER, BugKind::CODE_NOT_REACHABLE}));
}

TEST(CommandParser, LongListsOfWordsAreReadWhole) {
  std::string text;
  for (int i = 0; i < 120; ++i) text += "UD, ";
  text += "UU: done";
  ASSERT_GT(text.size(), 255u);
  CommandParser parser;
  MarkList marks;
  parser.parse(text, 2, 1, true, marks);
  EXPECT_EQ(marks.length(), 121);
  EXPECT_EQ(std::prev(marks.end())->kind, BugKind::UNUSED_UNIT);
}

TEST(CommandParser, MalformedBytesAreIgnoredQuietly) {
  const std::string texts[] = {
      std::string("\0\0\0", 3),
      "\xff\xfe\x80 CNR:",
      "\"CNR\": quoted",
      "'CNR': ticked",
      "123: a number",
      "1_000_000.5E+10#CNR:",
      "16#FF#: based",
      std::string(5000, ','),
      std::string(5000, ':'),
      std::string(5000, 'A'),
  };
  for (const std::string& text : texts) {
    CommandParser parser;
    MarkList marks;
    EXPECT_NO_THROW(parser.parse(text, 1, 1, true, marks));
    EXPECT_TRUE(marks.is_empty());
  }
}

TEST(CommandParser, OneParserServesManyCommands) {
  CommandParser parser;
  MarkList marks;
  EXPECT_TRUE(parser.parse("STYLE: TAVIK", 1, 1, true, marks).has_value());
  parser.parse("CNR: a", 2, 1, true, marks);
  EXPECT_FALSE(parser.parse("STYLE: FOO", 3, 1, true, marks).has_value());
  parser.parse("NP", 4, 1, true, marks);
  parser.parse("IOR: b", 5, 1, true, marks);
  EXPECT_EQ(kinds_of(marks), (std::vector<BugKind>{BugKind::CODE_NOT_REACHABLE, BugKind::ILLOGICAL_OPERATOR_RENAME}));
}

TEST(BugCommandKeyword, WordsAreTheLiteralsWithoutTheirPrefixAndInOrder) {
  EXPECT_EQ(command_word(BugCommandKeyword::KEYWORD_CNR), "CNR");
  EXPECT_EQ(command_word(BugCommandKeyword::KEYWORD_TAVIK_95), "TAVIK_95");
  EXPECT_EQ(bug_command_keyword_list(), "$CNR$ENR$IOR$NSC$NP$REC$UD$UU$WG$STYLE$NONE$TAVIK$TAVIK_95$BRIGHTMOOR$");
  // The nine marking words name nine kinds; no word suppresses what must
  // always be seen, and the style words suppress nothing.
  std::set<BugKind> marked;
  for (int position = 0; position < bug_command_keyword_count; ++position) {
    const auto keyword = static_cast<BugCommandKeyword>(position);
    const auto kind = marked_kind(keyword);
    EXPECT_EQ(kind.has_value(), keyword < BugCommandKeyword::KEYWORD_STYLE) << image(keyword);
    if (kind) marked.insert(*kind);
  }
  EXPECT_EQ(marked.size(), 9u);
  EXPECT_FALSE(marked.contains(BugKind::SYNTAX_ERROR));
  EXPECT_FALSE(marked.contains(BugKind::INTERNAL_ERROR));
  EXPECT_EQ(marked_kind(BugCommandKeyword::KEYWORD_NP), BugKind::NULL_POINTER);
}

}  // namespace
}  // namespace flawseek
