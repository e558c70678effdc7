// Building the words of a style finding, only for a finding that is reported.
#include "bugcheck/rules/style_message_detail.h"

#include "platform/latin1.h"
#include "style/case_convention.h"
#include "stylecheck/identifier_rule.h"

namespace flawseek {

namespace {

bool is_word_character(unsigned char c) { return latin1::is_letter(c) || latin1::is_digit(c) || c == '_'; }

// The name that starts at `column` (1-based) of `line_text`; empty when none does.
std::string_view word_at(std::string_view line_text, int column) {
  if (column < 1 || static_cast<std::size_t>(column) > line_text.size()) return {};
  const std::size_t start = static_cast<std::size_t>(column - 1);
  std::size_t end = start;
  while (end < line_text.size() && is_word_character(static_cast<unsigned char>(line_text[end]))) ++end;
  return line_text.substr(start, end - start);
}

// `word` as `convention` spells it. Under Mixed each part between
// underscores starts upper case and keeps the case its second letter has,
// the smallest change that passes ("fooBar" becomes "Foobar", "HTTp" "HTTP").
void append_in_case(std::string_view word, CaseConvention convention, std::string& out) {
  bool part_start = true;
  int part_case = 0;  // 0 undecided, 1 upper, -1 lower
  for (const char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    unsigned char shown = byte;
    switch (convention) {
      case CaseConvention::Lower:
        shown = latin1::to_lower(byte);
        break;
      case CaseConvention::Upper:
        shown = latin1::to_upper(byte);
        break;
      case CaseConvention::Mixed:
        if (c == '_') {
          part_start = true;
        } else if (part_start) {
          shown = latin1::to_upper(byte);
          part_start = false;
          part_case = 0;
        } else if (latin1::is_letter(byte)) {
          if (part_case == 0) part_case = latin1::is_upper(byte) ? 1 : -1;
          shown = part_case > 0 ? latin1::to_upper(byte) : latin1::to_lower(byte);
        }
        break;
      case CaseConvention::Any:
        break;
    }
    out += static_cast<char>(shown);
  }
}

void append_quoted(std::string_view text, std::string& out) {
  out += '`';
  out += text;
  out += '`';
}

// "reserved word `BEGIN` must be `begin`".
void describe_case(std::string_view what, std::string_view word, std::string_view spelled, CaseConvention convention,
                   std::string_view kept_end, std::string& out) {
  out += what;
  out += ' ';
  append_quoted(word, out);
  out += " must be `";
  append_in_case(spelled, convention, out);
  out += kept_end;
  out += '`';
}

}  // namespace

std::string_view style_message_detail(const ParserState& state, ParserMessage message, std::string_view line_text,
                                      int column, const StyleComplainants& complainants, std::string& room) {
  room.clear();
  if (message == ParserMessage::PARAMETER_MODE) {
    complainants.modes.describe_complaint(room);
    return room;
  }
  const std::string_view word = word_at(line_text, column);
  if (word.empty()) return {};
  const StyleRules& rules = state.style_rules();
  switch (message) {
    case ParserMessage::KEYWORD_SPELLING:
      describe_case("reserved word", word, word, rules.keyword_case, {}, room);
      break;
    case ParserMessage::ATTRIBUTE_SPELLING:
      describe_case("attribute", word, word, rules.attribute_case, {}, room);
      break;
    case ParserMessage::PRAGMA_SPELLING:
      describe_case("pragma name", word, word, rules.pragma_case, {}, room);
      break;
    case ParserMessage::IDENTIFIER_SPELLING: {
      // An access type's "_class" ending is the rule's own form, never recased.
      const bool class_form = has_class_suffix(rules, word);
      const std::string_view spelled = class_form ? word.substr(0, word.size() - class_suffix.size()) : word;
      describe_case("identifier", word, spelled, rules.identifier_case, class_form ? class_suffix : "", room);
      break;
    }
    case ParserMessage::NOT_UPPER_CASE:
      describe_case("name", word, word, CaseConvention::Upper, {}, room);
      room += " (upper case)";
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
