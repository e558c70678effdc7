// What the preparation pass collects for the check pass: the names of the
// box-default generic formal subprograms ("with procedure Visit is <>;") of
// every specification of the tree, each once, compared exactly.
#pragma once

#include <string_view>

#include "platform/text_list.h"

namespace flawseek {

inline void add_box_default_name(TextList& names, std::string_view designator) {
  if (!names.contains(designator, /*case_sensitive=*/true)) names.append(designator);
}

namespace box_default_detail {

constexpr bool is_word_character(char c) noexcept {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

constexpr bool is_line_end(char c) noexcept { return c == '\n' || c == '\r'; }

// Whether the box at `box` may be a subprogram default: whether the reserved
// word before it, across blanks and line ends, may be "is". A line gone back
// over that holds "--" may end in a comment hiding that word: it may.
inline bool box_may_follow_is(std::string_view source, std::size_t box) noexcept {
  std::size_t end = box;  // one past the last character of the word before
  for (;;) {
    while (end > 0 && static_cast<unsigned char>(source[end - 1]) <= ' ' && !is_line_end(source[end - 1])) --end;
    if (end == 0 || !is_line_end(source[end - 1])) break;
    while (end > 0 && is_line_end(source[end - 1])) --end;
    const std::size_t line_end = end;
    while (end > 0 && !is_line_end(source[end - 1])) --end;
    if (source.substr(end, line_end - end).find("--") != std::string_view::npos) return true;
    end = line_end;
  }
  if (end == 0) return false;
  // A character beyond ASCII right before the box may be one the scanner
  // passes over: nothing is known.
  if (static_cast<unsigned char>(source[end - 1]) >= 0x80) return true;
  if (end < 2) return false;
  const char i = source[end - 2];
  const char s = source[end - 1];
  const bool spells_is = (i == 'i' || i == 'I') && (s == 's' || s == 'S');
  return spells_is && (end == 2 || !is_word_character(source[end - 3]));
}

}  // namespace box_default_detail

// Whether `source` may declare a box default at all: a subprogram default
// "is <>". The box is one lexical element, never split and with no
// replacement spelling, so a text where no box may follow the word "is"
// declares none. Most boxes stand for a range ("range <>") or a discrete
// formal type ("(<>)"), and most specifications with boxes need no parse.
inline bool may_hold_box_default(std::string_view source) noexcept {
  for (std::size_t box = source.find("<>"); box != std::string_view::npos; box = source.find("<>", box + 2)) {
    if (box_default_detail::box_may_follow_is(source, box)) return true;
  }
  return false;
}

}  // namespace flawseek
