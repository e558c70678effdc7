// The words of a file's style command ("-->STYLE: TAVIK") and the rules each
// word installs for the rest of the file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "style/style_rules.h"

namespace flawseek {

enum class StyleKeyword : std::uint8_t {
  KEYWORD_STYLE,
  KEYWORD_NONE,
  KEYWORD_TAVIK,
  KEYWORD_TAVIK_95,
  KEYWORD_BRIGHTMOOR,
};

inline constexpr int style_keyword_count = 5;
static_assert(static_cast<int>(StyleKeyword::KEYWORD_BRIGHTMOOR) + 1 == style_keyword_count);
inline constexpr std::array<std::string_view, style_keyword_count> style_keyword_images = {
    "KEYWORD_STYLE", "KEYWORD_NONE", "KEYWORD_TAVIK", "KEYWORD_TAVIK_95", "KEYWORD_BRIGHTMOOR"};

constexpr std::string_view image(StyleKeyword keyword) {
  return style_keyword_images[static_cast<std::size_t>(keyword)];
}

// The word a user writes: the literal without its "KEYWORD_" prefix.
constexpr std::string_view command_word(StyleKeyword keyword) {
  return image(keyword).substr(std::string_view("KEYWORD_").size());
}

// The keyword a written word names, in any letter case; nothing for other words.
std::optional<StyleKeyword> find_style_keyword(std::string_view word);

// The rules "STYLE: <word>" installs: NONE the Default value, TAVIK, TAVIK_95
// and BRIGHTMOOR their templates. Any other word (STYLE itself included)
// installs nothing and the file keeps its rules.
std::optional<StyleRules> installed_style_rules(std::string_view word);

}  // namespace flawseek
