// Style command words and the rules they install.
#include "style/style_command.h"

#include "platform/latin1.h"

namespace flawseek {

std::optional<StyleKeyword> find_style_keyword(std::string_view word) {
  for (int position = 0; position < style_keyword_count; ++position) {
    const auto keyword = static_cast<StyleKeyword>(position);
    if (latin1::equal_ignoring_case(word, command_word(keyword))) return keyword;
  }
  return std::nullopt;
}

std::optional<StyleRules> installed_style_rules(std::string_view word) {
  const std::optional<StyleKeyword> keyword = find_style_keyword(word);
  if (!keyword) return std::nullopt;
  switch (*keyword) {
    case StyleKeyword::KEYWORD_NONE: return default_style_rules;
    case StyleKeyword::KEYWORD_TAVIK: return tavik_style_rules;
    case StyleKeyword::KEYWORD_TAVIK_95: return tavik_95_style_rules;
    case StyleKeyword::KEYWORD_BRIGHTMOOR: return brightmoor_style_rules;
    case StyleKeyword::KEYWORD_STYLE: break;
  }
  return std::nullopt;
}

}  // namespace flawseek
