// GNU-style finding lines, the order records come out in, and the display
// columns the lines show.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/temporary_directory.h"
#include "findings/findings_list.h"
#include "output/finding_records.h"
#include "output/findings_output.h"
#include "output/gnu_output.h"

namespace flawseek {
namespace {

TEST(GnuFindings, OneLinePerFindingInFileLineAndColumnOrder) {
  FindingsList findings;
  findings.set_list_unchecked_style_state(true, true);
  findings.set_current_file("/src/b.adb");
  findings.report_bug(BugKind::SYNTAX_ERROR, 7, no_column, "if then");
  findings.describe_last_finding("then expected");
  findings.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
  findings.set_current_file("/src/a.adb");
  findings.report_style(StyleKind::BAD_KEYWORD, 12, 5, "  BEGIN  ");
  findings.report_bug(BugKind::NULL_POINTER, 12, 5, "x := p.all;");
  findings.report_bug(BugKind::INTERNAL_ERROR, 3, 2, "");
  findings.report_style(StyleKind::LINE_TOO_LONG, 2, 132, "a very long line");

  std::ostringstream out;
  const PathStyle relative(std::filesystem::path("/src/sub"));
  GnuLinesWriter writer(relative);
  writer.write(ordered_findings(findings), out);
  writer.end(out);
  // Files, lines and columns in order (kind order among equals); the
  // parser's own words for the syntax error; line 0 and an unknown column
  // become 1; a long line is not repeated; names relative to the base even
  // above it.
  EXPECT_EQ(out.str(),
            "../a.adb:2:132: (style) line is too long [style/line-too-long]\n"
            "../a.adb:3:2: error: the analysis of this file failed [internal-error]\n"
            "../a.adb:12:5: warning: access value is null here: x := p.all; [null-pointer]\n"
            "../a.adb:12:5: (style) reserved word is not in the required letter case: BEGIN [style/bad-keyword]\n"
            "../b.adb:1:1: (style) file has no style command [style/no-style-checks]\n"
            "../b.adb:7:1: error: then expected: if then [syntax-error]\n");
}

TEST(GnuFindings, LinesAndColumnsOfEveryWidthAreWrittenInFull) {
  // Short numbers are written a digit pair at a time: every width, and
  // each side of where one more digit is needed, must come out in full.
  const std::vector<std::int32_t> numbers = {1, 9, 10, 42, 99, 100, 305, 999, 1000, 1009, 4096, 9999, 10000,
                                             65537, 2147483646};
  const SharedPath file = SharedPath::without_tabs("/src/a_rather_long_directory_name/pkg.adb");
  std::vector<FindingRecord> records;
  std::string expected;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::int32_t line = numbers[i];
    const std::int32_t column = numbers[numbers.size() - 1 - i];
    records.push_back({StyleKind::BAD_KEYWORD, &file, line, column, "BEGIN", {}, false});
    expected += "/src/a_rather_long_directory_name/pkg.adb:" + std::to_string(line) + ":" + std::to_string(column) +
                ": (style) reserved word is not in the required letter case: BEGIN [style/bad-keyword]\n";
  }
  std::ostringstream out;
  const PathStyle as_found;
  GnuLinesWriter writer(as_found);
  writer.write(records, out);
  writer.end(out);
  EXPECT_EQ(out.str(), expected);
}

// Lines are held back from call to call until a block fills: split over
// many calls and across block ends, they must come out whole and in order,
// the last of them at the end.
TEST(GnuFindings, LinesHeldBackAcrossCallsComeOutWholeAtTheEnd) {
  const SharedPath file = SharedPath::without_tabs("/src/pkg.adb");
  const std::string reason(150, 'x');
  std::vector<FindingRecord> records;
  for (std::int32_t line = 1; line <= 2000; ++line) {
    records.push_back({StyleKind::BAD_KEYWORD, &file, line, 3, reason, {}, false});
  }
  const PathStyle as_found;
  std::ostringstream whole;
  GnuLinesWriter at_once(as_found);
  at_once.write(records, whole);
  at_once.end(whole);
  std::ostringstream pieces;
  GnuLinesWriter in_pieces(as_found);
  const std::span<const FindingRecord> all(records);
  for (std::size_t start = 0; start < all.size(); start += 7) {
    in_pieces.write(all.subspan(start, std::min<std::size_t>(7, all.size() - start)), pieces);
  }
  EXPECT_LT(pieces.str().size(), whole.str().size()) << "the last lines wait for the end";
  in_pieces.end(pieces);
  const std::string text = whole.str();
  EXPECT_EQ(pieces.str(), text);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2000);
}

TEST(GnuFindings, NothingFoundWritesNothing) {
  FindingsList findings;
  std::ostringstream out;
  const PathStyle as_found;
  GnuLinesWriter writer(as_found);
  writer.write(ordered_findings(findings), out);
  writer.end(out);
  EXPECT_EQ(out.str(), "");
}

TEST(RecordOrder, AResultsRecordsComeOutByPathLineColumnAndKindKeepingTheirOrderAmongEquals) {
  // Results as the analysis hands them on: one file, a pair, the same path
  // in two path objects, or more files than the quick way takes; nearly in
  // order, or shuffled so insertion gives up. The order must be a stable
  // sort by path, line, column and kind, the suppressed findings after
  // every kind of their place.
  const std::vector<SharedPath> paths = {"/t/p.ads", "/t/p.adb", "/t/p.ads", "/t/q.adb", "/t/a.adb", "/t/z.ads"};
  const std::string texts(300, 'x');
  std::mt19937 random(2026);
  for (int round = 0; round < 400; ++round) {
    const std::size_t file_count = 1 + round % paths.size();
    const std::size_t size = static_cast<std::size_t>(random() % 300);
    const bool shuffled = round % 3 == 0;
    std::vector<FindingRecord> records;
    for (std::size_t i = 0; i < size; ++i) {
      const SharedPath& file = paths[std::min<std::size_t>(i * file_count / std::max<std::size_t>(size, 1), file_count - 1)];
      const auto line = static_cast<std::int32_t>(shuffled ? random() % 40 : i / 3 + random() % 3);
      const auto column = static_cast<std::int32_t>(random() % 3);
      const FindingKind kind = FindingKind::from_index(static_cast<int>(random() % FindingKind::count));
      const bool suppressed = random() % 7 == 0;
      // Where the reason lies tells the records apart, for the order among equals.
      records.push_back({kind, &file, line, column, std::string_view(texts).substr(i, 1), {}, suppressed});
    }
    for (const bool include_suppressed : {false, true}) {
      std::vector<FindingRecord> expected;
      for (const FindingRecord& record : records) {
        if (include_suppressed || !record.suppressed) expected.push_back(record);
      }
      const auto key = [](const FindingRecord& r) {
        return std::tuple(r.file->str(), r.line, r.column, r.suppressed ? FindingKind::count : r.kind.index());
      };
      std::stable_sort(expected.begin(), expected.end(),
                       [&](const FindingRecord& a, const FindingRecord& b) { return key(a) < key(b); });
      std::vector<FindingRecord> room = records;  // what it holds is replaced
      ordered_records(records, include_suppressed, room);
      // The same order where the records lie, as a stream puts them.
      std::vector<FindingRecord> in_place = records;
      const std::span<const FindingRecord> put = put_in_output_order(in_place, include_suppressed, room);
      for (const std::vector<FindingRecord>& ordered :
           {room, std::vector<FindingRecord>(put.begin(), put.end())}) {
        ASSERT_EQ(ordered.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < expected.size(); ++i) {
          ASSERT_EQ(ordered[i].file->str(), expected[i].file->str()) << "round " << round << " at " << i;
          ASSERT_EQ(ordered[i].line, expected[i].line) << "round " << round << " at " << i;
          ASSERT_EQ(ordered[i].column, expected[i].column) << "round " << round << " at " << i;
          ASSERT_EQ(ordered[i].kind, expected[i].kind) << "round " << round << " at " << i;
          ASSERT_EQ(ordered[i].suppressed, expected[i].suppressed) << "round " << round << " at " << i;
          ASSERT_EQ(ordered[i].reason.data(), expected[i].reason.data()) << "round " << round << " at " << i;
        }
      }
    }
  }
}

TEST(GnuFindings, TabsMoveTheColumnToTheNextMultipleOfEight) {
  EXPECT_EQ(expand_tabs_column("\tX", 2), 9);
  EXPECT_EQ(expand_tabs_column("\t\tX :=\tP.all;", 13), 30);
  EXPECT_EQ(expand_tabs_column("abc\tX", 5), 9);
  EXPECT_EQ(expand_tabs_column("abcdefg\tX", 9), 9);
  EXPECT_EQ(expand_tabs_column("abcdefgh\tX", 10), 17);
  // Past the end of the line (the line was read in pieces), blanks count one.
  EXPECT_EQ(expand_tabs_column("\t", 4), 11);
  EXPECT_EQ(expand_tabs_column("", 1), 1);
}

TEST(GnuFindings, DisplayColumnsReadEachLineOfTheFileAsGetlineSplitsIt) {
  testing::TemporaryDirectory directory("columns");
  const std::string first = (directory / "first.adb").string();
  const std::string second = (directory / "second.adb").string();
  // A carriage return stays part of its line; the last line has no newline.
  std::ofstream(first, std::ios::binary) << "\tA;\r\n\n  \tB;\n\t\tC;";
  std::ofstream(second, std::ios::binary) << "x\n\tY\n";
  DisplayColumns columns;
  EXPECT_EQ(columns.display_column(first, 1, 2), 9);
  EXPECT_EQ(columns.display_column(first, 2, 3), 3);
  EXPECT_EQ(columns.display_column(first, 3, 4), 9);
  EXPECT_EQ(columns.display_column(first, 4, 3), 17);
  // Past the last line, and line 0, the column stays as given.
  EXPECT_EQ(columns.display_column(first, 5, 2), 2);
  EXPECT_EQ(columns.display_column(first, 0, 2), 2);
  EXPECT_EQ(columns.display_column(second, 2, 2), 9);
  EXPECT_EQ(columns.display_column(second, 3, 2), 2);
  EXPECT_EQ(columns.display_column(first, 4, 3), 17);
  EXPECT_EQ(columns.display_column((directory / "missing.adb").string(), 1, 4), 4);
}

// Editors count characters: a tab is one, a UTF-8 character of several
// bytes is one; a Latin-1 line (not UTF-8) keeps its byte columns, and a
// file without tabs is read for them too.
TEST(GnuFindings, CharacterColumnsCountUtf8CharactersOnce) {
  testing::TemporaryDirectory directory("columns");
  const std::string utf8 = (directory / "utf8.adb").string();
  const std::string latin1 = (directory / "latin1.adb").string();
  std::ofstream(utf8, std::ios::binary) << "X := \"\xC3\xA4\xC3\xB6\"; Y;\n\tZ;\n";
  std::ofstream(latin1, std::ios::binary) << "X := \"\xE4\xF6\"; Y;\n";
  DisplayColumns columns;
  EXPECT_EQ(columns.character_column(utf8, 1, 13), 11);  // Y, after two characters of two bytes
  EXPECT_EQ(columns.character_column(utf8, 2, 2), 2);    // a tab counts one
  EXPECT_EQ(columns.display_column(utf8, 2, 2), 9);      // and eight on screen
  EXPECT_EQ(columns.character_column(latin1, 1, 11), 11);
}

}  // namespace
}  // namespace flawseek
