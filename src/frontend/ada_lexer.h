// The lexical layer of one parser instance: it drives the table-driven scanner
// over an Ada source, keeps the previous token and the previous line, detects
// the end of the source and recognises character and string literals, which the
// scanner cannot express, by re-reading the raw line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/ada_tokens.h"
#include "frontend/ada_version.h"
#include "frontend/text_parser.h"

namespace flawseek {

class AdaLineReader;

// A token already consumed: its text is copied into a buffer that is reused
// from token to token, so keeping it costs no allocation per token.
struct TokenRecord {
  std::string text;
  int line = 0;
  int column = 1;
};

class AdaLexer final : private LineSource {
 public:
  AdaLexer();
  AdaLexer(const AdaLexer&) = delete;
  AdaLexer& operator=(const AdaLexer&) = delete;

  // The language level whose reserved words the scanner knows from the next
  // token on (the current token keeps its kind).
  void set_version(AdaVersion version);
  AdaVersion version() const noexcept { return version_; }

  // The line source of the next parse (not owned; it must outlive the parse).
  void set_source(LineSource* source) noexcept;

  // Starts a parse: empties the line buffer and reads the first token.
  void start();
  // Previous_Token := the current token, then scans the next one. At the end
  // of the source end_of_source() becomes true and the token is an empty Text.
  void advance() {
    // A LineTooLong ends the parse: the current token is always the one
    // scanned last, so its text needs no bound.
    remember_previous(scanner_.scanned_token_text(), line(), column());
    next();
  }
  // Rescans the current line from `column` (1-based) and reads a token there;
  // the current token is dropped without becoming the previous one.
  void restart_at(int column);

  // The current token is an apostrophe that opens a character literal ('a').
  bool is_character_literal() const noexcept;
  // Consumes the character literal at the current apostrophe: it becomes the
  // previous token (text "'a'") and scanning resumes after its closing apostrophe.
  void accept_character_literal();
  // The current token is a quotation mark that opens a string literal closed on
  // the same line; its contents (doubled quotation marks reduced to one) are
  // then in string_literal().
  bool is_string_literal();
  // Consumes the string literal last recognised by is_string_literal: it becomes
  // the previous token (the source text with its quotation marks).
  void accept_string_literal();
  const std::string& string_literal() const noexcept { return string_literal_; }

  // The current token.
  TokenKind kind() const noexcept { return scanner_.token_kind(); }
  std::string_view text() const noexcept { return scanner_.token_text(); }
  int line() const noexcept { return scanner_.token_line(); }
  int column() const noexcept { return scanner_.token_column(); }
  int keyword() const noexcept { return scanner_.keyword_or_none(); }
  int symbol() const noexcept { return scanner_.symbol_or_none(); }
  bool is_keyword(AdaKeyword k) const noexcept { return keyword() == static_cast<int>(k); }
  bool is_symbol(AdaSymbol s) const noexcept { return symbol() == static_cast<int>(s); }
  bool is_identifier() const noexcept { return kind() == TokenKind::Identifier; }
  bool is_number() const noexcept { return kind() == TokenKind::Number; }

  // The characters after the current token on its line, leading blanks
  // skipped: one line of look-ahead for the few places Ada needs two tokens.
  std::string_view rest_of_line() const noexcept;

  const TokenRecord& previous_token() const noexcept {
    if (previous_in_line_) settle_previous_text();
    return previous_;
  }
  // The previous token's text without copying it out of its line: valid
  // until the next token is read, so throughout a hook call it is handed to.
  std::string_view previous_text() const noexcept {
    return previous_in_line_ ? previous_view_ : std::string_view(previous_.text);
  }
  // The previous token's text as it lies in its line, even once copied out:
  // intact while that line is the current token's or the one read before it.
  std::string_view previous_text_in_line() const noexcept { return previous_view_; }
  // Every line the source delivers holds a token (comment-only lines are
  // read past, and a line of blanks longer than the scanner takes ends the
  // parse), so the previous token always stands in the current line or the
  // one read before it: a view of it outlives the next token.
  bool lines_hold_tokens() const noexcept { return line_reader_ != nullptr; }
  // The text lies in one of the line buffers (a line copied or rewritten),
  // not in the source: it is overwritten two lines on.
  bool lies_in_line_buffer(std::string_view text) const noexcept {
    const auto at = reinterpret_cast<std::uintptr_t>(text.data());
    for (const std::string& buffer : buffers_) {
      if (at - reinterpret_cast<std::uintptr_t>(buffer.data()) <= buffer.capacity()) return true;
    }
    return false;
  }
  // The previous token's place, without settling its text.
  int previous_line_number() const noexcept { return previous_.line; }
  int previous_column() const noexcept { return previous_.column; }
  // Makes the previous token the empty gap just after it: where a missing
  // token must be typed.
  void mark_gap_after_previous() noexcept {
    previous_.column += static_cast<int>(previous_in_line_ ? previous_view_.size() : previous_.text.size());
    previous_in_line_ = false;
    previous_.text.clear();
  }
  // The text of the line that holds the previous token.
  std::string_view previous_token_line_text() const noexcept;
  // The line being scanned (replacement characters rewritten) and the one read
  // before it (as written).
  std::string_view current_line() const noexcept { return line_text_; }
  std::string_view previous_line() const noexcept { return previous_line_text_; }
  bool end_of_source() const noexcept { return end_of_source_; }

 private:
  void read_line(std::string& line, int& line_number) override;
  std::string_view read_line_view(std::string& buffer, int& line_number) override;
  std::string_view read_indented_line_view(std::string& buffer, int& line_number, int& indentation) override;
  void next();
  // The slow part of next: a token that may hold a replacement character.
  void rewrite_replacement_characters();
  [[gnu::noinline]] void rewrite_line();
  // The previous token's text still lies in a line buffer (previous_view_):
  // it is copied only when asked for or before that buffer changes, so most
  // tokens are never copied at all.
  void remember_previous(std::string_view text, int line, int column) noexcept {
    previous_view_ = text;
    previous_in_line_ = true;
    previous_.line = line;
    previous_.column = column;
  }
  bool previous_text_lies_in(std::string_view line) const noexcept;
  // The slow parts of a line read, kept apart so that the usual read saves
  // few registers.
  [[gnu::noinline]] void restore_rewritten_line();
  [[gnu::noinline]] void settle_previous_text() const noexcept {
    // Cleared and appended, not assigned: the view never lies in this buffer.
    previous_.text.clear();
    previous_.text.append(previous_view_.data(), previous_view_.size());
    previous_in_line_ = false;
  }

  TextParser scanner_;
  // The level of the scanner's reserved words and delimiters.
  AdaVersion version_ = AdaVersion::ADA_95;
  LineSource* source_ = nullptr;
  // The source when it is the usual whole-file reader, called directly: the
  // scanner's own call for a line is virtual already.
  AdaLineReader* line_reader_ = nullptr;
  // The line being scanned and the one read before it: views into the
  // source where the line source hands lines out in place, else into the two
  // line buffers, which trade places with each new line.
  std::string_view line_text_;
  std::string_view previous_line_text_;
  std::string buffers_[2];
  std::string* line_ = &buffers_[0];
  std::string* previous_line_ = &buffers_[1];
  // The current line as read, kept when replacement characters were rewritten.
  std::string original_line_;
  bool line_rewritten_ = false;
  int reader_line_number_ = 0;
  mutable TokenRecord previous_;
  std::string_view previous_view_;
  mutable bool previous_in_line_ = false;
  bool end_of_source_ = false;
  std::string string_literal_;
  int literal_end_column_ = 0;  // column of the closing quotation mark
};

inline void AdaLexer::next() {
  if (!scanner_.next_token()) {
    end_of_source_ = true;
    return;
  }
  // A replacement character shows only in a Text token or in a number
  // followed by ':' (16:FF:).
  const TokenKind kind = scanner_.token_kind();
  if (kind == TokenKind::Text || (kind == TokenKind::Number && scanner_.byte_after_token() == ':'))
    rewrite_replacement_characters();
}

inline std::string_view AdaLexer::previous_token_line_text() const noexcept {
  // At the end of the source the line buffer is empty: the previous token's
  // line is then the one kept as the previous line.
  if (previous_.line != reader_line_number_ || line_text_.empty()) return previous_line_text_;
  return line_rewritten_ ? std::string_view(original_line_) : line_text_;
}

}  // namespace flawseek
