// Mending a text and checking the mended text token by token.
#include "output/fixed_source.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "frontend/ada_tokens.h"
#include "frontend/text_utilities.h"

namespace flawseek {

namespace {

// Per byte: part of a word (letters, digits, '_', and every byte above 127,
// which Latin-1 and UTF-8 letters use), or a blank between tokens.
constexpr std::array<bool, 256> word_bytes = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) {
    table[static_cast<std::size_t>(c)] =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
  }
  return table;
}();
bool is_word_byte(unsigned char c) { return word_bytes[c]; }
bool is_blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

enum class TokenClass : std::uint8_t { Word, Number, Text, Comment, Symbol };

struct Token {
  TokenClass what;
  std::size_t start;
  std::size_t size;
};

// A word that names something: any but the reserved words, except ALL
// (X.all'Access).
bool is_name(std::string_view text, const Token& token) {
  if (token.what != TokenClass::Word) return false;
  const std::string_view word = text.substr(token.start, token.size);
  // Reserved words are 2 to 12 letters; the rest are names at once.
  constexpr std::size_t longest = 12;
  if (word.size() < 2 || word.size() > longest) return true;
  char lower[longest];
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  const std::string_view folded(lower, word.size());
  if (folded == "all") return true;
  return std::find(ada_keyword_images.begin(), ada_keyword_images.end(), folded) == ada_keyword_images.end();
}

// The tokens of an Ada text, read plainly and apart from the analysis's
// scanner, so that a fault there cannot hide a changed token here: words
// (reserved or not), numbers, string and character literals, comments and
// single delimiter bytes. A comment or literal must come through unchanged.
void read_tokens(std::string_view text, std::vector<Token>& tokens) {
  tokens.clear();
  const auto at = [&text](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : '\0'; };
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = at(i);
    if (is_blank(c)) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    TokenClass what = TokenClass::Symbol;
    if (c == '-' && at(i + 1) == '-') {
      what = TokenClass::Comment;
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c >= '0' && c <= '9') {
      what = TokenClass::Number;
      while (i < text.size()) {
        const unsigned char d = at(i);
        if (is_word_byte(d) || d == '#') {
          ++i;
        } else if (d == '.' && at(i + 1) != '.') {
          ++i;
        } else if ((d == '+' || d == '-') && (at(i - 1) == 'e' || at(i - 1) == 'E')) {
          ++i;
        } else {
          break;
        }
      }
    } else if (is_word_byte(c)) {
      what = TokenClass::Word;
      while (i < text.size() && is_word_byte(at(i))) ++i;
    } else if (c == '"') {
      what = TokenClass::Text;
      ++i;
      while (i < text.size() && text[i] != '\n') {
        if (text[i] == '"' && at(i + 1) != '"') break;
        i += text[i] == '"' ? 2 : 1;
      }
      if (i < text.size() && text[i] == '"') ++i;
    } else if (c == '\'') {
      // After a name (ALL included), a closing parenthesis or a literal the
      // apostrophe is an attribute's or a qualification's; elsewhere, after
      // WHEN or a delimiter, it opens a character literal (whose character
      // may take several bytes in UTF-8).
      const bool tick = !tokens.empty() && (is_name(text, tokens.back()) || tokens.back().what == TokenClass::Text ||
                                            (tokens.back().what == TokenClass::Symbol && text[tokens.back().start] == ')'));
      std::size_t close = i + 2;
      while (!tick && close < text.size() && close <= i + 5 && text[close] != '\'' && text[close] != '\n') ++close;
      if (!tick && at(close) == '\'') {
        what = TokenClass::Text;
        i = close + 1;
      } else {
        ++i;
      }
    } else {
      ++i;
    }
    tokens.push_back({what, start, i - start});
  }
}

// The offset of each line's first byte up to line `last` (a line ends at
// its '\n'); fewer when the text has fewer lines.
std::vector<std::size_t> line_starts(std::string_view text, std::int32_t last) {
  std::vector<std::size_t> starts{0};
  starts.reserve(static_cast<std::size_t>(std::max(last, 1)));
  std::size_t at = 0;
  while (static_cast<std::int32_t>(starts.size()) < last) {
    const void* end = std::memchr(text.data() + at, '\n', text.size() - at);
    if (end == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1;
    starts.push_back(at);
  }
  return starts;
}

struct PlacedFix {
  std::size_t index;   // in the fixes given
  std::size_t offset;  // of its first byte in the text
};

// The tokens of the two texts compared, in room that serves line after line.
struct TokenRoom {
  std::vector<Token> before;
  std::vector<Token> after;
};

// The first place where the mended text's tokens part from the old ones,
// as "line N"; empty when they agree. `inserted` holds the ranges of the
// new text that insertions wrote, in rising order.

std::string first_difference(std::string_view old_text, std::string_view new_text,
                             const std::vector<std::pair<std::size_t, std::size_t>>& inserted, TokenRoom& room,
                             int first_line = 1) {
  read_tokens(old_text, room.before);
  read_tokens(new_text, room.after);
  const std::vector<Token>& before = room.before;
  const std::vector<Token>& after = room.after;
  const auto line_of = [&new_text, first_line](std::size_t offset) {
    return first_line + std::count(new_text.begin(), new_text.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
  };
  std::size_t old_index = 0;
  std::size_t range = 0;
  for (const Token& token : after) {
    while (range < inserted.size() && inserted[range].second <= token.start) ++range;
    const bool in_insertion = range < inserted.size() && token.start >= inserted[range].first;
    if (in_insertion) {
      // An end name written in: a name or its dots, wholly inside what was written.
      const bool name_part = token.what == TokenClass::Word || (token.what == TokenClass::Symbol && new_text[token.start] == '.');
      if (!name_part || token.start + token.size > inserted[range].second) {
        return "line " + std::to_string(line_of(token.start));
      }
      continue;
    }
    if (old_index >= before.size()) return "line " + std::to_string(line_of(token.start));
    const Token& old = before[old_index++];
    const std::string_view old_word = old_text.substr(old.start, old.size);
    const std::string_view new_word = new_text.substr(token.start, token.size);
    const bool same = old.what == token.what &&
                      (token.what == TokenClass::Word ? old_word.size() == new_word.size() && same_name(old_word, new_word)
                                                      : old_word == new_word);
    if (!same) return "line " + std::to_string(line_of(token.start));
  }
  if (old_index != before.size()) return "line " + std::to_string(line_of(new_text.size()));
  return {};
}

}  // namespace

FixedSource apply_fixes(std::string_view text, std::span<const SourceFix> fixes) {
  FixedSource result;
  result.states.assign(fixes.size(), FixState::Stale);
  std::int32_t last_line = 0;
  for (const SourceFix& fix : fixes) last_line = std::max(last_line, fix.line);
  // One line more than the last fixed one, where its end is.
  const std::vector<std::size_t> starts = line_starts(text, last_line + 1);
  // Where a line (1-based, within starts) begins and ends, its '\n' left out.
  const auto line_bounds = [&](std::int32_t line) {
    const auto index = static_cast<std::size_t>(line);
    return std::pair{starts[index - 1], index < starts.size() ? starts[index] - 1 : text.size()};
  };

  // Each fix placed where the text still reads as its finding saw it.
  std::vector<PlacedFix> placed;
  for (std::size_t index = 0; index < fixes.size(); ++index) {
    const SourceFix& fix = fixes[index];
    if (fix.line < 1 || static_cast<std::size_t>(fix.line) > starts.size() || fix.column < 1) continue;
    const auto [line_start, line_end] = line_bounds(fix.line);
    const std::size_t offset = line_start + static_cast<std::size_t>(fix.column - 1);
    if (offset + fix.replaced.size() > line_end) continue;
    if (text.substr(offset, fix.replaced.size()) != fix.replaced) continue;
    // A respelling replaces a whole word, never the start or end of a longer one.
    if (!fix.replaced.empty()) {
      const bool joined_before = offset > line_start && is_word_byte(static_cast<unsigned char>(text[offset - 1]));
      const std::size_t after = offset + fix.replaced.size();
      const bool joined_after = after < text.size() && is_word_byte(static_cast<unsigned char>(text[after]));
      if (joined_before || joined_after) continue;
    }
    placed.push_back({index, offset});
  }
  std::stable_sort(placed.begin(), placed.end(), [](const PlacedFix& a, const PlacedFix& b) { return a.offset < b.offset; });

  // The same fix given twice (two kinds asking the same) goes in once;
  // fixes that claim the same text for different results go in neither.
  std::vector<PlacedFix> kept;
  for (std::size_t i = 0; i < placed.size();) {
    std::size_t j = i + 1;
    const SourceFix& first = fixes[placed[i].index];
    std::size_t end = placed[i].offset + first.replaced.size();
    bool conflict = false;
    while (j < placed.size() && (placed[j].offset < end || (placed[j].offset == placed[i].offset))) {
      const SourceFix& other = fixes[placed[j].index];
      if (!(other.replaced == first.replaced && other.replacement == first.replacement && placed[j].offset == placed[i].offset)) conflict = true;
      end = std::max(end, placed[j].offset + other.replaced.size());
      ++j;
    }
    for (std::size_t k = i; k < j; ++k) result.states[placed[k].index] = conflict ? FixState::Conflict : FixState::Applied;
    if (!conflict) kept.push_back(placed[i]);
    i = j;
  }
  if (kept.empty()) return result;

  // The mended text, and the lines the mends touched: a token never spans
  // two lines in Ada, so the tokens of the other lines cannot have changed.
  struct EditedLine {
    int number;
    std::size_t old_start, old_end, new_start, new_end;
    std::vector<std::pair<std::size_t, std::size_t>> inserted;  // from new_start
  };
  std::vector<EditedLine> edited;
  std::string mended;
  mended.reserve(text.size() + 64);
  std::vector<std::pair<std::size_t, std::size_t>> inserted;
  std::size_t copied = 0;
  for (const PlacedFix& place : kept) {
    const SourceFix& fix = fixes[place.index];
    mended.append(text.substr(copied, place.offset - copied));
    if (edited.empty() || edited.back().number != fix.line) {
      const auto [start, end] = line_bounds(fix.line);
      const std::size_t shift = mended.size() - place.offset;  // what insertions before this line added
      edited.push_back({fix.line, start, end, start + shift, end + shift, {}});
    }
    EditedLine& line = edited.back();
    if (fix.replaced.empty()) {
      inserted.emplace_back(mended.size(), mended.size() + fix.replacement.size());
      line.inserted.emplace_back(mended.size() - line.new_start, mended.size() - line.new_start + fix.replacement.size());
      line.new_end += fix.replacement.size();
    }
    mended.append(fix.replacement);
    copied = place.offset + fix.replaced.size();
  }
  mended.append(text.substr(copied));

  // An apostrophe that opens a line is read by what the line before ended
  // with: such a line is compared with the whole text around it.
  const bool whole_text = std::any_of(edited.begin(), edited.end(), [&text](const EditedLine& line) {
    const std::size_t first = text.find_first_not_of(" \t\f\v\r", line.old_start);
    return first < line.old_end && text[first] == '\'';
  });
  std::string where;
  TokenRoom room;
  if (whole_text) {
    where = first_difference(text, mended, inserted, room);
  } else {
    for (const EditedLine& line : edited) {
      where = first_difference(text.substr(line.old_start, line.old_end - line.old_start),
                               std::string_view(mended).substr(line.new_start, line.new_end - line.new_start),
                               line.inserted, room, line.number);
      if (!where.empty()) break;
    }
  }
  if (!where.empty()) {
    for (FixState& state : result.states) {
      if (state == FixState::Applied) state = FixState::Refused;
    }
    result.refusal = "the fixes would change the tokens at " + where;
    return result;
  }
  result.applied = static_cast<std::size_t>(std::count(result.states.begin(), result.states.end(), FixState::Applied));
  result.text = std::move(mended);
  return result;
}

}  // namespace flawseek
