// Reading "STYLE: <word>" with the style commands' own scanner.
#include "stylecheck/style_command_parser.h"

#include <array>

#include "frontend/ada_token_lists.h"

namespace flawseek {

namespace {

const std::string& style_command_keyword_list() {
  static const std::string list = [] {
    std::array<std::string_view, style_keyword_count> words{};
    for (int i = 0; i < style_keyword_count; ++i) words[i] = command_word(static_cast<StyleKeyword>(i));
    return make_keyword_list(words.data(), words.size());
  }();
  return list;
}

}  // namespace

StyleCommandParser::StyleCommandParser() : scanner_(make_command_scanner(style_command_keyword_list())) {
  text_.reserve(command_max_line_length + 1);
}

std::optional<StyleKeyword> StyleCommandParser::parse(std::string_view text) {
  text_.assign(text);
  try {
    scanner_.set_text(&text_, 1);
    if (!scanner_.next_token() || scanner_.keyword_or_none() != static_cast<int>(StyleKeyword::KEYWORD_STYLE)) {
      return std::nullopt;
    }
    if (!scanner_.next_token() || scanner_.symbol_or_none() != command_symbol_colon) return std::nullopt;
    if (!scanner_.next_token()) return std::nullopt;
    const int word = scanner_.keyword_or_none();
    if (word <= static_cast<int>(StyleKeyword::KEYWORD_STYLE)) return std::nullopt;
    return static_cast<StyleKeyword>(word);
  } catch (const TextParserError&) {
    // A command the scanner cannot read is ignored like any malformed one.
  }
  return std::nullopt;
}

}  // namespace flawseek
