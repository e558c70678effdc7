// Tests of the table-driven scanner: token rules as tables of input and
// expected tokens, positions across lines, list validation, line limits, and a
// randomized run over arbitrary bytes.
#include "frontend/text_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "frontend/ada_token_lists.h"
#include "frontend/ada_tokens.h"

namespace flawseek {
namespace {

// Serves numbered lines from memory, then the empty end-of-source line. Like
// the real readers it turns control characters into blanks.
class MemoryLines : public LineSource {
 public:
  explicit MemoryLines(std::vector<std::pair<int, std::string>> lines) : lines_(std::move(lines)) {}
  static MemoryLines numbered(const std::vector<std::string>& texts) {
    std::vector<std::pair<int, std::string>> lines;
    for (std::size_t i = 0; i < texts.size(); ++i) lines.emplace_back(static_cast<int>(i) + 1, texts[i]);
    return MemoryLines(std::move(lines));
  }
  void read_line(std::string& line, int& line_number) override {
    ++reads;
    if (next_ >= lines_.size()) {
      line.clear();
      return;
    }
    line = lines_[next_].second;
    if (!keep_controls) {
      for (char& c : line)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    line_number = lines_[next_].first;
    ++next_;
  }
  int reads = 0;
  bool keep_controls = false;

 private:
  std::vector<std::pair<int, std::string>> lines_;
  std::size_t next_ = 0;
};

// A token as "K5(Begin)", "S3(:=)", "I(a)", "N(1.0)", "T(12abc)".
std::string describe(const TextParser& scanner) {
  std::string s;
  switch (scanner.token_kind()) {
    case TokenKind::Identifier: s = "I"; break;
    case TokenKind::Number: s = "N"; break;
    case TokenKind::Keyword: s = "K" + std::to_string(scanner.keyword()); break;
    case TokenKind::Symbol: s = "S" + std::to_string(scanner.symbol()); break;
    case TokenKind::Text: s = "T"; break;
  }
  return s + "(" + std::string(scanner.token_text()) + ")";
}

// Every token of `lines`, space-separated.
std::string scan_all(TextParser& scanner, MemoryLines& source) {
  std::string line;
  scanner.set_reader(&source);
  scanner.set_text(&line, 1);
  std::string result;
  for (int guard = 0; guard < 10000 && scanner.next_token(); ++guard) {
    if (!result.empty()) result += ' ';
    result += describe(scanner);
  }
  return result;
}

std::string scan_ada(const std::vector<std::string>& lines) {
  MemoryLines source = MemoryLines::numbered(lines);
  TextParser scanner = make_ada_scanner(&source);
  return scan_all(scanner, source);
}

const std::string command_words = "$CNR$ENR$IOR$NSC$NP$REC$UD$UU$WG$STYLE$NONE$TAVIK$TAVIK_95$BRIGHTMOOR$";

std::string scan_command(const std::string& text) {
  TextParser scanner = make_command_scanner(command_words);
  std::string line = text;
  scanner.set_text(&line, 1);
  std::string result;
  for (int guard = 0; guard < 10000 && scanner.next_token(); ++guard) {
    if (!result.empty()) result += ' ';
    result += describe(scanner);
  }
  return result;
}

struct TokenCase {
  const char* source;
  const char* tokens;
};

TEST(TextParserTokens, AdaDelimitersAndLongestMatch) {
  const TokenCase cases[] = {
      {"a:=b", "I(a) S3(:=) I(b)"},
      {"a: =b", "I(a) S19(:) S5(=) I(b)"},
      {"<<Label>>", "S25(<<) I(Label) S26(>>)"},
      {"x <> y", "I(x) S24(<>) I(y)"},
      {"when others =>", "K28(when) K27(others) S4(=>)"},
      {"a**2", "I(a) S18(**) N(2)"},
      {"X'First", "I(X) S20(') I(First)"},
      {"x/=y>=z<=w", "I(x) S6(/=) I(y) S8(>=) I(z) S10(<=) I(w)"},
      {"X:=-1;", "I(X) S3(:=) S13(-) N(1) S0(;)"},
      {"a.b.all", "I(a) S1(.) I(b) S1(.) K16(all)"},
      {"f(a,b)|c&d", "I(f) S16(() I(a) S2(,) I(b) S17()) S21(|) I(c) S11(&) I(d)"},
      {"\"abc\"", "S22(\") I(abc) S22(\")"},
      {"a < b > c", "I(a) S9(<) I(b) S7(>) I(c)"},
      {"+*/", "S12(+) S14(*) S15(/)"},
      {"=>", "S4(=>)"},
  };
  for (const auto& c : cases) EXPECT_EQ(scan_ada({c.source}), c.tokens) << c.source;
}

TEST(TextParserTokens, AdaNumbers) {
  const TokenCase cases[] = {
      {"1..10", "N(1) S23(..) N(10)"},
      {"1 .. 10", "N(1) S23(..) N(10)"},
      {"1.0", "N(1.0)"},
      {"1. x", "T(1.) I(x)"},
      {"1.", "T(1.)"},
      {"1.e3", "T(1.) I(e3)"},
      {"16#FF#", "N(16#FF#)"},
      {"2#1010_1010#E+3", "N(2#1010_1010#E+3)"},
      {"1_000.5e-3", "N(1_000.5e-3)"},
      {"16#F.F#E-2;", "N(16#F.F#E-2) S0(;)"},
      {"16#FF", "T(16#FF)"},
      {"16#FZ#", "T(16#F) T(Z#)"},
      {"5#", "T(5#)"},
      {"12abc", "T(12abc)"},
      {"1_000_ 1E", "N(1_000_) N(1E)"},
      {"1E+3;", "N(1E+3) S0(;)"},
      {"A(1)", "I(A) S16(() N(1) S17())"},
      {"X'Size*8", "I(X) S20(') I(Size) S14(*) N(8)"},
      {"3..N", "N(3) S23(..) I(N)"},
      {"1.5..2", "N(1.5) S23(..) N(2)"},
      {"007", "N(007)"},
      {"16#FF#)", "N(16#FF#) S17())"},
      {"16#FF#.", "N(16#FF#) S1(.)"},
      {"16#FF#e1", "N(16#FF#e1)"},
      {"16#FF#X", "T(16#FF#X)"},
  };
  for (const auto& c : cases) EXPECT_EQ(scan_ada({c.source}), c.tokens) << c.source;
}

// Digit runs longer than a block are searched sixteen bytes at a time: runs
// across block boundaries, a literal ending exactly at the end of a 32-byte
// line, a long run cut by a wrong digit, and a list in which the underscore
// is a symbol, where the run must stop at it as a short one does.
TEST(TextParserTokens, LongNumbersAcrossBlocks) {
  const TokenCase cases[] = {
      {"X := 16#0123_4567_89AB_CDEF#;", "I(X) S3(:=) N(16#0123_4567_89AB_CDEF#) S0(;)"},
      {"Y := 1234567890_1234567890_12345", "I(Y) S3(:=) N(1234567890_1234567890_12345)"},
      {"2#1010_1010_1010_1010.0101_0101_0101#E+12", "N(2#1010_1010_1010_1010.0101_0101_0101#E+12)"},
      {"16#0123_4567_89AB_CDEFZ#", "T(16#0123_4567_89AB_CDEF) T(Z#)"},
      {"3.1415926535_8979323846_2643383279", "N(3.1415926535_8979323846_2643383279)"},
  };
  for (const auto& c : cases) EXPECT_EQ(scan_ada({c.source}), c.tokens) << c.source;

  MemoryLines source = MemoryLines::numbered({"1234567890_1234567890 16#ABCDEF_ABCDEF#"});
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(standard_keyword_options, "$A$");
  scanner.set_symbols("$_$#$");
  EXPECT_EQ(scan_all(scanner, source), "N(1234567890) S0(_) N(1234567890) T(16#ABCDEF) S0(_) I(ABCDEF) S1(#)");
}

TEST(TextParserTokens, WordsKeywordsAndText) {
  const TokenCase cases[] = {
      {"BEGIN Begin begin beginning", "K5(BEGIN) K5(Begin) K5(begin) I(beginning)"},
      {"end separate", "K0(end) K68(separate)"},
      {"abc$def", "T(abc$def)"},
      {"_x", "I(_x)"},
      {"x#y", "T(x#y)"},
      {"$", "T($)"},
      {"@x;", "T(@x) S0(;)"},
      {"Gr\xF6\xDF" "e", "I(Gr\xF6\xDF" "e)"},
      {"\xC9t\xE9 := 1;", "I(\xC9t\xE9) S3(:=) N(1) S0(;)"},
      // A run glued to a separator is not the entry it contains.
      {"end$if", "T(end$if)"},
      {"if$", "T(if$)"},
      {"Natural'Image(X)", "I(Natural) S20(') I(Image) S16(() I(X) S17())"},
  };
  for (const auto& c : cases) EXPECT_EQ(scan_ada({c.source}), c.tokens) << c.source;
}

// Where sixteen bytes fit before the line's end, a word's run of ASCII word
// characters is found in one block: a byte of 128 or more inside the block,
// a run that fills it or a block that starts with no word character must
// still read as the class table says.
TEST(TextParserTokens, WordsEndedWithinABlock) {
  // The rest of each line, long enough for a block from the word's start.
  const std::string pad = " := 1234567890;";
  const std::string rest = " S3(:=) N(1234567890) S0(;)";
  const struct {
    std::string source;
    std::string tokens;
  } cases[] = {
      {"Gr\xF6\xDF" "e_Stra\xDF" "e" + pad, "I(Gr\xF6\xDF" "e_Stra\xDF" "e)" + rest},
      {"abc\xD7" "def" + pad, "T(abc\xD7" "def)" + rest},
      {"Sixteen_Chars_Ab" + pad, "I(Sixteen_Chars_Ab)" + rest},
      {"Sixteen_Chars_Ab\xE9" + pad, "I(Sixteen_Chars_Ab\xE9)" + rest},
      {"\xC9t\xE9" + pad, "I(\xC9t\xE9)" + rest},
      {"begin$x" + pad, "T(begin$x)" + rest},
      {"BEGIN" + pad, "K5(BEGIN)" + rest},
  };
  for (const auto& c : cases) EXPECT_EQ(scan_ada({c.source}), c.tokens) << c.source;
  // The command scanner's letters are the basic ones: 'ö' glues Text on, 'ß' does not.
  EXPECT_EQ(scan_command("Gr\xF6\xDF" "e_Stra\xDF" "e_and_more NP"), "T(Gr\xF6\xDF" "e_Stra\xDF" "e_and_more) K4(NP)");
  EXPECT_EQ(scan_command("Stra\xDF" "e_and_more_words NP"), "I(Stra\xDF" "e_and_more_words) K4(NP)");
}

TEST(TextParserTokens, SevenBitCommandScanner) {
  const TokenCase cases[] = {
      {"NP: checked above", "K4(NP) S1(:) I(checked) I(above)"},
      {"np,ud: reason", "K4(np) S0(,) K6(ud) S1(:) I(reason)"},
      {"STYLE : TAVIK_95", "K9(STYLE) S1(:) K12(TAVIK_95)"},
      {"brightmoor", "K13(brightmoor)"},
      {"NP checked", "K4(NP) I(checked)"},
      // Command text comes straight from the source line: a tab is a blank.
      {"NP,\tUD:\x01x", "K4(NP) S0(,) K6(UD) S1(:) I(x)"},
      {"", ""},
      {"   ", ""},
      // Only basic letters are letters here: 'ö' makes the run Text, 'ß' and 'Æ' do not.
      {"Gr\xF6\xDF" "e", "T(Gr\xF6\xDF" "e)"},
      {"\xC6" "ble \xDF", "I(\xC6" "ble) I(\xDF)"},
      {"NP;UD", "T(NP;UD)"},
      {"x:=1", "I(x) S1(:) T(=1)"},
  };
  for (const auto& c : cases) EXPECT_EQ(scan_command(c.source), c.tokens) << c.source;
}

TEST(TextParserTokens, EmptyListsMakeEverythingWordsOrText) {
  MemoryLines source = MemoryLines::numbered({"begin a:=b; 12"});
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(standard_keyword_options, "");
  scanner.set_symbols("");
  EXPECT_EQ(scan_all(scanner, source), "I(begin) T(a:=b;) N(12)");
}

TEST(TextParserTokens, CustomListsLongestMatchAndShortPath) {
  MemoryLines source = MemoryLines::numbered({"<<=x <<< < <- -y -> $"});
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(standard_keyword_options, "$A$B$A$");
  scanner.set_symbols("$<$<<$<<=$-$->$");
  EXPECT_EQ(scan_all(scanner, source), "S2(<<=) I(x) S1(<<) S0(<) S0(<) S0(<) S3(-) S3(-) I(y) S4(->) T($)");

  // A repeated keyword keeps the position of its first occurrence.
  MemoryLines words = MemoryLines::numbered({"a b c"});
  EXPECT_EQ(scan_all(scanner, words), "K0(a) K1(b) I(c)");
}

TEST(TextParserTokens, CaseSensitiveKeywords) {
  MemoryLines source = MemoryLines::numbered({"Abc ABC abc"});
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(KeywordOptions{true, true, true}, "$Abc$");
  EXPECT_EQ(scanner.keyword_list(), "$Abc$");
  EXPECT_EQ(scan_all(scanner, source), "K0(Abc) I(ABC) I(abc)");
}

// A reserved word's middle is compared in one word where the line has room
// around it and byte by byte where it has not: every place on a line must
// give the same answer, for every word, in any letter case, and for words
// one letter off (another letter, or its Latin-1 twin with the high bit set).
TEST(TextParserTokens, ReservedWordsWhereverTheyStandOnTheLine) {
  const std::string places[] = {"@", "@;", "  @", "X := Y + Z; @", "@ X Y Z Q R S T", "A;@", "ABCDEFG;@ ", "(@)"};
  const auto is_reserved = [](const std::string& word) {
    for (std::string_view image : ada_keyword_images) {
      if (image.size() == word.size() &&
          std::equal(image.begin(), image.end(), word.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
          }))
        return true;
    }
    return false;
  };
  const auto scanned = [&](const std::string& word, const std::string& place) {
    const std::size_t at = place.find('@');
    return scan_ada({place.substr(0, at) + word + place.substr(at + 1)});
  };
  for (int k = 0; k < ada_keyword_count; ++k) {
    const std::string word(ada_keyword_images[static_cast<std::size_t>(k)]);
    std::string upper = word, mixed = word;
    for (std::size_t j = 0; j < word.size(); ++j) {
      upper[j] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[j])));
      if (j % 2 == 1) mixed[j] = upper[j];
    }
    for (const std::string& place : places) {
      for (const std::string& w : {word, upper, mixed}) {
        const std::string expected = "K" + std::to_string(k) + "(" + w + ")";
        EXPECT_NE(scanned(w, place).find(expected), std::string::npos) << w << " in " << place;
      }
      for (std::size_t j = 1; j + 1 < word.size(); ++j) {
        const char next_letter = word[j] == 'z' ? 'a' : static_cast<char>(word[j] + 1);
        for (const char changed : {next_letter, static_cast<char>(word[j] | 0x80)}) {
          std::string miss = mixed;
          miss[j] = changed;
          if (is_reserved(miss)) continue;
          EXPECT_NE(scanned(miss, place).find("I(" + miss + ")"), std::string::npos) << miss << " in " << place;
        }
      }
    }
  }
  // Compared exactly when letter case counts, whatever the bytes.
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(KeywordOptions{true, true, true}, "$Ab_9xYz$Q\xE9q$");
  MemoryLines source = MemoryLines::numbered({"Ab_9xYz Ab_9xyz AB_9xYz Q\xE9q Q\xC9q", "x Ab_9xYz"});
  EXPECT_EQ(scan_all(scanner, source), "K0(Ab_9xYz) I(Ab_9xyz) I(AB_9xYz) K1(Q\xE9q) I(Q\xC9q) I(x) K0(Ab_9xYz)");
}

// Entries of the same length, first and last letter share a place in the
// table: a word that is not the entry met first may still be the next one.
TEST(TextParserTokens, KeywordsAlikeButForTheirMiddle) {
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(standard_keyword_options, "$ABCDE$AXYZE$AQRSE$");
  MemoryLines source = MemoryLines::numbered({"aqrse AXYZE abcde ABBBE axyze", "AQRSE"});
  EXPECT_EQ(scan_all(scanner, source), "K2(aqrse) K1(AXYZE) K0(abcde) I(ABBBE) K1(axyze) K2(AQRSE)");
}

TEST(TextParserTokens, KeywordsFoldLatin1Letters) {
  MemoryLines source = MemoryLines::numbered({"\xE9t\xE9 \xC9T\xC9"});
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  scanner.set_keywords(standard_keyword_options, "$\xE9t\xE9$");
  EXPECT_EQ(scanner.keyword_list(), "$\xC9T\xC9$");
  EXPECT_EQ(scan_all(scanner, source), "K0(\xE9t\xE9) K0(\xC9T\xC9)");
}

// ---------------------------------------------------------------------------
// Positions

// Every remaining token as "text@line:column", space-separated.
std::string positions(TextParser& scanner) {
  std::string result;
  while (scanner.next_token()) {
    if (!result.empty()) result += ' ';
    result += std::string(scanner.token_text()) + "@" + std::to_string(scanner.token_line()) + ":" +
              std::to_string(scanner.token_column());
  }
  return result;
}

TEST(TextParserPositions, TokensAcrossLinesAndSkippedLines) {
  // Line numbers 2 and 4-6 are blank or comment-only lines the reader skipped.
  MemoryLines source({{1, "procedure P is"}, {3, "begin"}, {7, "   null;  "}, {8, "end P;"}});
  TextParser scanner = make_ada_scanner(&source);
  std::string line;
  scanner.set_text(&line, 1);
  EXPECT_EQ(positions(scanner), "procedure@1:1 P@1:11 is@1:13 begin@3:1 null@7:4 ;@7:8 end@8:1 P@8:5 ;@8:6");
  // End of text: Text, empty, just after the last token, and it stays there.
  EXPECT_EQ(scanner.token_kind(), TokenKind::Text);
  EXPECT_EQ(scanner.token_text(), "");
  EXPECT_EQ(scanner.token_line(), 8);
  EXPECT_EQ(scanner.token_column(), 7);
  const int reads = source.reads;
  EXPECT_FALSE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 7);
  EXPECT_EQ(source.reads, reads);
}

TEST(TextParserPositions, LineIsFetchedOnlyWhenNeeded) {
  MemoryLines source = MemoryLines::numbered({"X := Y", "Z"});
  TextParser scanner = make_ada_scanner(&source);
  std::string line;
  scanner.set_text(&line, 1);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(scanner.next_token());
  // The token that ends the line is complete before the next line is read.
  EXPECT_EQ(scanner.token_text(), "Y");
  EXPECT_EQ(scanner.line_number(), 1);
  EXPECT_EQ(source.reads, 1);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.token_text(), "Z");
  EXPECT_EQ(scanner.token_line(), 2);
  EXPECT_EQ(scanner.token_column(), 1);
}

TEST(TextParserPositions, TabCountsAsOneColumn) {
  MemoryLines source = MemoryLines::numbered({"\tX\t:=\t1;"});
  TextParser scanner = make_ada_scanner(&source);
  std::string line;
  scanner.set_text(&line, 1);
  EXPECT_EQ(positions(scanner), "X@1:2 :=@1:4 1@1:7 ;@1:8");
}

TEST(TextParserPositions, EmptySourceEndsAtColumnOne) {
  MemoryLines source({});
  TextParser scanner = make_ada_scanner(&source);
  std::string line;
  scanner.set_text(&line, 1);
  EXPECT_FALSE(scanner.next_token());
  EXPECT_EQ(scanner.token_kind(), TokenKind::Text);
  EXPECT_EQ(scanner.token_column(), 1);
  EXPECT_EQ(scanner.token_text(), "");
}

TEST(TextParserPositions, RestartWithinALine) {
  MemoryLines source({});
  TextParser scanner = make_ada_scanner(&source);
  std::string line = "S := \"abc\"; X";
  scanner.set_text(&line, 1);
  ASSERT_TRUE(scanner.next_token());
  ASSERT_TRUE(scanner.next_token());
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.token_text(), "\"");
  // The caller recognised the literal and resumes after its closing quote.
  scanner.set_text(&line, 11);
  EXPECT_EQ(scanner.token_kind(), TokenKind::Text);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(describe(scanner), "S0(;)");
  EXPECT_EQ(scanner.token_column(), 11);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 13);
  EXPECT_FALSE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 14);
}

TEST(TextParserPositions, RestartAtTheEndOfTheLastLine) {
  MemoryLines source({});
  TextParser scanner = make_ada_scanner(&source);
  std::string line = "S := \"abc\"";
  scanner.set_text(&line, 11);
  // Nothing was scanned since the restart: the end is at the restart column.
  EXPECT_FALSE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 11);
  // Beyond the end of the line is the end of the text, not a failure.
  line = "S := \"abc\"";
  scanner.set_text(&line, 40);
  EXPECT_FALSE(scanner.next_token());
  scanner.set_text(&line, 0);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 1);
}

TEST(TextParserPositions, NoTextOrNoReaderIsTheEnd) {
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  EXPECT_FALSE(scanner.next_token());
  EXPECT_EQ(scanner.line(), "");
  EXPECT_EQ(scanner.token_text(), "");

  std::string line = "  word  ";
  scanner.set_text(&line, 1);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 3);
  EXPECT_FALSE(scanner.next_token());
  EXPECT_EQ(scanner.token_column(), 7);
  EXPECT_EQ(scanner.line(), "  word  ");
}

// ---------------------------------------------------------------------------
// Line length

TEST(TextParserLimits, LongLineThrowsWithTheLineStored) {
  const std::string ok(400, 'x');
  const std::string too_long = "A := 1;" + std::string(394, ' ');
  ASSERT_EQ(too_long.size(), 401u);
  MemoryLines source({{1, ok}, {5, too_long + "Z"}});
  TextParser scanner = make_ada_scanner(&source);
  std::string line;
  scanner.set_text(&line, 1);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.token_text().size(), 400u);
  try {
    scanner.next_token();
    FAIL() << "no LineTooLong";
  } catch (const LineTooLong& e) {
    EXPECT_STREQ(e.what(), "Text_Parser.Line_Too_Long");
  }
  EXPECT_EQ(scanner.line(), too_long + "Z");
  EXPECT_EQ(scanner.line_number(), 5);
  // The scanner stays usable: its views never leave the stored line.
  EXPECT_LE(scanner.token_text().size(), scanner.line().size());
  scanner.set_text(&line, 1);
  EXPECT_TRUE(scanner.next_token());
}

TEST(TextParserLimits, CommandScannerLimitAppliesToReadLinesOnly) {
  const std::string long_text = "NP," + std::string(300, ' ') + "UD:";
  EXPECT_EQ(scan_command(long_text), "K4(NP) S0(,) K6(UD) S1(:)");

  MemoryLines source = MemoryLines::numbered({std::string(256, 'a')});
  TextParser scanner = make_command_scanner(command_words);
  scanner.set_reader(&source);
  std::string line;
  scanner.set_text(&line, 1);
  EXPECT_THROW(scanner.next_token(), LineTooLong);
}

// ---------------------------------------------------------------------------
// Lists

// "" when the list is accepted, else the name of the error it raised.
template <typename Set>
std::string list_error(Set set) {
  try {
    set();
    return "";
  } catch (const TextParserError& e) {
    return e.what();
  }
}

TEST(TextParserLists, KeywordListValidation) {
  const char* bad = "Text_Parser.Incorrect_Keyword_List";
  const struct {
    const char* list;
    const char* error;
  } cases[] = {
      {"", ""},          {"$END$IF$", ""}, {"$A$", ""},       {"$X1$", ""},          {"/END/IF/", ""},
      {"$", bad},        {"$$", bad},      {"$$$", bad},      {"$END$$IF$", bad},    {"$1X$", bad},
      {"$END$9$", bad},  {"$A B$", bad},   {" A ", bad},      {"$END$IF$$", bad},
  };
  for (const auto& c : cases) {
    TextParser scanner(400, 0, CharacterClasses::Latin1);
    EXPECT_EQ(list_error([&] { scanner.set_keywords(standard_keyword_options, c.list); }), c.error) << c.list;
  }
}

TEST(TextParserLists, SymbolListValidationFollowsTheClasses) {
  const char* bad = "Text_Parser.Incorrect_Symbol_List";
  const auto latin1 = CharacterClasses::Latin1;
  const auto basic = CharacterClasses::Basic;
  const struct {
    const char* list;
    CharacterClasses classes;
    const char* error;
  } cases[] = {
      {"", latin1, ""},        {"$;$:=$", latin1, ""},   {"$a$", latin1, bad},  {"$1$", basic, bad},
      {"$; $", latin1, bad},   {"$;$$", latin1, bad},    {"$;", latin1, bad},   {"a;a", latin1, bad},
      // Æ is a letter in both classes, é only in Latin-1.
      {"$\xC6$", basic, bad}, {"$\xE9$", basic, ""},    {"$\xE9$", latin1, bad},
  };
  for (const auto& c : cases) {
    TextParser scanner(400, 0, c.classes);
    EXPECT_EQ(list_error([&] { scanner.set_symbols(c.list); }), c.error) << c.list;
  }
}

TEST(TextParserLists, MalformedListIsStoredAsGiven) {
  TextParser scanner(400, 0, CharacterClasses::Latin1);
  EXPECT_THROW(scanner.set_keywords(standard_keyword_options, "$end$$if$"), IncorrectKeywordList);
  EXPECT_EQ(scanner.keyword_list(), "$end$$if$");
  EXPECT_THROW(scanner.set_symbols("$;$$"), IncorrectSymbolList);
  EXPECT_EQ(scanner.symbol_list(), "$;$$");

  scanner.set_keywords(standard_keyword_options, "$end$if$");
  EXPECT_EQ(scanner.keyword_list(), "$END$IF$");
}

TEST(TextParserLists, AccessorsOfTheWrongKindThrow) {
  MemoryLines source = MemoryLines::numbered({"if x ;"});
  TextParser scanner = make_ada_scanner(&source);
  std::string line;
  scanner.set_text(&line, 1);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.keyword(), static_cast<int>(AdaKeyword::KEYWORD_IF));
  EXPECT_EQ(scanner.symbol_or_none(), -1);
  EXPECT_THROW(scanner.symbol(), WrongToken);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_THROW(scanner.keyword(), WrongToken);
  EXPECT_THROW(scanner.symbol(), WrongToken);
  EXPECT_EQ(scanner.keyword_or_none(), -1);
  ASSERT_TRUE(scanner.next_token());
  EXPECT_EQ(scanner.symbol(), static_cast<int>(AdaSymbol::SEMICOLON));
  EXPECT_THROW(scanner.keyword(), WrongToken);
  EXPECT_FALSE(scanner.next_token());
  EXPECT_THROW(scanner.symbol(), WrongToken);
}

TEST(TextParserLists, KeywordListsFromWords) {
  const std::string_view words[] = {"CNR", "TAVIK_95"};
  EXPECT_EQ(make_keyword_list(words, 2), "$CNR$TAVIK_95$");
  EXPECT_EQ(make_keyword_list(words, 0), "");
  EXPECT_NO_THROW(make_command_scanner(make_keyword_list(words, 0)));
}

TEST(TextParserLists, AdaListsGiveTheTablePositions) {
  EXPECT_EQ(ada_keyword_list().substr(0, 12), "$end$if$then");
  EXPECT_EQ(ada_symbol_list().substr(0, 9), "$;$.$,$:=");
  // One word per line (all of them would exceed the line limit), symbols on one.
  std::vector<std::string> lines(ada_keyword_images.begin(), ada_keyword_images.end());
  std::string all_symbols;
  for (auto s : ada_symbol_images) all_symbols += std::string(s) + " ";
  lines.push_back(all_symbols);
  MemoryLines source = MemoryLines::numbered(lines);
  TextParser scanner = make_ada_scanner(&source);
  scanner.set_symbols(ada_symbol_list(AdaVersion::ADA_2022));  // every delimiter
  std::string line;
  scanner.set_text(&line, 1);
  for (int k = 0; k < ada_keyword_count; ++k) {
    ASSERT_TRUE(scanner.next_token());
    EXPECT_EQ(scanner.keyword_or_none(), k) << ada_keyword_images[k];
  }
  for (int s = 0; s < ada_symbol_count; ++s) {
    ASSERT_TRUE(scanner.next_token());
    EXPECT_EQ(scanner.symbol_or_none(), s) << ada_symbol_images[s];
  }
  EXPECT_FALSE(scanner.next_token());
}

// ---------------------------------------------------------------------------
// Arbitrary input

// Scans random lines and checks what must hold for any input: the scan ends,
// every token is its line's text at its column, tokens hold no blanks, and
// every non-blank character belongs to exactly one token, in order.
// Control characters reach the scanner only when `keep_controls` (the readers
// blank them); either way they must read as blanks.
void check_random_lines(CharacterClasses classes, const std::string& alphabet, unsigned seed,
                        bool keep_controls = false) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::mt19937 random(seed);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::pair<int, std::string>> lines;
    std::map<int, std::string> by_number;
    int number = 0;
    const int line_count = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < line_count; ++i) {
      number += 1 + static_cast<int>(random() % 3);
      std::string text(1 + random() % 90, ' ');
      for (char& c : text) {
        unsigned char b = alphabet.empty() ? static_cast<unsigned char>(random() % 256)
                                           : static_cast<unsigned char>(alphabet[random() % alphabet.size()]);
        c = static_cast<char>(b < 32 && !keep_controls ? ' ' : b);
      }
      while (!text.empty() && text.back() == ' ') text.pop_back();
      if (text.empty()) continue;
      lines.emplace_back(number, text);
      by_number[number] = text;
    }
    MemoryLines source(lines);
    source.keep_controls = keep_controls;
    TextParser scanner = classes == CharacterClasses::Latin1
                             ? make_ada_scanner(&source)
                             : make_command_scanner(command_words, "$,$:$+$-$:=$");
    scanner.set_reader(&source);
    std::string line;
    scanner.set_text(&line, 1);
    std::map<int, std::string> covered;
    for (const auto& [n, text] : by_number) covered[n] = std::string(text.size(), ' ');
    int tokens = 0;
    int limit = 1;
    for (const auto& [n, text] : by_number) limit += static_cast<int>(text.size());
    while (true) {
      bool more = false;
      try {
        more = scanner.next_token();
      } catch (const TextParserError&) {
        ADD_FAILURE() << "exception on seed " << seed << " round " << round;
        return;
      }
      if (!more) break;
      ASSERT_LE(++tokens, limit) << "runaway scan, seed " << seed << " round " << round;
      const std::string_view token = scanner.token_text();
      ASSERT_FALSE(token.empty());
      ASSERT_TRUE(by_number.count(scanner.token_line()));
      const std::string& text = by_number[scanner.token_line()];
      const std::size_t at = static_cast<std::size_t>(scanner.token_column() - 1);
      ASSERT_LE(at + token.size(), text.size());
      ASSERT_EQ(token, std::string_view(text).substr(at, token.size()));
      ASSERT_TRUE(std::none_of(token.begin(), token.end(), blank));
      std::string& marks = covered[scanner.token_line()];
      for (std::size_t k = at; k < at + token.size(); ++k) {
        ASSERT_EQ(marks[k], ' ') << "overlapping tokens";
        marks[k] = 'x';
      }
      if (scanner.token_kind() == TokenKind::Number) {
        ASSERT_TRUE(token[0] >= '0' && token[0] <= '9');
      }
      if (scanner.token_kind() == TokenKind::Keyword) {
        ASSERT_GE(scanner.keyword(), 0);
      }
    }
    for (const auto& [n, text] : by_number)
      for (std::size_t k = 0; k < text.size(); ++k)
        ASSERT_EQ(blank(text[k]), covered[n][k] == ' ') << "line " << n << " column " << k + 1;
  }
}

TEST(TextParserRandom, ArbitraryBytesNeverBreakTheScan) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    check_random_lines(CharacterClasses::Latin1, "", seed);
    check_random_lines(CharacterClasses::Basic, "", seed);
    check_random_lines(CharacterClasses::Latin1, "", seed, true);
  }
}

TEST(TextParserRandom, AdaLikeCharactersNeverBreakTheScan) {
  const std::string alphabet = "0123456789_#.eEfF+-abz \"'():;=<>*/&|,$\xE9\xC6";
  for (unsigned seed = 11; seed <= 15; ++seed) {
    check_random_lines(CharacterClasses::Latin1, alphabet, seed);
    check_random_lines(CharacterClasses::Basic, alphabet, seed);
  }
}

}  // namespace
}  // namespace flawseek
