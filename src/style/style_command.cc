// Style command words and the rules they install.
#include "style/style_command.h"

namespace flawseek {

namespace {

// Command words are plain ASCII, so an ASCII fold is exact here.
bool same_word_ignoring_case(std::string_view written, std::string_view word) {
  if (written.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = written[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<StyleKeyword> find_style_keyword(std::string_view word) {
  for (int position = 0; position < style_keyword_count; ++position) {
    const auto keyword = static_cast<StyleKeyword>(position);
    if (same_word_ignoring_case(word, command_word(keyword))) return keyword;
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
