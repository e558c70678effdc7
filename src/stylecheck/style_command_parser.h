// The style comment-command parser: reads the text after "-->" and tells the
// set word of a "STYLE: <word>" command. Mark commands mean nothing here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frontend/text_parser.h"
#include "style/style_command.h"

namespace flawseek {

class StyleCommandParser {
 public:
  StyleCommandParser();
  StyleCommandParser(const StyleCommandParser&) = delete;
  StyleCommandParser& operator=(const StyleCommandParser&) = delete;

  // The word after "STYLE:" when it is NONE, TAVIK, TAVIK_95 or BRIGHTMOOR (in
  // any letter case); nothing for any other text. Never throws.
  std::optional<StyleKeyword> parse(std::string_view text);

 private:
  TextParser scanner_;
  std::string text_;
};

}  // namespace flawseek
