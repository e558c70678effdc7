// The findings list: counts, the current file, the tree it builds, the
// unchecked-style setting, and replaying recorded per-file findings.
#include "findings/findings_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../support/every_string.h"
#include "findings/file_findings.h"
#include "output/csv_output.h"
#include "output/kept_findings.h"
#include "output/text_output.h"
#include "output/tree_output.h"

namespace flawseek {
namespace {

std::string rendered(const TextTreeView& view) {
  std::ostringstream out;
  view.render(out);
  return out.str();
}

std::int64_t total_held(const FindingsList& list) {
  std::int64_t total = 0;
  for (int i = 0; i < FindingKind::count; ++i) total += static_cast<std::int64_t>(list.findings(FindingKind::from_index(i)).size());
  return total;
}

class FindingsListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list.set_view(&view);
    list.clear_findings();
  }
  FindingsList list;
  TextTreeView view;
};

TEST(CollapseBlanks, DropsOuterBlanksAndShortensInnerRuns) {
  EXPECT_EQ(collapse_blanks(""), "");
  EXPECT_EQ(collapse_blanks("     "), "");
  EXPECT_EQ(collapse_blanks("   X := Y.all;   "), "X := Y.all;");
  EXPECT_EQ(collapse_blanks("a    b c"), "a b c");
  // Control characters are blanks too; Latin-1 letters stay.
  EXPECT_EQ(collapse_blanks("\x1b[31mX :=\x7f\x9b\x85Y;\r\n"), "[31mX := Y;");
  EXPECT_EQ(collapse_blanks("Gr\xF6\xDF" "e \xA0x"), "Gr\xF6\xDF" "e \xA0x");
  EXPECT_EQ(collapse_blanks("a\t\tb"), "a\t\tb");  // only blanks are collapsed
  // A lone control character between words becomes the blank, in place, and
  // the words after a longer run still move up.
  EXPECT_EQ(collapse_blanks("ab\rcd e  f\x85g h"), "ab cd e f g h");
  // In a line written in UTF-8, 0x80 to 0x9F are parts of characters ("Пр"),
  // and only its ASCII blanks and controls collapse.
  EXPECT_EQ(collapse_blanks("  S := \"\xD0\x9F\xD1\x80\"; \r "), "S := \"\xD0\x9F\xD1\x80\";");
}

// The words of `text` (parted by ' ', '\r' and '\x85') joined by single blanks.
std::string words_parted_by_single_blanks(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\x85'; };
  std::string expected;
  std::string word;
  for (char c : text + ' ') {
    if (!blank(c)) {
      word += c;
    } else if (!word.empty()) {
      if (!expected.empty()) expected += ' ';
      expected += word;
      word.clear();
    }
  }
  return expected;
}

TEST(CollapseBlanks, EveryShortTextGivesItsWordsPartedBySingleBlanks) {
  // Words, a tab (a character like any other) and blanks of three kinds, in
  // every order up to seven characters, into a text that held another and
  // into a new one.
  std::string reused = "an earlier reason";
  testing::for_each_string("a \t\r\x85", 7, [&](const std::string& text) {
    const std::string expected = words_parted_by_single_blanks(text);
    collapse_blanks_into(text, reused);
    ASSERT_EQ(reused, expected) << ::testing::PrintToString(text);
    ASSERT_EQ(collapse_blanks(text), expected) << ::testing::PrintToString(text);
  });
}

TEST(CollapseBlanks, LongTextsAreCollapsedAcrossEveryBlockBoundary) {
  // Long texts are judged sixteen characters at a time: words mostly parted
  // by single spaces, with the other blanks and runs falling anywhere. Each
  // is the start of a longer text whose rest would change the result if it
  // were read.
  std::mt19937 random(2026);
  const std::string alphabet = "aaaaaaaaaa      \t\r\x85";
  std::string out;
  for (int round = 0; round < 4000; ++round) {
    std::string text(random() % 90, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const std::string longer = text + " \x85z";
    collapse_blanks_into(std::string_view(longer).substr(0, text.size()), out);
    ASSERT_EQ(out, words_parted_by_single_blanks(text)) << ::testing::PrintToString(text);
  }
}

TEST(CollapseBlanks, AFlawAnywhereInALineOfSingleBlanksIsFound) {
  // A line of words parted by single spaces is taken whole in one test:
  // one more blank, a control character, a blank at either end must each
  // be seen wherever it falls, in the indentation, near a block's edge or
  // at the very end, for lines of every length around the block sizes.
  std::string out;
  const auto check = [&](const std::string& text) {
    collapse_blanks_into(text, out);
    ASSERT_EQ(out, words_parted_by_single_blanks(text)) << ::testing::PrintToString(text);
  };
  for (const std::size_t indent : {0, 1, 7, 15, 16, 18}) {
    for (std::size_t length = 1; length <= 64; ++length) {
      // Words of one or two letters, their blanks at each phase, so a flaw
      // next to a blank falls on every place.
      for (const auto [period, phase] : {std::pair(2, 0), std::pair(2, 1), std::pair(3, 0), std::pair(3, 1),
                                         std::pair(3, 2)}) {
        std::string body;
        for (std::size_t i = 0; i < length; ++i) {
          body += static_cast<int>(i) % period == phase && i > 0 && i + 1 < length ? ' ' : 'w';
        }
        for (const std::string_view trail : {"", " ", "\r\x85", "    "}) {
          const std::string plain = std::string(indent, ' ') + body + std::string(trail);
          check(plain);
          for (std::size_t at = 0; at <= plain.size(); ++at) {
            for (const char flaw : {' ', '\r', '\x85'}) check(std::string(plain).insert(at, 1, flaw));
          }
        }
      }
    }
  }
}

TEST(PositionText, WithAndWithoutColumn) {
  EXPECT_EQ(position_text(12, 5), "Line 12 at position 5");
  EXPECT_EQ(position_text(40, no_column), "At line 40");
  EXPECT_EQ(position_text(0, no_column), "At line 0");
  EXPECT_EQ(position_text(-3, 2147483646), "Line-3 at position 2147483646");
}

TEST(TreeTextLess, IgnoresLetterCaseFirst) {
  EXPECT_TRUE(tree_text_less("apple", "Banana"));
  EXPECT_TRUE(tree_text_less("Code Not Reachable", "code not reachable (2)"));
  EXPECT_FALSE(tree_text_less("Style Violations", "Null Pointer (3)"));
  EXPECT_FALSE(tree_text_less("same", "same"));
}

TEST_F(FindingsListTest, FindingBeforeAnyFileBelongsToUnknownFile) {
  list.report_bug(BugKind::INTERNAL_ERROR, 0, no_column, "");
  ASSERT_EQ(list.findings(BugKind::INTERNAL_ERROR).size(), 1u);
  EXPECT_EQ(list.findings(BugKind::INTERNAL_ERROR).front().file, "Unknown file");
  EXPECT_EQ(rendered(view), "Internal Error (1)\n  Unknown file\n    At line 0\n");
}

TEST_F(FindingsListTest, EachKindKeepsItsFileItemUntilTheFileChanges) {
  list.set_current_file("/src/a.adb");
  list.report_bug(BugKind::NULL_POINTER, 3, 7, "  X  :=  P.all; ");
  list.report_bug(BugKind::SYNTAX_ERROR, 4, 1, "");
  list.report_bug(BugKind::NULL_POINTER, 9, no_column, "");
  list.set_current_file("/src/b.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 2, "");

  EXPECT_EQ(rendered(view),
            "Null Pointer (3)\n"
            "  /src/a.adb\n"
            "    Line 3 at position 7\n"
            "      X := P.all;\n"
            "    At line 9\n"
            "  /src/b.adb\n"
            "    Line 1 at position 2\n"
            "Syntax Error (1)\n"
            "  /src/a.adb\n"
            "    Line 4 at position 1\n");
  EXPECT_EQ(list.count(BugKind::NULL_POINTER), 3);
  EXPECT_EQ(list.findings_count(), 4);
  EXPECT_EQ(list.findings(BugKind::NULL_POINTER)[0].reason, "X := P.all;");
  EXPECT_EQ(list.findings(BugKind::NULL_POINTER)[2].file, "/src/b.adb");
}

TEST_F(FindingsListTest, TheTreeShowsASyntaxErrorsReasonAndItsTextsInUtf8) {
  // The window shows these same texts. The Latin-1 name and line are
  // converted; a detail of another kind stays out of the tree.
  list.set_current_file("/src/caf\xe9.adb");
  list.report_bug(BugKind::SYNTAX_ERROR, 7, 16, "if C_M\xd6X = 1 loop");
  list.describe_last_finding("then expected");
  list.report_bug(BugKind::INTERNAL_ERROR, 0, no_column, "");
  list.describe_last_finding("cannot read the file: gone");
  EXPECT_EQ(rendered(view),
            "Internal Error (1)\n"
            "  /src/caf\xc3\xa9.adb\n"
            "    At line 0\n"
            "Syntax Error (1)\n"
            "  /src/caf\xc3\xa9.adb\n"
            "    Line 7 at position 16: then expected\n"
            "      if C_M\xc3\x96X = 1 loop\n");
  EXPECT_EQ(list.findings(BugKind::SYNTAX_ERROR).front().reason, "if C_M\xd6X = 1 loop");  // the source's own bytes
}

TEST_F(FindingsListTest, AListThatKeepsNoStyleDetailsStillKeepsABugsDetail) {
  list.set_style_details_kept(false);
  list.set_current_file("/src/a.adb");
  list.report_style(StyleKind::BAD_KEYWORD, 2, 1, "BEGIN");
  list.describe_last_finding("reserved word `BEGIN` must be `begin`");
  list.report_bug(BugKind::SYNTAX_ERROR, 3, 1, "X");
  list.describe_last_finding("then expected");
  EXPECT_EQ(list.notes().detail(StyleKind::BAD_KEYWORD, 0), "");
  EXPECT_EQ(list.notes().detail(BugKind::SYNTAX_ERROR, 0), "then expected");
}

TEST_F(FindingsListTest, SettingTheSameFileAgainStartsNewFileItems) {
  list.set_current_file("/x.ads");
  list.report_bug(BugKind::UNUSED_UNIT, 1, 1, "");
  list.set_current_file("/x.ads");
  list.report_bug(BugKind::UNUSED_UNIT, 2, 1, "");
  const auto& top = view.children(no_tree_item);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(view.children(top[0]).size(), 2u);
}

TEST_F(FindingsListTest, TopLevelAndStyleKindItemsAreInsertedSorted) {
  list.set_current_file("f.adb");
  list.report_bug(BugKind::UNUSED_UNIT, 1, 1, "");
  list.report_style(StyleKind::NOT_UPPERCASE, 1, 1, "");
  list.report_bug(BugKind::CODE_NOT_REACHABLE, 1, 1, "");
  list.report_style(StyleKind::BAD_KEYWORD, 1, 1, "");
  list.report_bug(BugKind::UNUSED_DECLARATION, 1, 1, "");
  list.report_bug(BugKind::RECURSIVE_ENTRY_CALL, 1, 1, "");
  list.report_style(StyleKind::WRONG_MODE, 1, 1, "");

  std::vector<std::string> top;
  for (TreeItem item : view.children(no_tree_item)) top.push_back(view.text(item));
  EXPECT_EQ(top, (std::vector<std::string>{"Code Not Reachable (1)", "Recursive Entry Call (1)",
                                           "Style Violations (3)", "Unused Declaration (1)", "Unused Unit (1)"}));
  TreeItem style = view.children(no_tree_item)[2];
  std::vector<std::string> kinds;
  for (TreeItem item : view.children(style)) kinds.push_back(view.text(item));
  EXPECT_EQ(kinds, (std::vector<std::string>{"Bad Keyword (1)", "Not Uppercase (1)", "Wrong Mode (1)"}));
}

TEST_F(FindingsListTest, StyleViolationAtLineZeroShowsOnlyItsFile) {
  list.toggle_list_unchecked_style();
  list.set_current_file("/p/q.adb");
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
  EXPECT_EQ(rendered(view), "Style Violations (1)\n  No Style Checks (1)\n    /p/q.adb\n");
  EXPECT_EQ(list.style_count(), 1);
  EXPECT_EQ(list.findings_count(), 1);
}

TEST_F(FindingsListTest, UncheckedFilesAreDroppedUnlessListed) {
  list.set_current_file("a.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 1, "");
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
  EXPECT_EQ(list.findings_count(), 1);
  EXPECT_EQ(list.style_count(), 0);
  EXPECT_TRUE(list.findings(StyleKind::NO_STYLE_CHECKS).empty());
  EXPECT_EQ(rendered(view).find("Style"), std::string::npos);

  list.note_style_command_seen();
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
  EXPECT_EQ(list.findings_count(), 2);
  EXPECT_EQ(list.count(StyleKind::NO_STYLE_CHECKS), 1);
}

TEST_F(FindingsListTest, ClearEmptiesListsTreeAndCountsButKeepsTheSetting) {
  list.toggle_list_unchecked_style();
  list.set_current_file("a.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 1, "why");
  list.report_style(StyleKind::LINE_TOO_LONG, 2, 400, "");
  list.clear_findings();
  EXPECT_EQ(list.findings_count(), 0);
  EXPECT_EQ(list.style_count(), 0);
  EXPECT_EQ(list.count(BugKind::NULL_POINTER), 0);
  EXPECT_EQ(total_held(list), 0);
  EXPECT_EQ(view.item_count(), 0u);
  EXPECT_EQ(list.current_file(), "Unknown file");
  EXPECT_TRUE(list.list_unchecked_style());

  // The next findings build a fresh tree, not one hanging off stale items.
  list.report_style(StyleKind::LINE_TOO_LONG, 5, 400, "");
  EXPECT_EQ(rendered(view), "Style Violations (1)\n  Line Too Long (1)\n    Unknown file\n      Line 5 at position 400\n");
}

TEST_F(FindingsListTest, CountEqualsFindingsHeldAfterAMixedRun) {
  for (int file = 0; file < 7; ++file) {
    std::string name = "f";
    name += std::to_string(file);
    list.set_current_file(name);
    for (int i = 0; i < 40; ++i) {
      int k = (file * 13 + i * 7) % FindingKind::count;
      FindingKind kind = FindingKind::from_index(k);
      if (kind.is_style())
        list.report_style(kind.style_kind(), i % 3, i, "");
      else
        list.report_bug(kind.bug_kind(), i, no_column, "r");
    }
  }
  EXPECT_EQ(list.findings_count(), total_held(list));
  std::int64_t styles = 0;
  for (int i = bug_kind_count; i < FindingKind::count; ++i) styles += list.count(FindingKind::from_index(i));
  EXPECT_EQ(list.style_count(), styles);
  EXPECT_LT(list.findings_count(), 7 * 40);  // the NO_STYLE_CHECKS findings were dropped
}

TEST_F(FindingsListTest, ItemsCarryTheirFindingsAcrossLaterAppends) {
  list.set_current_file("a.adb");
  list.report_bug(BugKind::NULL_POINTER, 3, 4, "first");
  TreeItem kind_item = view.children(no_tree_item)[0];
  TreeItem file_item = view.children(kind_item)[0];
  TreeItem position = view.children(file_item)[0];
  TreeItem reason = view.children(position)[0];
  for (int i = 0; i < 20000; ++i) list.report_bug(BugKind::NULL_POINTER, i, 1, "");

  EXPECT_EQ(view.finding(kind_item), nullptr);
  EXPECT_EQ(view.finding(reason), nullptr);
  ASSERT_NE(view.finding(position), nullptr);
  EXPECT_EQ(view.finding(position)->reason, "first");
  EXPECT_EQ(view.finding(position)->line, 3);
  EXPECT_EQ(view.finding(file_item), view.finding(position));
  EXPECT_EQ(view.text(kind_item), "Null Pointer (20001)");
}

TEST(FindingsListWithoutView, CountsAndListsStillWork) {
  FindingsList list;
  list.set_current_file("a.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 1, "");
  list.report_style(StyleKind::BAD_KEYWORD, 1, 1, "");
  EXPECT_EQ(list.findings_count(), 2);
  EXPECT_EQ(list.style_count(), 1);
}

// A large tree holds hundreds of thousands of findings: each file's path is
// held once, whichever way the findings arrive, and never leaks into the next file.
TEST(FindingsListWithoutView, FindingsOfOneFileShareOnePathText) {
  FileFindings recorded;
  recorded.set_current_file("/src/b.adb");
  recorded.report_style(StyleKind::BAD_KEYWORD, 2, 1, "x");
  recorded.report_bug(BugKind::NULL_POINTER, 3, 1, "y");
  FindingsList list;
  list.set_current_file("/src/a.adb");
  list.report_style(StyleKind::BAD_KEYWORD, 1, 1, "");
  list.report_style(StyleKind::BAD_KEYWORD, 2, 1, "");
  list.apply_taking(recorded);
  const auto& keywords = list.findings(StyleKind::BAD_KEYWORD);
  ASSERT_EQ(keywords.size(), 3u);
  EXPECT_EQ(&keywords[0].file.str(), &keywords[1].file.str());
  EXPECT_EQ(keywords[1].file, "/src/a.adb");
  EXPECT_EQ(keywords[2].file, "/src/b.adb");
  const auto& nulls = list.findings(BugKind::NULL_POINTER);
  ASSERT_EQ(nulls.size(), 1u);
  EXPECT_EQ(&nulls[0].file.str(), &keywords[2].file.str());
}

// What a stream was handed, one text per finding, one call after another.
class TakenFindings final : public FindingsStream {
 public:
  void take_findings(const FindingsList&, std::span<FindingRecord> records, std::string_view) override {
    std::vector<std::string> call;
    for (const FindingRecord& record : records) {
      call.push_back(record.file->str() + ":" + std::to_string(record.line) + ":" + std::string(record.reason));
    }
    calls.push_back(call);
  }
  std::vector<std::vector<std::string>> calls;
};

TEST(FindingsListWithStream, FindingsReportedDirectlyGoOnFirstAndOnlyOnce) {
  TakenFindings stream;
  FindingsList list;
  list.set_stream(&stream);
  list.set_current_file("/src/a.adb");
  list.report_bug(BugKind::INTERNAL_ERROR, 4, no_column, "direct");
  FileFindings recorded;
  recorded.set_current_file("/src/b.adb");
  recorded.report_style(StyleKind::BAD_KEYWORD, 2, 1, "recorded");
  list.apply_taking(recorded);
  list.apply_taking(recorded);
  const std::vector<std::vector<std::string>> expected = {
      {"/src/a.adb:4:direct"}, {"/src/b.adb:2:recorded"}, {"/src/b.adb:2:recorded"}};
  EXPECT_EQ(stream.calls, expected);
  EXPECT_EQ(list.findings_count(), 3);
}

// A file read without tabs shows its columns as they are; said after the
// file's first finding, it is not heard, by a list or through a recorder,
// and it never reaches another path of the same name.
TEST(FindingsListWithoutView, AFileIsKnownWithoutTabsOnlyWhenToldBeforeItsFirstFinding) {
  FileFindings recorded;
  recorded.set_current_file("/src/told_first.adb");
  recorded.note_file_without_tabs();
  recorded.report_style(StyleKind::BAD_KEYWORD, 1, 1, "x");
  recorded.set_current_file("/src/told_late.adb");
  recorded.report_style(StyleKind::BAD_KEYWORD, 2, 1, "y");
  recorded.note_file_without_tabs();
  recorded.report_style(StyleKind::BAD_KEYWORD, 3, 1, "z");
  recorded.set_current_file("/src/never_told.adb");
  recorded.report_style(StyleKind::BAD_KEYWORD, 4, 1, "w");
  for (const bool taking : {true, false}) {
    FindingsList list;
    if (taking) {
      list.apply_taking(recorded);
    } else {
      list.apply(recorded);
    }
    const auto& keywords = list.findings(StyleKind::BAD_KEYWORD);
    ASSERT_EQ(keywords.size(), 4u);
    EXPECT_TRUE(keywords[0].file.known_without_tabs()) << taking;
    EXPECT_FALSE(keywords[1].file.known_without_tabs()) << taking;
    EXPECT_FALSE(keywords[2].file.known_without_tabs()) << taking;
    EXPECT_FALSE(keywords[3].file.known_without_tabs()) << taking;
  }
  // A path whose text another path holds too is left as it is.
  SharedPath held = "/src/shared.adb";
  const SharedPath other = held;
  EXPECT_FALSE(held.note_without_tabs_if_sole());
  EXPECT_FALSE(other.known_without_tabs());
}

TEST(ListUncheckedStyle, InstalledOnlyWhenStored) {
  FindingsList list;
  list.install_list_unchecked_style(std::nullopt);
  EXPECT_FALSE(list.list_unchecked_style_available());
  EXPECT_FALSE(list.list_unchecked_style());
  list.install_list_unchecked_style(0);
  EXPECT_TRUE(list.list_unchecked_style_available());
  EXPECT_FALSE(list.list_unchecked_style());
  list.install_list_unchecked_style(5);
  EXPECT_TRUE(list.list_unchecked_style());
}

TEST(ListUncheckedStyle, FirstStyleCommandSwitchesItOnOnce) {
  FindingsList list;
  std::vector<bool> stored;
  list.set_unchecked_style_listener([&](bool value) { stored.push_back(value); });
  list.note_style_command_seen();
  list.note_style_command_seen();
  EXPECT_TRUE(list.list_unchecked_style());
  EXPECT_EQ(stored, std::vector<bool>{true});

  list.toggle_list_unchecked_style();
  EXPECT_FALSE(list.list_unchecked_style());
  list.note_style_command_seen();  // already available: the user's choice stands
  EXPECT_FALSE(list.list_unchecked_style());
  EXPECT_EQ(stored, (std::vector<bool>{true, false}));
}

TEST(ListUncheckedStyle, StoredOffIsNotOverriddenByAStyleCommand) {
  FindingsList list;
  int calls = 0;
  list.set_unchecked_style_listener([&](bool) { ++calls; });
  list.install_list_unchecked_style(0);
  list.note_style_command_seen();
  EXPECT_FALSE(list.list_unchecked_style());
  EXPECT_EQ(calls, 0);
}

TEST(ListUncheckedStyle, StateTakenOverFromTheJobDecidesTheDiscard) {
  FindingsList list;
  int calls = 0;
  list.set_unchecked_style_listener([&](bool) { ++calls; });
  list.set_list_unchecked_style_state(true, true);
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
  EXPECT_EQ(list.findings_count(), 1);
  list.set_list_unchecked_style_state(false, false);
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
  EXPECT_EQ(list.findings_count(), 1);
  list.note_style_command_seen();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(list.list_unchecked_style_available());
}

// Reports the same calls to any sink: the walk order of a small run.
void report_run(FindingSink& sink, int file) {
  std::string spec = "/s/p" + std::to_string(file) + ".ads";
  std::string body = "/s/p" + std::to_string(file) + ".adb";
  sink.report_bug(BugKind::INTERNAL_ERROR, 2, no_column, "before any file");
  sink.set_current_file(spec);
  sink.report_bug(BugKind::UNUSED_UNIT, 1, 6, "with  Text_IO;");
  if (file == 1) sink.note_style_command_seen();
  sink.report_style(StyleKind::BAD_KEYWORD, 3, 1, "");
  sink.set_current_file(body);
  sink.report_bug(BugKind::NULL_POINTER, 10, 4, "");
  sink.report_style(StyleKind::BAD_KEYWORD, 11, 1, "");
  sink.report_bug(BugKind::SYNTAX_ERROR, 12, 3, "null");
  sink.describe_last_finding("Symbol ; expected");
  sink.set_current_file(spec);
  sink.report_bug(BugKind::UNUSED_UNIT, 1, 6, "");
  sink.set_current_file(body);
  sink.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
}

TEST(FileFindings, ApplyingRecordedFilesInOrderEqualsReportingDirectly) {
  FindingsList direct;
  TextTreeView direct_view;
  direct.set_view(&direct_view);
  direct.clear_findings();
  for (int file = 0; file < 3; ++file) report_run(direct, file);

  // Record each file apart, as worker threads would, then apply in order,
  // copying the recorded texts or taking them over.
  for (const bool taking : {false, true}) {
    std::vector<FileFindings> recorded(3);
    for (int file = 2; file >= 0; --file) report_run(recorded[file], file);
    FindingsList applied;
    TextTreeView applied_view;
    applied.set_view(&applied_view);
    applied.clear_findings();
    for (FileFindings& r : recorded) {
      if (taking) {
        applied.apply_taking(r);
      } else {
        applied.apply(r);
      }
    }

    EXPECT_EQ(rendered(applied_view), rendered(direct_view)) << "taking " << taking;
    EXPECT_EQ(applied.findings_count(), direct.findings_count());
    EXPECT_EQ(applied.style_count(), direct.style_count());
    for (int i = 0; i < FindingKind::count; ++i) {
      FindingKind kind = FindingKind::from_index(i);
      EXPECT_EQ(applied.findings(kind), direct.findings(kind)) << kind.label() << " taking " << taking;
    }
    // A tree made once the search is over is the tree made during it, and
    // a listener heard of every finding once, with its detail.
    FindingsList later;
    struct : FindingsListener {
      void findings_added(std::span<const FindingRecord> records) override {
        for (const FindingRecord& record : records) heard.push_back(std::string(record.kind.label()) + " " + std::string(record.detail));
      }
      void findings_cleared() override { heard.clear(); }
      std::vector<std::string> heard;
    } listener;
    later.set_listener(&listener);
    later.clear_findings();
    for (FileFindings& r : recorded) taking ? later.apply_taking(r) : later.apply(r);
    TextTreeView later_view;
    later.set_view(&later_view);
    later.show_in_view();
    EXPECT_EQ(rendered(later_view), rendered(direct_view)) << "taking " << taking;
    EXPECT_EQ(static_cast<std::int64_t>(listener.heard.size()), direct.findings_count());
    EXPECT_EQ(std::count(listener.heard.begin(), listener.heard.end(), "Syntax Error Symbol ; expected"), 3);

    // The outputs grouped by kind say the same from the list and from the
    // compact store of a list that keeps nothing: the tree as the view has it.
    FindingsList streaming;
    KeptFindings kept;
    streaming.set_stream(&kept);
    streaming.clear_findings();
    for (FileFindings& r : recorded) taking ? streaming.apply_taking(r) : streaming.apply(r);
    EXPECT_EQ(total_held(streaming), 0);
    const auto written = [](const auto& write) {
      std::ostringstream out;
      write(out);
      return out.str();
    };
    const ListedFindings listed(direct);
    EXPECT_EQ(written([&](std::ostream& out) { write_findings_tree(listed, out); }), rendered(direct_view));
    EXPECT_EQ(written([&](std::ostream& out) { write_findings_tree(kept, out); }), rendered(direct_view));
    EXPECT_EQ(written([&](std::ostream& out) { write_text_report(kept, out); }),
              written([&](std::ostream& out) { write_text_report(direct, out); }));
    EXPECT_EQ(written([&](std::ostream& out) { write_csv_report(kept, out); }),
              written([&](std::ostream& out) { write_csv_report(direct, out); }));
    // The third file's unchecked finding is kept because the second file held a
    // style command; the first file's was dropped.
    EXPECT_EQ(applied.count(StyleKind::NO_STYLE_CHECKS), 2);
    EXPECT_EQ(applied.current_file(), "/s/p2.adb");
  }
}

TEST(FileFindings, RecordsStepsInOrderAndClears) {
  FileFindings recorder;
  recorder.report_bug(BugKind::SYNTAX_ERROR, 1, 1, "x");
  recorder.set_current_file("a.adb");
  recorder.report_style(StyleKind::LINE_TOO_LONG, 2, 400, "y");
  ASSERT_EQ(recorder.steps().size(), 3u);
  EXPECT_EQ(recorder.finding_count(), 2u);
  EXPECT_EQ(recorder.steps()[0].file, "");
  EXPECT_EQ(recorder.steps()[1].what, FileFindings::StepKind::SetCurrentFile);
  // A report belongs to the file the step before it named.
  EXPECT_EQ(recorder.steps()[1].file, "a.adb");
  EXPECT_EQ(recorder.steps()[2].kind, FindingKind(StyleKind::LINE_TOO_LONG));
  EXPECT_EQ(recorder.reason(recorder.steps()[0]), "x");
  EXPECT_EQ(recorder.reason(recorder.steps()[1]), "");
  EXPECT_EQ(recorder.reason(recorder.steps()[2]), "y");
  recorder.clear();
  EXPECT_TRUE(recorder.steps().empty());
  // Used again, the steps and their texts start afresh, a reason given
  // before the clear included; one given twice in a row reads the same.
  recorder.report_style(StyleKind::LINE_TOO_LONG, 2, 400, "y");
  recorder.report_bug(BugKind::SYNTAX_ERROR, 1, 1, "");
  recorder.report_bug(BugKind::SYNTAX_ERROR, 2, 1, "  z  ");
  recorder.report_bug(BugKind::SYNTAX_ERROR, 2, 3, "  z  ");
  recorder.report_bug(BugKind::SYNTAX_ERROR, 2, 4, "  z  w");
  EXPECT_EQ(recorder.steps()[1].file, "");
  EXPECT_EQ(recorder.reason(recorder.steps()[0]), "y");
  EXPECT_EQ(recorder.reason(recorder.steps()[1]), "");
  EXPECT_EQ(recorder.reason(recorder.steps()[2]), "z");
  EXPECT_EQ(recorder.reason(recorder.steps()[3]), "z");
  EXPECT_EQ(recorder.reason(recorder.steps()[4]), "z w");
}

TEST(FindingNotes, DetailsAndSuppressedFindingsSurviveTheRecorderAndGoWithClear) {
  // The same calls made directly and through a recorder give the same notes.
  auto report = [](FindingSink& sink) {
    sink.set_current_file("/a.adb");
    sink.report_bug(BugKind::SYNTAX_ERROR, 3, 1, "if then");
    sink.describe_last_finding("  then   expected ");
    sink.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");  // dropped: not listed
    sink.describe_last_finding("lost with its finding");
    sink.report_suppressed_bug(BugKind::NULL_POINTER, 7, 2, "x := p.all;");
    sink.report_bug(BugKind::SYNTAX_ERROR, 9, 1, "end X;");
  };
  FindingsList direct;
  report(direct);
  FileFindings recorder;
  report(recorder);
  FindingsList replayed;
  replayed.apply(recorder);

  for (const FindingsList* list : {&direct, &replayed}) {
    const FindingKind syntax(BugKind::SYNTAX_ERROR);
    ASSERT_EQ(list->count(syntax), 2);
    EXPECT_EQ(list->notes().detail(syntax, 0), "then expected");
    EXPECT_EQ(list->notes().detail(syntax, 1), "");
    ASSERT_EQ(list->notes().suppressed().size(), 1u);
    EXPECT_EQ(list->notes().suppressed()[0].finding, (Finding{"/a.adb", 7, 2, "x := p.all;"}));
    // Suppressed findings are no findings.
    EXPECT_EQ(list->findings_count(), 2);
  }
  direct.clear_findings();
  EXPECT_EQ(direct.notes().detail(FindingKind(BugKind::SYNTAX_ERROR), 0), "");
  EXPECT_TRUE(direct.notes().suppressed().empty());
}

}  // namespace
}  // namespace flawseek
