// The language-neutral, table-driven scanner. The caller gives it a keyword
// list and a symbol list (separator-delimited strings such as "$END$IF$"), a
// maximum line length, a character-class choice and a line source; it yields
// tokens of five kinds with text, line and column. It knows nothing of Ada
// beyond the numeric-literal rule; the parser decides what a token means.
//
// Five scanners exist: one per parser instance (check, preparation, survey) and
// one per comment-command parser (bug commands, style commands).
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

enum class TokenKind : std::uint8_t { Identifier, Number, Keyword, Symbol, Text };

// Keyword_Options. Every scanner of the system uses whole_word and
// line_end_is_blank; none is case_sensitive.
struct KeywordOptions {
  bool whole_word = false;
  bool case_sensitive = false;
  bool line_end_is_blank = false;
};

inline constexpr KeywordOptions standard_keyword_options{true, false, true};

// The character-class selector of Create: 7-bit letters for the comment-command
// scanners, all Latin-1 letters for the parser instances.
enum class CharacterClasses : std::uint8_t { Basic = 0, Latin1 = 1 };

// Errors of the scanner package (Text_Parser.*).
class TextParserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// A line read is longer than the scanner's maximum; the long line and its
// number are already the scanner's current line, so callers can report it.
class LineTooLong : public TextParserError {
 public:
  LineTooLong() : TextParserError("Text_Parser.Line_Too_Long") {}
};
class IncorrectKeywordList : public TextParserError {
 public:
  IncorrectKeywordList() : TextParserError("Text_Parser.Incorrect_Keyword_List") {}
};
class IncorrectSymbolList : public TextParserError {
 public:
  IncorrectSymbolList() : TextParserError("Text_Parser.Incorrect_Symbol_List") {}
};
class WrongToken : public TextParserError {
 public:
  WrongToken() : TextParserError("Text_Parser.Wrong_Token") {}
};

// Read_Line: replaces the contents of `line` with the next source line and
// sets its physical line number. An empty line means the end of the source, so
// a source never delivers an empty line before its end.
class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual void read_line(std::string& line, int& line_number) = 0;
  // The next line as read_line gives it, where the source holds it: a source
  // that keeps its text in memory hands most lines out in place instead of
  // copying them into `buffer` (the string it would have filled). The view
  // stays valid until the next line is read into the same buffer, and the
  // byte just after its last one (after its start, for the empty view at the
  // end) is readable and a blank, a space or control character, as a string's
  // terminating NUL is: scanners read one byte past a line's end rather than
  // test for it.
  virtual std::string_view read_line_view(std::string& buffer, int& line_number) {
    read_line(buffer, line_number);
    return buffer;
  }
  // The same, telling also how many bytes at the line's start are known to
  // be blanks (spaces or control characters), as a source that looked for
  // the line's end may have seen on the way: 0 where it did not look.
  virtual std::string_view read_indented_line_view(std::string& buffer, int& line_number, int& indentation) {
    indentation = 0;
    return read_line_view(buffer, line_number);
  }
};

class TextParser {
 public:
  // number_syntax 0 is the Ada numeric-literal rule, the only one there is.
  TextParser(int max_line_length, int number_syntax, CharacterClasses classes);

  void set_reader(LineSource* reader);
  // Validates and stores the lists; a malformed list throws
  // IncorrectKeywordList / IncorrectSymbolList and is stored as given.
  // A word is a keyword when it equals one entry of the list, ignoring letter
  // case unless case_sensitive; the other options are stored only (every
  // scanner of the system uses standard_keyword_options).
  void set_keywords(KeywordOptions options, std::string_view list);
  void set_symbols(std::string_view list);

  // Scans `*line` (owned by the caller; it must outlive the scan, and the line
  // source is handed this same string to fill) from start_column (1-based).
  // There is no token after a restart, so the end of the text found next is
  // reported at start_column; a start_column past the end of the line ends
  // the text.
  void set_text(std::string* line, int start_column);
  // The same over `text`, which must stay valid while it is scanned and be
  // followed by a readable blank (see read_line_view); the string given to
  // set_text stays the one the line source is handed.
  void rescan(std::string_view text, int start_column);

  // Scans the next token. Returns false at the end of the text (the original
  // End_Of_String signal): the kind is then Text, the text empty and the column
  // just after the last token. Ending every file is ordinary control flow, so it
  // is a result, not an exception. Throws LineTooLong.
  bool next_token();

  TokenKind token_kind() const noexcept { return kind_; }
  // A view into the current line: valid until the next next_token or set_text.
  std::string_view token_text() const noexcept;
  // The same without the bound: for a scanner whose next_token returned
  // (true or false) and was not left by a LineTooLong, the token lies within
  // the line it was scanned in (after the end of the text it is empty).
  std::string_view scanned_token_text() const noexcept {
    if (token_length_ <= 0) return {};
    return {reinterpret_cast<const char*>(text_) + token_column_ - 1, static_cast<std::size_t>(token_length_)};
  }
  int token_line() const noexcept { return token_line_; }
  int token_column() const noexcept { return token_column_; }
  // 0-based list positions; throw WrongToken for a token of another kind.
  int keyword() const;
  int symbol() const;
  // The same without the check: -1 when the token is of another kind.
  int keyword_or_none() const noexcept { return keyword_; }
  int symbol_or_none() const noexcept { return symbol_; }

  // The line being scanned and its number (after LineTooLong: the long line).
  std::string_view line() const noexcept {
    return {reinterpret_cast<const char*>(text_), static_cast<std::size_t>(line_length_)};
  }
  int line_number() const noexcept { return line_number_; }
  // The byte after the token scanned last, where it ended within its line
  // (else a blank).
  unsigned char byte_after_token() const noexcept { return current_char_; }
  int max_line_length() const noexcept { return max_line_length_; }

  // The stored lists, as the last set_keywords / set_symbols left them (a
  // malformed list is kept as given, without case conversion).
  const std::string& keyword_list() const noexcept { return keyword_list_; }
  const std::string& symbol_list() const noexcept { return symbol_list_; }

 private:
  // Per-byte class bits; the symbol bits change with set_symbols.
  static constexpr std::uint8_t kIdentifierStart = 1;
  static constexpr std::uint8_t kIdentifierChar = 2;
  static constexpr std::uint8_t kAlphanumeric = 4;
  static constexpr std::uint8_t kSymbolStart = 8;
  static constexpr std::uint8_t kSingleSymbol = 16;
  static constexpr std::uint8_t kLongSymbolStart = 32;  // first byte of a longer symbol
  static constexpr std::uint8_t kBlank = 64;
  // A one-character symbol that starts no longer one: it is the token
  // whatever follows.
  static constexpr std::uint8_t kLoneSymbol = 128;

  // A multi-character symbol entry: its text lies in symbol_list_.
  struct SymbolEntry {
    int offset;
    int length;
    int position;
  };
  // One slot of the open-addressing keyword table; offset -1 is free.
  struct KeywordSlot {
    std::uint32_t hash = 0;
    int offset = -1;
    int length = 0;
    int position = 0;
  };

  bool read_next_line(int& indentation);
  void step();
  // Makes the character at 0-based `index` the current one (past the end:
  // the blank that asks for a new line).
  void move_to(int index) noexcept;
  void use_text(std::string_view text) noexcept;
  void start_at(int start_column);
  // Length of the symbol starting at 0-based `index` of the line (0: none).
  int symbol_length_at(int index, int& position) const noexcept;
  int match_symbol(int& position) const noexcept;
  bool symbol_starts_here() const noexcept;
  bool symbol_starts_at(int index) const noexcept;
  // The parts of next_token beyond the usual token.
  [[gnu::noinline]] bool token_on_later_line();
  int token_start_on_later_line();
  bool token_at(int i);
  [[gnu::noinline]] bool end_of_text() noexcept;
  [[gnu::noinline]] bool symbol_token(int i);
  [[gnu::noinline]] bool word_token(int i);
  [[gnu::noinline]] bool number_token(int i);
  [[gnu::noinline]] bool long_word_token(int i, int end, TokenKind kind);
  bool word_ends_at(int i, int end, TokenKind kind);
  [[gnu::noinline]] bool glued_word_token(int i, int end, TokenKind kind);
  bool end_word(int i, int end, TokenKind kind) noexcept;
  // The word at i that may be a keyword: a keyword, or of kind `kind`.
  [[gnu::noinline]] bool keyword_or_word(int i, int length, TokenKind kind) noexcept;
  [[gnu::noinline]] bool keyword_or_word_slowly(int i, int length, TokenKind kind) noexcept;
  bool number_ends() const noexcept;
  bool number_may_end_before(unsigned char c) const noexcept;
  void scan_number();
  // Steps over the digits and underscores (extended digits with `extended`)
  // from the current character.
  void skip_number_run(bool extended) noexcept;
  bool may_be_keyword(const unsigned char* text, int length) const noexcept;
  int lookup_keyword(const unsigned char* text, int length) const noexcept;
  struct KeywordMiddle;
  static KeywordMiddle keyword_middle(const unsigned char* entry, int length, bool case_sensitive);
  void build_keyword_table();
  void build_symbol_tables();

  std::string* line_ = nullptr;  // null until the first set_text
  // The line being scanned: in *line_ or wherever the line source keeps it.
  const unsigned char* text_ = reinterpret_cast<const unsigned char*>("");
  int line_length_ = 0;
  int column_ = 1;
  unsigned char current_char_ = ' ';
  bool need_line_ = false;
  LineSource* reader_ = nullptr;
  int line_number_ = 0;
  int max_line_length_ = 0;

  TokenKind kind_ = TokenKind::Text;
  // The list positions, -1 unless the token is of their kind: the parser
  // asks for them several times per token, so they are kept ready to compare.
  int keyword_ = -1;
  int symbol_ = -1;
  // The line and column, set together for every token, lie apart: side by
  // side the compiler pairs their stores into a vector move that costs more.
  int token_line_ = 0;
  int token_length_ = 0;
  int token_column_ = 1;

  std::uint8_t class_bits_[256] = {};
  unsigned char fold_[256] = {};  // upper-case map, identity when case-sensitive

  KeywordOptions keyword_options_{};
  std::string keyword_list_;
  std::vector<KeywordSlot> keyword_slots_;
  // Per slot: the entry's bytes between its first and last as one word
  // (little-endian, at most eight bytes) and the mask that folds a token's
  // bytes for comparing with them; an entry of other bytes, or longer, is
  // compared byte by byte (mask 0).
  struct KeywordMiddle {
    std::uint64_t bytes = 0;
    std::uint64_t mask = 0;
  };
  std::vector<KeywordMiddle> keyword_middles_;
  std::uint32_t keyword_mask_ = 0;
  int keyword_shift_ = 26;  // 32 minus the log2 of the table size
  // Per first byte of an entry: bit n set when an entry of length n starts
  // with it (bit 31: length 31 or more).
  std::uint32_t keyword_lengths_[256] = {};

  std::string symbol_list_;
  int single_symbol_position_[256] = {};
  // Entries of two or more characters, grouped by first byte, longest first:
  // those starting with byte b are symbol_entries_[symbol_first_[b] .. symbol_first_[b + 1]).
  std::vector<SymbolEntry> symbol_entries_;
  int symbol_first_[257] = {};
  int longest_symbol_ = 0;
  bool double_dot_is_symbol_ = false;
  // Some digit, letter A to F or underscore starts a symbol of the list.
  bool number_run_may_start_symbol_ = false;
};

// The line as last read (text_, line_length_) bounds the view, so a token of a
// line since replaced (after LineTooLong) never reaches outside the buffer.
inline std::string_view TextParser::token_text() const noexcept {
  const int start = token_column_ - 1;
  // One test: nothing of the token, or nothing of it within the line.
  const int length = std::min(token_length_, line_length_ - start);
  if (length <= 0) return {};
  return std::string_view(reinterpret_cast<const char*>(text_) + start, static_cast<std::size_t>(length));
}

}  // namespace flawseek
