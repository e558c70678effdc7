// Tests of the parser instance's lexical layer: previous token and line,
// restart, character and string literals, end of source.
#include "frontend/ada_lexer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frontend/ada_line_reader.h"

namespace flawseek {
namespace {

class LexerTest : public ::testing::Test {
 protected:
  void start(std::string_view source) {
    reader_.set_text(source);
    lexer_.set_source(&reader_);
    lexer_.start();
  }
  std::string text() const { return std::string(lexer_.text()); }

  AdaLineReader reader_;
  AdaLexer lexer_;
};

TEST_F(LexerTest, AdvanceKeepsThePreviousTokenWithItsPosition) {
  start("X := 1;\n\n  Y");
  EXPECT_EQ(text(), "X");
  EXPECT_EQ(lexer_.previous_token().line, 0);
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::ASSIGN));
  EXPECT_EQ(lexer_.previous_token().text, "X");
  EXPECT_EQ(lexer_.previous_token().column, 1);
  lexer_.advance();
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::SEMICOLON));
  lexer_.advance();
  EXPECT_EQ(text(), "Y");
  EXPECT_EQ(lexer_.line(), 3);
  EXPECT_EQ(lexer_.column(), 3);
  EXPECT_EQ(lexer_.previous_token().text, ";");
  EXPECT_EQ(lexer_.previous_token().line, 1);
  // The previous token's line was read before the current one.
  EXPECT_EQ(lexer_.previous_token_line_text(), "X := 1;");
  lexer_.advance();
  EXPECT_EQ(lexer_.previous_token_line_text(), "  Y");
}

TEST_F(LexerTest, ReplacementCharactersScanAsStandardDelimitersAndQuoteAsWritten) {
  start("when A ! B => 16:FF:\nX");
  lexer_.advance();
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::BAR));
  EXPECT_EQ(lexer_.column(), 8);
  lexer_.advance();
  lexer_.advance();
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_number());
  EXPECT_EQ(text(), "16#FF#");
  EXPECT_EQ(lexer_.column(), 15);
  EXPECT_EQ(lexer_.previous_token_line_text(), "when A ! B => 16:FF:");
  lexer_.advance();
  EXPECT_EQ(text(), "X");
  EXPECT_EQ(lexer_.previous_token_line_text(), "when A ! B => 16:FF:");
}

TEST_F(LexerTest, EndOfSourceIsAnEmptyTextTokenAndStaysSo) {
  start("A -- comment\n-- more\n\n");
  EXPECT_FALSE(lexer_.end_of_source());
  lexer_.advance();
  EXPECT_TRUE(lexer_.end_of_source());
  EXPECT_EQ(lexer_.kind(), TokenKind::Text);
  EXPECT_EQ(text(), "");
  EXPECT_EQ(lexer_.previous_token().text, "A");
  lexer_.advance();
  EXPECT_TRUE(lexer_.end_of_source());

  start("-- nothing but comments\n   \n");
  EXPECT_TRUE(lexer_.end_of_source());
  start("");
  EXPECT_TRUE(lexer_.end_of_source());
}

TEST_F(LexerTest, KeywordsIgnoreCaseAndKeepTheirSpelling) {
  start("Begin BEGIN beginning");
  EXPECT_TRUE(lexer_.is_keyword(AdaKeyword::KEYWORD_BEGIN));
  EXPECT_EQ(text(), "Begin");
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_keyword(AdaKeyword::KEYWORD_BEGIN));
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_identifier());
}

TEST_F(LexerTest, CharacterLiteralsAreReadFromTheRawLine) {
  start("C := 'a'; Q := '''; T'('b'); X'First; '\"'");
  lexer_.advance();
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_character_literal());
  lexer_.accept_character_literal();
  EXPECT_EQ(lexer_.previous_token().text, "'a'");
  EXPECT_EQ(lexer_.previous_token().column, 6);
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::SEMICOLON));
  lexer_.advance();  // Q
  lexer_.advance();  // :=
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_character_literal());
  lexer_.accept_character_literal();
  EXPECT_EQ(lexer_.previous_token().text, "'''");
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::SEMICOLON));
  lexer_.advance();  // T
  lexer_.advance();  // ' : a tick, not a literal, in T'('b')
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::APOSTROPHE));
  lexer_.advance();  // (
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::LEFT_PAREN));
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_character_literal());
  lexer_.accept_character_literal();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::RIGHT_PAREN));
  lexer_.advance();
  lexer_.advance();  // X
  lexer_.advance();  // '
  EXPECT_FALSE(lexer_.is_character_literal());  // X'First: L(T+2) is 'i'
  lexer_.advance();
  EXPECT_EQ(text(), "First");
  lexer_.advance();
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_character_literal());
  lexer_.accept_character_literal();
  EXPECT_EQ(lexer_.previous_token().text, "'\"'");
  EXPECT_TRUE(lexer_.end_of_source());
}

TEST_F(LexerTest, StringLiteralsReduceDoubledQuotesAndNeverSpanLines) {
  start("S := \"say \"\"hi\"\"\" & \"\";\nT := \"open\n");
  lexer_.advance();
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_string_literal());
  EXPECT_EQ(lexer_.string_literal(), "say \"hi\"");
  lexer_.accept_string_literal();
  EXPECT_EQ(lexer_.previous_token().text, "\"say \"\"hi\"\"\"");
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::AMPERSAND));
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_string_literal());
  EXPECT_EQ(lexer_.string_literal(), "");
  lexer_.accept_string_literal();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::SEMICOLON));
  lexer_.advance();
  lexer_.advance();
  lexer_.advance();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::QUOTE));
  EXPECT_FALSE(lexer_.is_string_literal());  // no closing quote on the line
}

TEST_F(LexerTest, LiteralAtTheEndOfALineResumesOnTheNextLine) {
  start("C := 'x'\n;\nS := \"s\"\n;");
  lexer_.advance();
  lexer_.advance();
  lexer_.accept_character_literal();
  EXPECT_TRUE(lexer_.is_symbol(AdaSymbol::SEMICOLON));
  EXPECT_EQ(lexer_.line(), 2);
  lexer_.advance();
  lexer_.advance();
  lexer_.advance();
  ASSERT_TRUE(lexer_.is_string_literal());
  lexer_.accept_string_literal();
  EXPECT_EQ(lexer_.line(), 4);
}

TEST_F(LexerTest, RestartRescansTheCurrentLine) {
  start("A B C");
  lexer_.advance();
  lexer_.restart_at(1);
  EXPECT_EQ(text(), "A");
  EXPECT_EQ(lexer_.previous_token().text, "A");  // the dropped token does not become previous
  lexer_.restart_at(5);
  EXPECT_EQ(text(), "C");
}

TEST_F(LexerTest, RestOfLineLooksPastTheCurrentToken) {
  start("F (X   => 1)\nY");
  lexer_.advance();
  lexer_.advance();
  EXPECT_EQ(lexer_.rest_of_line(), "=> 1)");
  lexer_.advance();
  lexer_.advance();
  lexer_.advance();
  lexer_.advance();
  EXPECT_EQ(lexer_.rest_of_line(), "");
}

TEST_F(LexerTest, LineTooLongPropagates) {
  EXPECT_THROW(start(std::string(401, 'a')), LineTooLong);
  EXPECT_NO_THROW(start(std::string(400, 'a')));
  // A comment-only line reads as blanks up to where its comment began and
  // one more: too many for the scanner, it is rejected like any other line.
  EXPECT_THROW(start(std::string(400, ' ') + "-- c\nX"), LineTooLong);
  EXPECT_NO_THROW(start(std::string(399, ' ') + "-- c\nX"));
}

TEST_F(LexerTest, ACommentOnlyLineIsTheLineReadBeforeTheNext) {
  start("X;\n   -- note\nY");
  lexer_.advance();
  lexer_.advance();
  EXPECT_EQ(text(), "Y");
  EXPECT_EQ(lexer_.line(), 3);
  EXPECT_EQ(lexer_.previous_token().line, 1);
  // Findings at ";" quote the line read before Y's: the comment line as the
  // scanner reads it.
  EXPECT_EQ(lexer_.previous_line(), "    ");
  EXPECT_EQ(lexer_.previous_token_line_text(), "    ");
}

// The reader's lines without what it tells of their indentation: the scanner
// then finds each line's first token by itself.
class IndentationUntold : public LineSource {
 public:
  explicit IndentationUntold(AdaLineReader& reader) : reader_(reader) {}
  void read_line(std::string& line, int& line_number) override { reader_.read_line(line, line_number); }
  std::string_view read_line_view(std::string& buffer, int& line_number) override {
    return reader_.read_line_view(buffer, line_number);
  }

 private:
  AdaLineReader& reader_;
};

std::vector<std::string> tokens_of(LineSource& source) {
  AdaLexer lexer;
  lexer.set_source(&source);
  lexer.start();
  std::vector<std::string> tokens;
  for (; !lexer.end_of_source(); lexer.advance()) {
    tokens.push_back(std::to_string(lexer.line()) + ":" + std::to_string(lexer.column()) + " " +
                     std::string(lexer.text()));
  }
  return tokens;
}

// What the reader saw of a line's indentation only spares the scanner its
// search: the first tokens are the same, whatever blanks the indentation
// holds (spaces, then tabs or control characters, which make the line a
// copy), however deep it is and however close to the source's end.
TEST(LexerIndentation, FirstTokensAreWhereTheScannerFindsThem) {
  std::mt19937 random(20261210);
  const std::string pieces[] = {" ", " ", " ", "\t", "\x01", "X", "Ab1", ":=", ";", "(", "\"s\"", "-- c", "'x'"};
  for (int round = 0; round < 300; ++round) {
    std::string source;
    const int lines = 1 + static_cast<int>(random() % 12);
    for (int l = 0; l < lines; ++l) {
      source += std::string(random() % 24, ' ');
      const int count = static_cast<int>(random() % 6);
      for (int k = 0; k < count; ++k) source += pieces[random() % std::size(pieces)];
      if (l + 1 < lines || random() % 2 == 0) source += random() % 4 == 0 ? "\r\n" : "\n";
    }
    AdaLineReader told;
    told.set_text(source);
    AdaLineReader untold_reader;
    untold_reader.set_text(source);
    IndentationUntold untold(untold_reader);
    EXPECT_EQ(tokens_of(told), tokens_of(untold)) << source;

    // What the reader tells holds of the line it hands out.
    AdaLineReader reader;
    reader.set_text(source);
    std::string buffer;
    for (int guard = 0; guard < 100; ++guard) {
      int number = 0;
      int indentation = -1;
      const std::string_view line = reader.read_indented_line_view(buffer, number, indentation);
      if (line.empty()) break;
      ASSERT_GE(indentation, 0);
      ASSERT_LE(static_cast<std::size_t>(indentation), line.size()) << source;
      for (int k = 0; k < indentation; ++k) ASSERT_LE(static_cast<unsigned char>(line[k]), ' ') << source;
    }
  }
}

}  // namespace
}  // namespace flawseek
