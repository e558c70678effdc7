// The rewrite of Ada's replacement characters to the standard delimiters.
#include "frontend/replacement_characters.h"

#include <cstring>

namespace flawseek {
namespace {

bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }
bool is_extended_digit(char c) noexcept {
  return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '_';
}
// Letters of Latin-1 included: a byte above 127 may be part of an identifier.
bool is_word_char(char c) noexcept {
  const auto u = static_cast<unsigned char>(c);
  return is_digit(c) || c == '_' || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0xC0;
}

// The position just after the string literal opened by the quotation mark at
// `open`, or npos when it is not closed on the line.
std::size_t after_string(const std::string& line, std::size_t open) noexcept {
  std::size_t start = open + 1;
  for (;;) {
    const std::size_t close = line.find('"', start);
    if (close == std::string::npos) return close;
    if (close + 1 < line.size() && line[close + 1] == '"') {
      start = close + 2;
      continue;
    }
    return close + 1;
  }
}

// An apostrophe opens a character literal unless it follows a name (a tick).
bool opens_character_literal(const std::string& line, std::size_t at) noexcept {
  if (at + 2 >= line.size() || line[at + 2] != '\'') return false;
  if (at == 0) return true;
  const char before = line[at - 1];
  return !is_word_char(before) && before != ')';
}

// The closing "%" of a percent-delimited string opened at `open`, or npos when
// there is none on the line or the text holds a quotation mark (then "%" is
// not a replacement but a stray character).
std::size_t percent_string_close(const std::string& line, std::size_t open) noexcept {
  std::size_t start = open + 1;
  for (;;) {
    const std::size_t close = line.find('%', start);
    if (close == std::string::npos) return close;
    if (close + 1 < line.size() && line[close + 1] == '%') {
      start = close + 2;
      continue;
    }
    if (std::memchr(line.data() + open, '"', close - open) != nullptr) return std::string::npos;
    return close;
  }
}

// At the first digit of a numeric literal: rewrites "base:digits:" to
// "base#digits#" and returns the position after the literal's digits.
std::size_t rewrite_based_literal(std::string& line, std::size_t at, bool& changed) noexcept {
  std::size_t i = at;
  while (i < line.size() && (is_digit(line[i]) || line[i] == '_')) ++i;
  if (i >= line.size() || line[i] != ':') return i;
  std::size_t j = i + 1;
  while (j < line.size() && (is_extended_digit(line[j]) || line[j] == '.')) ++j;
  // "X (1):=" or a colon that closes nothing is no based literal. A closing
  // colon may well be followed by "=": in "B:=3:10:=3:10:;" the literal is
  // compared for equality (no numeric literal is ever followed by ":" itself).
  if (j == i + 1 || j >= line.size() || line[j] != ':') return i;
  line[i] = '#';
  line[j] = '#';
  changed = true;
  return j + 1;
}

}  // namespace

bool use_standard_delimiters(std::string& line) noexcept {
  bool changed = false;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == '"') {
      i = after_string(line, i);
      if (i == std::string::npos) break;
    } else if (c == '\'') {
      i += opens_character_literal(line, i) ? 3 : 1;
    } else if (c == '!') {
      line[i++] = '|';
      changed = true;
    } else if (c == '%') {
      const std::size_t close = percent_string_close(line, i);
      if (close == std::string::npos) {
        ++i;
        continue;
      }
      line[i] = '"';
      line[close] = '"';
      changed = true;
      i = close + 1;
    } else if (is_digit(c)) {
      i = rewrite_based_literal(line, i, changed);
    } else if (is_word_char(c)) {
      // An identifier: its digits start no literal.
      while (i < line.size() && is_word_char(line[i])) ++i;
    } else {
      ++i;
    }
  }
  return changed;
}

}  // namespace flawseek
