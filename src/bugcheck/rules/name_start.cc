// Reading a completed name back over its line to find its first word.
#include "bugcheck/rules/name_start.h"

#include <cstddef>

#include "bugcheck/rules/use_position.h"
#include "frontend/text_utilities.h"

namespace flawseek {

namespace {

bool word_character(char c) noexcept {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u >= 0xC0;
}

// Reads `line` backwards from just before `end`.
class BackwardReader {
 public:
  BackwardReader(std::string_view line, std::size_t end) : line_(line), at_(end) {}

  std::size_t at() const noexcept { return at_; }
  void skip_blanks() noexcept {
    while (at_ > 0 && (line_[at_ - 1] == ' ' || line_[at_ - 1] == '\t')) --at_;
  }
  bool before_is(char c) noexcept {
    skip_blanks();
    return at_ > 0 && line_[at_ - 1] == c;
  }
  bool take(char c) noexcept {
    if (!before_is(c)) return false;
    --at_;
    return true;
  }
  // The word ending here, or empty.
  std::string_view take_word() noexcept {
    skip_blanks();
    const std::size_t end = at_;
    while (at_ > 0 && word_character(line_[at_ - 1])) --at_;
    return line_.substr(at_, end - at_);
  }
  // A parenthesised part ending here, with the parts nested in it; a
  // parenthesis inside a literal may end it early, and the words read
  // after it then fail to match.
  bool take_parenthesised() noexcept {
    if (!take(')')) return false;
    int depth = 1;
    while (at_ > 0 && depth > 0) {
      const char c = line_[--at_];
      if (c == ')') ++depth;
      if (c == '(') --depth;
    }
    return depth == 0;
  }

 private:
  std::string_view line_;
  std::size_t at_;
};

// The words of `name`, last first, against the line; the column of the
// first word, or 0 when the line does not show them.
int first_word_column(std::string_view line, std::size_t end, std::string_view name) noexcept {
  BackwardReader reader(line, end);
  std::size_t word_end = name.size();
  for (;;) {
    while (reader.take_parenthesised()) {
    }
    const std::string_view word = reader.take_word();
    if (word.empty()) return 0;
    const std::size_t word_column = reader.at() + 1;
    // A word after an apostrophe is an attribute's designator, which the
    // name's text leaves out.
    if (reader.take('\'')) continue;
    if (word_end == 0) return 0;
    const std::size_t dot = name.rfind('.', word_end - 1);
    const std::size_t word_begin = dot == std::string_view::npos ? 0 : dot + 1;
    if (!same_name(word, name.substr(word_begin, word_end - word_begin))) return 0;
    if (word_begin == 0) return static_cast<int>(word_column);
    if (!reader.take('.')) return 0;
    word_end = dot;
  }
}

// The column index of the token consumed last in its line's text, or npos
// when the text held there is another.
std::size_t previous_token_index(const ParserState& state, std::string_view line) noexcept {
  const int column = state.previous_token_column();
  const std::string_view last = state.previous_token_text();
  if (column < 1 || last.empty()) return std::string_view::npos;
  const auto begin = static_cast<std::size_t>(column - 1);
  return begin < line.size() && line.substr(begin, last.size()) == last ? begin : std::string_view::npos;
}

}  // namespace

SourcePosition name_start(const ParserState& state, std::string_view name) noexcept {
  const std::string_view line = state.previous_token_line_text();
  const std::size_t begin = previous_token_index(state, line);
  if (!name.empty() && begin != std::string_view::npos) {
    const int first = first_word_column(line, begin + state.previous_token_text().size(), name);
    if (first > 0) return {state.previous_token_line(), first};
  }
  return use_position(state);
}

std::string_view word_before_previous_token(const ParserState& state) noexcept {
  const std::string_view line = state.previous_token_line_text();
  const std::size_t begin = previous_token_index(state, line);
  if (begin == std::string_view::npos) return {};
  BackwardReader reader(line, begin);
  return reader.take_word();
}

}  // namespace flawseek
