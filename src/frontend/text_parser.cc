// The table-driven scanner: character classes, list validation, the lookup
// tables built from the lists, and the token rules (symbols, Ada numbers, words).
#include "frontend/text_parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/latin1.h"
#include "platform/text_scan/word_reads.h"
#include "platform/text_scan/word_runs.h"

namespace flawseek {

namespace {

// The letters of the 7-bit configuration: the basic letters of Latin-1, that
// is those without a diacritical mark (Æ, Ð, Þ, ß, æ, ð, þ count as basic).
constexpr bool is_basic_letter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 0xC6 || c == 0xD0 ||
         c == 0xDE || c == 0xDF || c == 0xE6 || c == 0xF0 || c == 0xFE;
}

// The readers turn control characters into blanks; the scanner treats them as
// blanks too, so text handed over directly (a comment command) reads the same.
constexpr bool is_blank(unsigned char c) { return c <= ' '; }

// Words up to this length are scanned a byte at a time: most are shorter.
constexpr int short_word_length = 10;

constexpr bool is_decimal_or_underscore(unsigned char c) {
  return latin1::is_digit(c) || c == '_';
}
constexpr bool is_extended_or_underscore(unsigned char c) {
  return is_decimal_or_underscore(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The bytes of numbers by table: decimal digits and underscores, extended
// digits and underscores.
constexpr std::uint8_t decimal_digit = 1;
constexpr std::uint8_t extended_digit = 2;
constexpr auto number_bytes = [] {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    if (is_decimal_or_underscore(b)) table[c] |= decimal_digit;
    if (is_extended_or_underscore(b)) table[c] |= extended_digit;
  }
  return table;
}();

// The keyword table's hash looks at the length and the first and last bytes
// only (folded): reserved words differ there often enough, and a word of any
// length costs the same three loads. A multiplicative hash; its high bits
// choose the slot.
inline std::uint32_t keyword_hash(unsigned char first, unsigned char last, int length) {
  const std::uint32_t key = (static_cast<std::uint32_t>(first) << 24) ^
                            (static_cast<std::uint32_t>(last) << 16) ^ static_cast<std::uint32_t>(length);
  return key * 0x9E3779B1u;
}

// Calls visit(offset, length, position) for every entry of a separator list:
// the pieces between separators, the last character of the list taken as the
// closing separator whatever it is. Empty entries still count for positions.
template <typename Visit>
void for_each_entry(std::string_view list, Visit visit) {
  const int n = static_cast<int>(list.size());
  if (n < 2) return;
  const char separator = list[0];
  int start = 1;
  int position = 0;
  for (int i = 1; i < n; ++i) {
    if (i == n - 1 || list[i] == separator) {
      visit(start, i - start, position);
      ++position;
      start = i + 1;
    }
  }
}

// True when the character at i (not the last) opens an empty entry: the
// separator followed by another separator or by the closing character.
inline bool opens_empty_entry(std::string_view list, std::size_t i) {
  return list[i] == list[0] && (i + 2 == list.size() || list[i + 1] == list[0]);
}

bool keyword_list_is_valid(std::string_view list) {
  if (list.empty()) return true;
  if (list.size() < 3) return false;
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(list[i]);
    if (c <= ' ' || opens_empty_entry(list, i)) return false;
    if (list[i] == list[0] && latin1::is_digit(static_cast<unsigned char>(list[i + 1])))
      return false;
  }
  return true;
}

}  // namespace

TextParser::TextParser(int max_line_length, int /*number_syntax*/, CharacterClasses classes)
    : max_line_length_(max_line_length) {
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    const bool letter = classes == CharacterClasses::Latin1 ? latin1::is_letter(c)
                                                            : is_basic_letter(c);
    std::uint8_t bits = 0;
    if (letter || c == '_') bits |= kIdentifierStart;
    if (letter || c == '_' || latin1::is_digit(c)) bits |= kIdentifierChar;
    if (letter || latin1::is_digit(c)) bits |= kAlphanumeric;
    if (is_blank(c)) bits |= kBlank;
    class_bits_[b] = bits;
    fold_[b] = c;
  }
}

void TextParser::set_reader(LineSource* reader) { reader_ = reader; }

// ---------------------------------------------------------------------------
// Lists

void TextParser::set_keywords(KeywordOptions options, std::string_view list) {
  keyword_options_ = options;
  keyword_list_.assign(list);
  const bool valid = keyword_list_is_valid(list);
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    fold_[b] = options.case_sensitive ? c : latin1::to_upper(c);
  }
  // A malformed list is kept exactly as given: no case conversion.
  if (valid && !options.case_sensitive) {
    for (char& c : keyword_list_) c = static_cast<char>(latin1::to_upper(static_cast<unsigned char>(c)));
  }
  build_keyword_table();
  if (!valid) throw IncorrectKeywordList();
}

void TextParser::build_keyword_table() {
  int count = 0;
  for_each_entry(keyword_list_, [&](int, int length, int) { count += length > 0; });
  // A sparse table: most identifiers meet a free slot at once.
  std::size_t size = 64;
  int bits = 6;
  while (size < static_cast<std::size_t>(count) * 4) size *= 2, ++bits;
  keyword_slots_.assign(size, KeywordSlot{});
  keyword_middles_.assign(size, KeywordMiddle{});
  keyword_mask_ = static_cast<std::uint32_t>(size - 1);
  keyword_shift_ = 32 - bits;
  std::fill(std::begin(keyword_lengths_), std::end(keyword_lengths_), 0u);
  const auto* text = reinterpret_cast<const unsigned char*>(keyword_list_.data());
  for_each_entry(keyword_list_, [&](int offset, int length, int position) {
    if (length == 0) return;
    const std::uint32_t h = keyword_hash(text[offset], text[offset + length - 1], length);
    std::uint32_t i = h >> keyword_shift_;
    while (keyword_slots_[i].offset >= 0) {
      const KeywordSlot& slot = keyword_slots_[i];
      // The first occurrence of a repeated entry keeps its position.
      if (slot.hash == h && slot.length == length &&
          std::memcmp(text + slot.offset, text + offset, length) == 0)
        return;
      i = (i + 1) & keyword_mask_;
    }
    keyword_slots_[i] = KeywordSlot{h, offset, length, position};
    keyword_middles_[i] = keyword_middle(text + offset, length, keyword_options_.case_sensitive);
    keyword_lengths_[text[offset]] |= 1u << std::min(length, 31);
  });
}

// The middle of an entry, for comparing in one word: its bytes but the first
// and the last, folded as a token's bytes are. Without case sensitivity only
// ASCII letters fold in one step (the token's byte with bit 5 cleared equals
// an upper-case letter exactly when it is that letter in either case); other
// entries keep mask 0, as do two-letter entries, which have no middle, and
// any entry on a big-endian machine.
TextParser::KeywordMiddle TextParser::keyword_middle(const unsigned char* entry, int length, bool case_sensitive) {
  KeywordMiddle middle;
  if (std::endian::native != std::endian::little || length < 2 || length > 9) return middle;
  for (int k = 1; k < length - 1; ++k) {
    const unsigned char e = entry[k];
    if (!case_sensitive && !(e >= 'A' && e <= 'Z')) return KeywordMiddle{};
    const int shift = 8 * (k - 1);
    middle.bytes |= static_cast<std::uint64_t>(e) << shift;
    middle.mask |= static_cast<std::uint64_t>(case_sensitive ? 0xFF : 0xDF) << shift;
  }
  return middle;
}

// Most words are no keyword: no entry starts with their letter at their length.
inline bool TextParser::may_be_keyword(const unsigned char* token, int length) const noexcept {
  return (keyword_lengths_[fold_[token[0]]] >> std::min(length, 31)) & 1u;
}

// Called only for a word that may_be_keyword admits; inline in
// keyword_or_word_slowly, its only caller.
[[gnu::always_inline]] inline int TextParser::lookup_keyword(const unsigned char* token, int length) const noexcept {
  const std::uint32_t h = keyword_hash(fold_[token[0]], fold_[token[length - 1]], length);
  const auto* text = reinterpret_cast<const unsigned char*>(keyword_list_.data());
  for (std::uint32_t i = h >> keyword_shift_; keyword_slots_[i].offset >= 0;
       i = (i + 1) & keyword_mask_) {
    const KeywordSlot& slot = keyword_slots_[i];
    if (slot.hash != h || slot.length != length) continue;
    // At equal lengths equal hashes mean equal first and last bytes (the key
    // keeps them in bits of their own and the multiplier is odd), so only the
    // bytes between are compared: none for the two-letter words.
    // In one word where eight bytes around them lie within the line and the
    // blank after it: the eight after the first, or else the eight before
    // the last (the line's short: its first eight).
    const KeywordMiddle& middle = keyword_middles_[i];
    const int at = static_cast<int>(token - text_);
    const bool after_first = at + 8 <= line_length_;
    if (middle.mask != 0 && (after_first || at + length >= 9)) {
      std::uint64_t bytes;
      if (after_first) {
        bytes = text_scan::load_word<std::uint64_t>(token + 1);
      } else {
        bytes = text_scan::load_word<std::uint64_t>(token + length - 9) >> 8 * (10 - length);
      }
      if ((bytes & middle.mask) == middle.bytes) return slot.position;
      continue;
    }
    const unsigned char* entry = text + slot.offset;
    const int last = length - 1;
    int k = 1;
    while (k < last && fold_[token[k]] == entry[k]) ++k;
    if (k >= last) return slot.position;
  }
  return -1;
}

void TextParser::set_symbols(std::string_view list) {
  symbol_list_.assign(list);
  bool valid = true;
  if (!list.empty()) {
    if (list.size() < 3) valid = false;
    for (std::size_t i = 0; valid && i + 1 < list.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(list[i]);
      if (c <= ' ' || (class_bits_[c] & kAlphanumeric) || opens_empty_entry(list, i)) valid = false;
    }
  }
  build_symbol_tables();
  if (!valid) throw IncorrectSymbolList();
}

void TextParser::build_symbol_tables() {
  for (auto& bits : class_bits_)
    bits &= static_cast<std::uint8_t>(~(kSymbolStart | kSingleSymbol | kLongSymbolStart | kLoneSymbol));
  std::fill(std::begin(single_symbol_position_), std::end(single_symbol_position_), -1);
  symbol_entries_.clear();
  longest_symbol_ = 0;
  double_dot_is_symbol_ = false;
  const auto* text = reinterpret_cast<const unsigned char*>(symbol_list_.data());
  std::vector<SymbolEntry> entries;
  for_each_entry(symbol_list_, [&](int offset, int length, int position) {
    if (length == 0) return;
    const unsigned char first = text[offset];
    class_bits_[first] |= kSymbolStart;
    longest_symbol_ = std::max(longest_symbol_, length);
    if (length == 1) {
      class_bits_[first] |= kSingleSymbol;
      if (single_symbol_position_[first] < 0) single_symbol_position_[first] = position;
      return;
    }
    if (length == 2 && text[offset] == '.' && text[offset + 1] == '.') double_dot_is_symbol_ = true;
    for (const SymbolEntry& e : entries)  // the first occurrence keeps its position
      if (e.length == length && std::memcmp(text + e.offset, text + offset, length) == 0) return;
    entries.push_back(SymbolEntry{offset, length, position});
    class_bits_[first] |= kLongSymbolStart;
  });
  // Group by first byte, longest first: the first entry that matches is the
  // longest candidate, as the longest-match rule asks.
  std::stable_sort(entries.begin(), entries.end(), [&](const SymbolEntry& a, const SymbolEntry& b) {
    if (text[a.offset] != text[b.offset]) return text[a.offset] < text[b.offset];
    return a.length > b.length;
  });
  symbol_entries_ = std::move(entries);
  for (auto& bits : class_bits_)
    if ((bits & (kSingleSymbol | kLongSymbolStart)) == kSingleSymbol) bits |= kLoneSymbol;
  std::size_t e = 0;
  for (int b = 0; b <= 256; ++b) {
    while (b < 256 && e < symbol_entries_.size() && text[symbol_entries_[e].offset] < b) ++e;
    if (b == 256) e = symbol_entries_.size();
    symbol_first_[b] = static_cast<int>(e);
  }
  number_run_may_start_symbol_ = false;
  for (const unsigned char c : std::string_view("0123456789_ABCDEFabcdef"))
    if (class_bits_[c] & kSymbolStart) number_run_may_start_symbol_ = true;
}

// ---------------------------------------------------------------------------
// Characters

inline void TextParser::use_text(std::string_view text) noexcept {
  text_ = reinterpret_cast<const unsigned char*>(text.data());
  line_length_ = static_cast<int>(text.size());
}

void TextParser::set_text(std::string* line, int start_column) {
  line_ = line;
  use_text(*line);
  start_at(start_column);
}

void TextParser::rescan(std::string_view text, int start_column) {
  use_text(text);
  start_at(start_column);
}

void TextParser::start_at(int start_column) {
  if (start_column < 1) start_column = 1;
  column_ = start_column - 1;
  kind_ = TokenKind::Text;
  keyword_ = -1;
  symbol_ = -1;
  token_column_ = start_column;
  // A restart has no token yet, so the end-of-text column is the start column.
  token_length_ = 0;
  need_line_ = false;
  current_char_ = ' ';
  // Starting beyond the end of the line leaves the scanner at the end of the
  // text: the next next_token reports it.
  if (column_ > line_length_) return;
  step();
}

// One character forward within the current line; passing the end reads as a
// blank and asks for a new line on the next move.
inline void TextParser::step() {
  if (column_ >= line_length_) {
    column_ = line_length_ + 1;
    need_line_ = true;
    current_char_ = ' ';
    return;
  }
  ++column_;
  current_char_ = text_[column_ - 1];
}

// The line after the one used up; false when there is none: no line source
// (the scanner stays past the end of the text it was given) or the end of
// the source. The column is left for the token found on the line to set.
// Inline in token_start_on_later_line, its only caller: once per line.
[[gnu::always_inline]] inline bool TextParser::read_next_line(int& indentation) {
  need_line_ = false;
  if (reader_ == nullptr || line_ == nullptr) return false;
  use_text(reader_->read_indented_line_view(*line_, line_number_, indentation));
  if (line_length_ > max_line_length_) throw LineTooLong();
  return line_length_ != 0;
}

// Without a branch: past the end the current character is the blank that
// follows every line (see read_line_view), as a line end reads.
inline void TextParser::move_to(int index) noexcept {
  const bool past_end = index >= line_length_;
  const int at = past_end ? line_length_ : index;
  column_ = at + 1;
  need_line_ = past_end;
  current_char_ = text_[at];
}

// ---------------------------------------------------------------------------
// Tokens

[[gnu::always_inline]] inline int TextParser::symbol_length_at(int index, int& position) const noexcept {
  const unsigned char* const here = text_ + index;
  const unsigned char c = here[0];
  const int left = line_length_ - index;
  const int n = std::min(left, longest_symbol_);
  // A longer symbol needs a following character that is neither blank nor
  // alphanumeric; otherwise only a one-character symbol can match.
  if (n > 1 && !is_blank(here[1]) && !(class_bits_[here[1]] & kAlphanumeric)) {
    const auto* list = reinterpret_cast<const unsigned char*>(symbol_list_.data());
    for (int e = symbol_first_[c]; e < symbol_first_[c + 1]; ++e) {
      const SymbolEntry& entry = symbol_entries_[e];
      if (entry.length > n) continue;
      const unsigned char* symbol = list + entry.offset;
      int k = 1;  // the first byte is c by the grouping
      while (k < entry.length && here[k] == symbol[k]) ++k;
      if (k == entry.length) {
        position = entry.position;
        return entry.length;
      }
    }
  }
  if (!(class_bits_[c] & kSingleSymbol)) return 0;
  position = single_symbol_position_[c];
  return 1;
}

int TextParser::match_symbol(int& position) const noexcept {
  if (!(class_bits_[current_char_] & kSymbolStart) || column_ > line_length_) return 0;
  return symbol_length_at(column_ - 1, position);
}

inline bool TextParser::symbol_starts_here() const noexcept {
  int position;
  return (class_bits_[current_char_] & kSymbolStart) && match_symbol(position) > 0;
}

inline bool TextParser::symbol_starts_at(int index) const noexcept {
  const std::uint8_t bits = class_bits_[text_[index]];
  if (bits & kSingleSymbol) return true;  // it matches, at least by itself
  int position;
  return (bits & kSymbolStart) && symbol_length_at(index, position) > 0;
}

// A number ends before `c` without a doubt: a blank, or a one-character
// symbol that cannot go on with it (a point, '#' or an exponent letter may,
// unless no list makes them symbols).
inline bool TextParser::number_may_end_before(unsigned char c) const noexcept {
  return is_blank(c) || ((class_bits_[c] & kSingleSymbol) && c != '.' && c != '#' && c != 'E' && c != 'e');
}

// The end of a numeric literal: a blank, the end of the line or a symbol.
inline bool TextParser::number_ends() const noexcept {
  // A blank or a one-character symbol (which matches at least by itself)
  // settles it in one class test: a based literal's closing '#' is mostly
  // followed by one.
  return (class_bits_[current_char_] & (kBlank | kSingleSymbol)) || column_ > line_length_ || symbol_starts_here();
}

// The common tokens (words and symbols) are scanned on 0-based indices into
// the line; the scanner's column and current character are written once, where
// the token ends. Numbers, rare and intricate, go character by character.
//
// next_token itself settles the usual token, a one-character symbol after at
// most one blank, and hands everything else to the functions below, each out
// of line and called last, so the usual token saves no registers for them.
bool TextParser::next_token() {
  const int i = column_ - 1;  // 0-based index of the token's first character
  // Past the line's end (where need_line_ always leaves the column) the token
  // is on a later line, if any.
  if (i >= line_length_) return token_on_later_line();
  // One blank is stepped over without a branch: text_[i + 1] is at most
  // the blank that follows every line, so a token found stands within it.
  const int start = i + is_blank(text_[i]);
  if (is_blank(text_[start])) return token_on_later_line();
  return token_at(start);
}

// The blanks before the token run on, or the line is used up. Kept apart,
// so that the usual token, near its predecessor, calls nothing but the
// token's own rule, last.
bool TextParser::token_on_later_line() {
  const int i = token_start_on_later_line();
  if (i >= line_length_) return end_of_text();
  return token_at(i);
}

// The token starting at 0-based index i of the line.
[[gnu::always_inline]] inline bool TextParser::token_at(int i) {
  token_column_ = i + 1;
  token_line_ = line_number_;
  const unsigned char c = text_[i];
  const std::uint8_t bits = class_bits_[c];
  if (bits & kSymbolStart) {
    // Most symbols are one character with a blank, a word or no symbol that
    // could go on after them: no list to search.
    // (text_[line_length_] is the blank that follows every line.)
    if ((bits & kLoneSymbol) ||
        ((bits & kSingleSymbol) && (class_bits_[text_[i + 1]] & (kBlank | kAlphanumeric)))) {
      kind_ = TokenKind::Symbol;
      keyword_ = -1;
      symbol_ = single_symbol_position_[c];
      token_length_ = 1;
      move_to(i + 1);
      return true;
    }
    return symbol_token(i);
  }
  return word_token(i);
}

// The blanks before the token run on (indentation, alignment) or the line is
// used up: the index of the token's first character, on this line or a line
// further on, or the line's length at the end of the text. Inline in
// token_on_later_line, its only caller.
[[gnu::always_inline]] inline int TextParser::token_start_on_later_line() {
  for (int i = column_ - 1;;) {
    if (i < line_length_) {
      if (const int start = static_cast<int>(text_scan::skip_blanks(text_, i, line_length_)); start < line_length_)
        return start;
      // Blanks up to the end of the line: the token is on a line further on.
      column_ = line_length_ + 1;
      need_line_ = true;
      current_char_ = ' ';
    } else if (!need_line_) {
      return i;
    }
    // Past the end (the column stays there, at or after the line's length).
    int indentation = 0;
    if (!read_next_line(indentation)) return column_ - 1;
    // The line's first token mostly stands right after the blanks the
    // source saw at its start: no search for it then.
    i = indentation < line_length_ ? indentation : 0;
    if (!is_blank(text_[i])) return i;
  }
}

bool TextParser::end_of_text() noexcept {
  token_column_ += token_length_;
  token_length_ = 0;
  kind_ = TokenKind::Text;
  keyword_ = -1;
  symbol_ = -1;
  return false;
}

// A symbol start that may begin a longer symbol.
bool TextParser::symbol_token(int i) {
  int position = 0;
  if (const int n = symbol_length_at(i, position); n > 0) {
    kind_ = TokenKind::Symbol;
    keyword_ = -1;
    symbol_ = position;
    token_length_ = n;
    move_to(i + n);
    return true;
  }
  return word_token(i);
}

// A number or a word (an identifier, a reserved word or a run of Text).
bool TextParser::word_token(int i) {
  const unsigned char* const text = text_;
  const unsigned char c = text[i];
  const std::uint8_t bits = class_bits_[c];
  if (latin1::is_digit(c)) return number_token(i);

  const TokenKind kind = (bits & kIdentifierStart) ? TokenKind::Identifier : TokenKind::Text;
  const unsigned char* const word = text + i;
  // Where sixteen bytes fit before the line's end, one look tells where a
  // run of ASCII word characters from i ends, unless the run fills them or
  // is empty, or a byte of 128 or more ends it (it may be a letter).
  if (i + 16 <= line_length_) {
    const int n = text_scan::ascii_word_length_16(word);
    if (n == 16) return long_word_token(i, i + 16, kind);
    if (n > 0 && word[n] < 0x80) return word_ends_at(i, i + n, kind);
  }
  // Else most words are short: a byte at a time, as far as the class table
  // says, settles them without a block search; the blank after the line's end
  // stops it there. A first byte that is no word character makes the run
  // empty: what follows it is glued on.
  int n = 0;
  if (bits & kIdentifierChar) {
    n = 1;
#pragma GCC unroll 16
    for (; n < short_word_length; ++n)
      if (!(class_bits_[word[n]] & kIdentifierChar)) break;
  }
  const int end = i + n;
  if (n == short_word_length && (class_bits_[text[end]] & kIdentifierChar)) return long_word_token(i, end, kind);
  return word_ends_at(i, end, kind);
}

// A word that runs on past the bytes word_token looks at one by one, from
// `end` on. Called last, so that the short word saves no registers for the
// block search.
bool TextParser::long_word_token(int i, int end, TokenKind kind) {
  const unsigned char* const text = text_;
  const int length = line_length_;
  if (end < length) {
    // Past the ASCII run only a byte of 128 or more may go on with the word.
    end = static_cast<int>(text_scan::ascii_word_end(text, end, length));
    if (end < length && text[end] >= 0x80) {
      while (end < length && (class_bits_[text[end]] & kIdentifierChar)) ++end;
    }
  }
  return word_ends_at(i, end, kind);
}

// The run [i, end) of word characters is over. Anything glued on that is
// neither blank nor symbol makes the run Text. One class test settles the
// usual cases, a blank (the one after the line's end included) or a
// one-character symbol.
[[gnu::always_inline]] inline bool TextParser::word_ends_at(int i, int end, TokenKind kind) {
  if (!(class_bits_[text_[end]] & (kBlank | kSingleSymbol))) return glued_word_token(i, end, kind);
  return end_word(i, end, kind);
}

// Makes the run [i, end) the token: a reserved word, or of kind `kind`.
// The table search is a call of its own, made last: the usual word, which
// no entry could match, then saves no registers for it.
inline bool TextParser::end_word(int i, int end, TokenKind kind) noexcept {
  token_length_ = end - i;
  move_to(end);
  symbol_ = -1;
  if (may_be_keyword(text_ + i, end - i)) return keyword_or_word(i, end - i, kind);
  kind_ = kind;
  keyword_ = -1;
  return true;
}

// The usual cases take one probe of the table: a free slot, or the entry
// itself, compared as a two-letter word or in one word of eight bytes after
// the first (see lookup_keyword). Everything else (a taken slot of another
// entry, a word near the line's end) is left to the whole search, called
// last, so that these save no registers for it.
bool TextParser::keyword_or_word(int i, int length, TokenKind kind) noexcept {
  const unsigned char* const token = text_ + i;
  const std::uint32_t h = keyword_hash(fold_[token[0]], fold_[token[length - 1]], length);
  const std::uint32_t s = h >> keyword_shift_;
  const KeywordSlot& slot = keyword_slots_[s];
  if (slot.offset < 0) {
    kind_ = kind;
    keyword_ = -1;
    return true;
  }
  if (slot.hash == h && slot.length == length) {
    bool same = length == 2;
    if (const KeywordMiddle& middle = keyword_middles_[s]; middle.mask != 0 && i + 8 <= line_length_) {
      same = (text_scan::load_word<std::uint64_t>(token + 1) & middle.mask) == middle.bytes;
    }
    if (same) {
      kind_ = TokenKind::Keyword;
      keyword_ = slot.position;
      return true;
    }
  }
  return keyword_or_word_slowly(i, length, kind);
}

bool TextParser::keyword_or_word_slowly(int i, int length, TokenKind kind) noexcept {
  const int keyword = lookup_keyword(text_ + i, length);
  kind_ = keyword >= 0 ? TokenKind::Keyword : kind;
  keyword_ = keyword;
  return true;
}

// A word with something glued on at `end` that may start a symbol: what is
// neither blank nor symbol start makes the run Text.
bool TextParser::glued_word_token(int i, int end, TokenKind kind) {
  int glued = end;
  while (!(class_bits_[text_[glued]] & (kBlank | kSingleSymbol)) && !symbol_starts_at(glued)) ++glued;
  return end_word(i, glued, glued != end ? TokenKind::Text : kind);
}

bool TextParser::number_token(int i) {
  kind_ = TokenKind::Number;
  keyword_ = -1;
  symbol_ = -1;
  // Most numbers are plain integers or based ones (16#FF#) without point or
  // exponent. Where a blank (the one after the line's end included) or a
  // one-character symbol that cannot go on with a number follows them, they
  // are settled here as scan_number would settle them; the rest take the
  // long way from the start.
  if (!number_run_may_start_symbol_) {
    int end = i + 1;
    while (number_bytes[text_[end]] & decimal_digit) ++end;
    if (text_[end] == '#') {
      const int closing = end + 1;
      for (end = closing; number_bytes[text_[end]] & extended_digit;) ++end;
      end = text_[end] == '#' ? end + 1 : -1;
    }
    if (end >= 0 && number_may_end_before(text_[end])) {
      token_length_ = end - i;
      move_to(end);
      return true;
    }
  }
  column_ = i + 1;
  current_char_ = text_[i];
  scan_number();
  token_length_ = column_ - token_column_;
  return true;
}

// Steps over the run of digits and underscores, as stepping while the number
// does not end and the byte belongs to the run would, but in one pass over
// the line: such a byte is never blank, so only a symbol start can end the
// number inside the run, and the run stops short there for the caller's full
// test. Long runs (table entries such as 16#0000_FFFF#) are searched in
// blocks when no digit, letter or underscore starts a symbol.
inline void TextParser::skip_number_run(bool extended) noexcept {
  if (column_ > line_length_) return;
  int i = column_ - 1;
  if (!number_run_may_start_symbol_) {
    move_to(static_cast<int>(text_scan::digit_run_end(text_, i, line_length_, extended)));
    return;
  }
  const auto in_run = extended ? is_extended_or_underscore : is_decimal_or_underscore;
  while (i < line_length_ && in_run(text_[i]) && !(class_bits_[text_[i]] & kSymbolStart)) ++i;
  move_to(i);
}

void TextParser::scan_number() {
  skip_number_run(false);
  // Most numbers are plain integers ended by a blank, the line end or a
  // one-character symbol other than the point of a real literal: settled here
  // without looking the symbol up. ('#' and the exponent letter are neither
  // blank nor single symbols unless a list makes them so, hence the tests.)
  if (const unsigned char c = current_char_;
      need_line_ || is_blank(c) || ((class_bits_[c] & kSingleSymbol) && c != '.' && c != '#' && c != 'E' && c != 'e'))
    return;
  while (!number_ends() && is_decimal_or_underscore(current_char_)) step();
  bool based = false;
  if (current_char_ == '#') {
    based = true;
    step();
    skip_number_run(true);
    while (!number_ends() && is_extended_or_underscore(current_char_)) step();
  }
  if (current_char_ == '.') {
    // "1..10" is a range: the dot belongs to "..", not to the number.
    const bool range_follows =
        column_ < line_length_ && text_[column_] == '.' && double_dot_is_symbol_;
    if (!range_follows) {
      step();
      auto is_digit = based ? is_extended_or_underscore : is_decimal_or_underscore;
      if (number_ends() || !is_digit(current_char_)) {
        kind_ = TokenKind::Text;
        return;
      }
      skip_number_run(based);
      while (!number_ends() && is_digit(current_char_)) step();
    }
  }
  if (based) {
    if (current_char_ != '#') {
      kind_ = TokenKind::Text;
      return;
    }
    step();
  }
  if (!number_ends() && (current_char_ == 'E' || current_char_ == 'e')) {
    step();
    // The sign is part of the exponent even though '+' and '-' are symbols.
    if ((current_char_ == '+' || current_char_ == '-') && column_ <= line_length_) step();
    skip_number_run(false);
    while (!number_ends() && is_decimal_or_underscore(current_char_)) step();
  }
  if (!number_ends()) {
    kind_ = TokenKind::Text;
    do step();
    while (!number_ends());
  }
}

int TextParser::keyword() const {
  if (kind_ != TokenKind::Keyword) throw WrongToken();
  return keyword_;
}

int TextParser::symbol() const {
  if (kind_ != TokenKind::Symbol) throw WrongToken();
  return symbol_;
}

}  // namespace flawseek
