// The table-driven scanner: character classes, list validation, the lookup
// tables built from the lists, and the token rules (symbols, Ada numbers, words).
#include "frontend/text_parser.h"

#include <algorithm>
#include <cstring>

#include "platform/latin1.h"

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

constexpr bool is_decimal_or_underscore(unsigned char c) {
  return latin1::is_digit(c) || c == '_';
}
constexpr bool is_extended_or_underscore(unsigned char c) {
  return is_decimal_or_underscore(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// FNV-1a; keyword texts are short, so a byte loop is all it takes.
inline std::uint32_t hash_step(std::uint32_t h, unsigned char c) {
  return (h ^ c) * 16777619u;
}
constexpr std::uint32_t hash_seed = 2166136261u;

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
    : max_line_length_(max_line_length), classes_(classes) {
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    const bool letter = classes == CharacterClasses::Latin1 ? latin1::is_letter(c)
                                                            : is_basic_letter(c);
    std::uint8_t bits = 0;
    if (letter || c == '_') bits |= kIdentifierStart;
    if (letter || c == '_' || latin1::is_digit(c)) bits |= kIdentifierChar;
    if (letter || latin1::is_digit(c)) bits |= kAlphanumeric;
    class_bits_[b] = bits;
    fold_[b] = c;
  }
}

const std::string& TextParser::line() const noexcept {
  static const std::string no_line;
  return line_ ? *line_ : no_line;
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
  std::size_t size = 16;
  while (size < static_cast<std::size_t>(count) * 2) size *= 2;
  keyword_slots_.assign(size, KeywordSlot{});
  keyword_mask_ = static_cast<std::uint32_t>(size - 1);
  shortest_keyword_ = 0;
  longest_keyword_ = 0;
  const auto* text = reinterpret_cast<const unsigned char*>(keyword_list_.data());
  for_each_entry(keyword_list_, [&](int offset, int length, int position) {
    if (length == 0) return;
    std::uint32_t h = hash_seed;
    for (int k = 0; k < length; ++k) h = hash_step(h, text[offset + k]);
    std::uint32_t i = h & keyword_mask_;
    while (keyword_slots_[i].offset >= 0) {
      const KeywordSlot& slot = keyword_slots_[i];
      // The first occurrence of a repeated entry keeps its position.
      if (slot.hash == h && slot.length == length &&
          std::memcmp(text + slot.offset, text + offset, length) == 0)
        return;
      i = (i + 1) & keyword_mask_;
    }
    keyword_slots_[i] = KeywordSlot{h, offset, length, position};
    if (shortest_keyword_ == 0 || length < shortest_keyword_) shortest_keyword_ = length;
    longest_keyword_ = std::max(longest_keyword_, length);
  });
}

int TextParser::lookup_keyword(const unsigned char* token, int length) const noexcept {
  if (length < shortest_keyword_ || length > longest_keyword_) return -1;
  std::uint32_t h = hash_seed;
  for (int k = 0; k < length; ++k) h = hash_step(h, fold_[token[k]]);
  const auto* text = reinterpret_cast<const unsigned char*>(keyword_list_.data());
  for (std::uint32_t i = h & keyword_mask_; keyword_slots_[i].offset >= 0;
       i = (i + 1) & keyword_mask_) {
    const KeywordSlot& slot = keyword_slots_[i];
    if (slot.hash != h || slot.length != length) continue;
    const unsigned char* entry = text + slot.offset;
    int k = 0;
    while (k < length && fold_[token[k]] == entry[k]) ++k;
    if (k == length) return slot.position;
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
  for (auto& bits : class_bits_) bits &= static_cast<std::uint8_t>(~(kSymbolStart | kSingleSymbol));
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
  });
  // Group by first byte, longest first: the first entry that matches is the
  // longest candidate, as the longest-match rule asks.
  std::stable_sort(entries.begin(), entries.end(), [&](const SymbolEntry& a, const SymbolEntry& b) {
    if (text[a.offset] != text[b.offset]) return text[a.offset] < text[b.offset];
    return a.length > b.length;
  });
  symbol_entries_ = std::move(entries);
  std::size_t e = 0;
  for (int b = 0; b <= 256; ++b) {
    while (b < 256 && e < symbol_entries_.size() && text[symbol_entries_[e].offset] < b) ++e;
    if (b == 256) e = symbol_entries_.size();
    symbol_first_[b] = static_cast<int>(e);
  }
}

// ---------------------------------------------------------------------------
// Characters

void TextParser::refresh_line() noexcept {
  text_ = reinterpret_cast<const unsigned char*>(line_->data());
  line_length_ = static_cast<int>(line_->size());
}

void TextParser::set_text(std::string* line, int start_column) {
  line_ = line;
  refresh_line();
  if (start_column < 1) start_column = 1;
  column_ = start_column - 1;
  kind_ = TokenKind::Text;
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

void TextParser::next_char() {
  if (!need_line_) {
    if (column_ <= line_length_) step();
    return;
  }
  need_line_ = false;
  if (reader_ == nullptr || line_ == nullptr) {
    // No line source: the end of the given text is the end of the source.
    line_length_ = 0;
    return;
  }
  reader_->read_line(*line_, line_number_);
  refresh_line();
  if (line_length_ > max_line_length_) throw LineTooLong();
  if (line_length_ == 0) return;
  column_ = 1;
  current_char_ = text_[0];
}

void TextParser::skip_blanks() {
  for (;;) {
    while (need_line_) next_char();
    if (!is_blank(current_char_) || column_ > line_length_) return;
    int i = column_;
    while (i < line_length_ && is_blank(text_[i])) ++i;
    // text_[i] is the character at column i + 1: the first after the blanks.
    column_ = i;
    step();
  }
}

// ---------------------------------------------------------------------------
// Tokens

int TextParser::match_symbol(int& position) const noexcept {
  const unsigned char c = current_char_;
  if (!(class_bits_[c] & kSymbolStart) || column_ > line_length_) return 0;
  const int left = line_length_ - column_ + 1;
  const int n = std::min(left, longest_symbol_);
  // A longer symbol needs a following character that is neither blank nor
  // alphanumeric; otherwise only a one-character symbol can match.
  if (n > 1 && !is_blank(text_[column_]) && !(class_bits_[text_[column_]] & kAlphanumeric)) {
    const unsigned char* here = text_ + column_ - 1;
    for (int e = symbol_first_[c]; e < symbol_first_[c + 1]; ++e) {
      const SymbolEntry& entry = symbol_entries_[e];
      if (entry.length <= n &&
          std::memcmp(here, symbol_list_.data() + entry.offset, entry.length) == 0) {
        position = entry.position;
        return entry.length;
      }
    }
  }
  if (!(class_bits_[c] & kSingleSymbol)) return 0;
  position = single_symbol_position_[c];
  return 1;
}

inline bool TextParser::symbol_starts_here() const noexcept {
  int position;
  return (class_bits_[current_char_] & kSymbolStart) && match_symbol(position) > 0;
}

// The end of a numeric literal: a blank, the end of the line or a symbol.
inline bool TextParser::number_ends() const noexcept {
  return is_blank(current_char_) || column_ > line_length_ || symbol_starts_here();
}

bool TextParser::next_token() {
  skip_blanks();
  if (at_end()) {
    token_column_ += token_length_;
    token_length_ = 0;
    kind_ = TokenKind::Text;
    return false;
  }
  token_column_ = column_;
  token_line_ = line_number_;

  int position = 0;
  const int symbol_length = match_symbol(position);
  if (symbol_length > 0) {
    kind_ = TokenKind::Symbol;
    symbol_ = position;
    token_length_ = symbol_length;
    column_ += symbol_length - 1;
    step();
    return true;
  }
  if (latin1::is_digit(current_char_)) {
    kind_ = TokenKind::Number;
    scan_number();
  } else {
    scan_word();
  }
  token_length_ = column_ - token_column_;
  return true;
}

void TextParser::scan_word() {
  kind_ = (class_bits_[current_char_] & kIdentifierStart) ? TokenKind::Identifier : TokenKind::Text;
  int i = column_ - 1;  // 0-based index of the current character
  while (i < line_length_ && (class_bits_[text_[i]] & kIdentifierChar)) ++i;
  column_ = i;
  step();
  // Anything glued on that is neither blank nor symbol makes the run Text.
  if (!is_blank(current_char_) && column_ <= line_length_ && !symbol_starts_here()) {
    kind_ = TokenKind::Text;
    do step();
    while (!is_blank(current_char_) && column_ <= line_length_ && !symbol_starts_here());
  }
  const int length = column_ - token_column_;
  const int keyword = lookup_keyword(text_ + token_column_ - 1, length);
  if (keyword >= 0) {
    kind_ = TokenKind::Keyword;
    keyword_ = keyword;
  }
}

void TextParser::scan_number() {
  while (!number_ends() && is_decimal_or_underscore(current_char_)) step();
  bool based = false;
  if (current_char_ == '#') {
    based = true;
    step();
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
    while (!number_ends() && is_decimal_or_underscore(current_char_)) step();
  }
  if (!number_ends()) {
    kind_ = TokenKind::Text;
    do step();
    while (!number_ends());
  }
}

std::string_view TextParser::token_text() const noexcept {
  if (token_length_ == 0 || line_ == nullptr) return {};
  const std::size_t start = static_cast<std::size_t>(token_column_ - 1);
  const std::size_t size = line_->size();
  if (start >= size) return {};
  return std::string_view(line_->data() + start, std::min<std::size_t>(token_length_, size - start));
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
