// Building the words of a style finding, only for a finding that is reported.
#include "bugcheck/rules/style_message_detail.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/latin1.h"
#include "style/case_convention.h"
#include "stylecheck/identifier_rule.h"

namespace flawseek {

namespace {

// Per byte: whether it belongs to a name, and its upper- and lower-case
// forms. Tables, because the letter-case findings are many and each of
// their words is read and recased byte by byte.
struct ByteTables {
  std::array<bool, 256> word{};
  std::array<char, 256> upper{};
  std::array<char, 256> lower{};
};
constexpr ByteTables byte_tables = [] {
  ByteTables tables;
  for (int byte = 0; byte < 256; ++byte) {
    const auto c = static_cast<unsigned char>(byte);
    tables.word[c] = latin1::is_letter(c) || latin1::is_digit(c) || c == '_';
    tables.upper[c] = static_cast<char>(latin1::to_upper(c));
    tables.lower[c] = static_cast<char>(latin1::to_lower(c));
  }
  return tables;
}();

// The Mixed recasing's states: at a part's start (raise the byte), before
// its second letter (keep bytes until a letter decides), and decided for
// upper or for lower case.
constexpr std::uint8_t mixed_part_start = 0;
constexpr std::uint8_t mixed_undecided = 1;
constexpr std::uint8_t mixed_upper = 2;
constexpr std::uint8_t mixed_lower = 3;
struct MixedTables {
  std::array<char, 4 * 256> shown{};
  std::array<std::uint8_t, 4 * 256> next{};
};
constexpr MixedTables mixed_tables = [] {
  MixedTables tables;
  for (int state = 0; state < 4; ++state) {
    for (int byte = 0; byte < 256; ++byte) {
      const auto c = static_cast<unsigned char>(byte);
      const std::size_t at = static_cast<std::size_t>(state * 256 + byte);
      std::uint8_t next = static_cast<std::uint8_t>(state);
      char shown = static_cast<char>(c);
      if (c == '_') {
        next = mixed_part_start;
      } else if (state == mixed_part_start) {
        shown = byte_tables.upper[c];
        next = mixed_undecided;
      } else if (state == mixed_undecided) {
        if (latin1::is_letter(c)) next = latin1::is_upper(c) ? mixed_upper : mixed_lower;
      } else {
        shown = state == mixed_upper ? byte_tables.upper[c] : byte_tables.lower[c];
      }
      tables.shown[at] = shown;
      tables.next[at] = next;
    }
  }
  return tables;
}();

// The name that starts at `column` (1-based) of `line_text`; empty when none does.
std::string_view word_at(std::string_view line_text, int column) {
  if (column < 1 || static_cast<std::size_t>(column) > line_text.size()) return {};
  const std::size_t start = static_cast<std::size_t>(column - 1);
  std::size_t end = start;
  while (end < line_text.size() && byte_tables.word[static_cast<unsigned char>(line_text[end])]) ++end;
  return line_text.substr(start, end - start);
}

// `word` as `convention` spells it, written to `out` (word.size() bytes).
// Under Mixed each part between underscores starts upper case and keeps the
// case its second letter has, the smallest change that passes ("fooBar"
// becomes "Foobar", "HTTp" "HTTP").
void write_in_case(std::string_view word, CaseConvention convention, char* out) {
  const auto index = [](char c) { return static_cast<unsigned char>(c); };
  const std::array<char, 256>* recase = nullptr;
  switch (convention) {
    case CaseConvention::Lower:
      recase = &byte_tables.lower;
      break;
    case CaseConvention::Upper:
      recase = &byte_tables.upper;
      break;
    case CaseConvention::Mixed:
      recase = nullptr;
      break;
    case CaseConvention::Any:
      if (!word.empty()) std::memcpy(out, word.data(), word.size());
      return;
  }
  if (recase != nullptr) {
    for (const char c : word) *out++ = (*recase)[index(c)];
    return;
  }
  // Mixed, as a machine over the bytes: one look-up for the byte shown and
  // one for the state after it.
  std::uint8_t state = mixed_part_start;
  for (const char c : word) {
    const std::size_t at = state * 256u + index(c);
    *out++ = mixed_tables.shown[at];
    state = mixed_tables.next[at];
  }
}

// "reserved word `BEGIN` must be `begin`": sized once and written in place.
void describe_case(std::string_view what, std::string_view word, std::string_view spelled, CaseConvention convention,
                   std::string_view kept_end, std::string& out) {
  constexpr std::string_view between = "` must be `";
  out.resize(what.size() + 2 + word.size() + between.size() + spelled.size() + kept_end.size() + 1);
  char* at = out.data();
  const auto put = [&at](std::string_view piece) {
    // An empty piece may have no data at all, which memcpy must not be given.
    if (piece.empty()) return;
    std::memcpy(at, piece.data(), piece.size());
    at += piece.size();
  };
  put(what);
  put(" `");
  put(word);
  put(between);
  write_in_case(spelled, convention, at);
  at += spelled.size();
  put(kept_end);
  *at = '`';
}

}  // namespace

std::string_view style_message_detail(const ParserState& state, ParserMessage message, std::string_view line_text,
                                      int column, const StyleComplainants& complainants, std::string& room) {
  room.clear();
  if (message == ParserMessage::PARAMETER_MODE) {
    complainants.modes.describe_complaint(room);
    return room;
  }
  if (message == ParserMessage::STATEMENT_END_NAME_MISSING || message == ParserMessage::UNIT_END_NAME_MISSING) {
    // The word at the place is what follows END, not the missing name.
    const std::string_view name = complainants.end_names.missing_name();
    if (name.empty()) return {};
    room = "end must be followed by `";
    room += name;
    room += '`';
    return room;
  }
  // Mostly the word is the token just read, whose text the lexer holds.
  const bool at_previous_token = state.previous_token_line() == state.item_line() &&
                                 state.previous_token_column() == column && state.item_column() == column;
  const std::string_view word = at_previous_token ? state.previous_token_text() : word_at(line_text, column);
  if (word.empty()) return {};
  const StyleRules& rules = state.style_rules();
  switch (message) {
    case ParserMessage::KEYWORD_SPELLING:
      describe_case("reserved word", word, word, rules.keyword_case, {}, room);
      break;
    case ParserMessage::ATTRIBUTE_SPELLING:
    case ParserMessage::ASPECT_ATTRIBUTE_SPELLING: {
      const bool aspect = message == ParserMessage::ASPECT_ATTRIBUTE_SPELLING;
      describe_case(aspect ? "aspect mark" : "attribute", word, word, rules.attribute_case, {}, room);
      break;
    }
    case ParserMessage::PRAGMA_SPELLING:
    case ParserMessage::ASPECT_PRAGMA_SPELLING: {
      const bool aspect = message == ParserMessage::ASPECT_PRAGMA_SPELLING;
      describe_case(aspect ? "aspect mark" : "pragma name", word, word, rules.pragma_case, {}, room);
      break;
    }
    case ParserMessage::IDENTIFIER_SPELLING: {
      // An access type's "_class" ending is the rule's own form, never recased.
      const bool class_form = has_class_suffix(rules, word);
      const std::string_view spelled = class_form ? word.substr(0, word.size() - class_suffix.size()) : word;
      const std::string_view kept_end = class_form ? class_suffix : "";
      // Recased, a name may take a prefix form whose prefix wants upper case
      // ("e_ident" has none, "E_Ident" has E_); and a Standard type name may
      // be wanted as a subtype mark in upper case (INTEGER), which passes the
      // Mixed rule as well. The words name the spelling that passes, so that
      // a fix settles the name in one step.
      std::string respelled(spelled.size(), ' ');
      write_in_case(spelled, rules.identifier_case, respelled.data());
      respelled += kept_end;
      ParserMessage complaint{};
      const bool upper_wanted =
          (rules.upper_case_names_on && is_predefined_type_name(word)) ||
          (name_spelling_complaint(rules, respelled, complainants.identifiers.accepted_spellings(), complaint) &&
           complaint == ParserMessage::NOT_UPPER_CASE);
      describe_case("identifier", word, spelled, upper_wanted ? CaseConvention::Upper : rules.identifier_case, kept_end,
                    room);
      break;
    }
    case ParserMessage::NOT_UPPER_CASE:
      describe_case("name", word, word, CaseConvention::Upper, {}, room);
      room += " (upper case)";
      break;
    case ParserMessage::PACKAGE_NAME_SPELLING:
      describe_case("package name", word, complainants.identifiers.package_spelling(), CaseConvention::Any, {},
                    room);
      break;
    case ParserMessage::PREFIX_MISSING:
    case ParserMessage::ACCESS_TYPE_CLASS:
      complainants.prefixes.describe_complaint(rules, message, word, room);
      break;
    default:
      break;
  }
  return room;
}

std::string_view line_length_detail(std::size_t length, int limit, std::string& room) {
  room = "line is ";
  room += std::to_string(length);
  room += " characters long; the limit is ";
  room += std::to_string(limit);
  return room;
}

}  // namespace flawseek
