// The interpreter of the bug checker's comment commands: the text after "-->"
// either adds suppression marks ("NP, UD: reason") or, with style checks on,
// selects the file's style rules ("STYLE: TAVIK"). Malformed text does nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/suppression_mark.h"
#include "frontend/text_parser.h"
#include "style/style_rules.h"

namespace flawseek {

class CommandParser {
 public:
  CommandParser();
  CommandParser(const CommandParser&) = delete;
  CommandParser& operator=(const CommandParser&) = delete;

  // Interprets `text`, found on source line `line` after a "-->" in
  // `column`. The marks of a mark
  // command that reaches its ":" are appended to `marks` in their order; those
  // of any other command are dropped. A STYLE command honoured with style
  // checks on returns the rules it installs. Never throws: a command the
  // scanner cannot read is ignored like any other malformed command.
  //
  // The text is read whole whatever its length: the scanner's line limit
  // (255) would otherwise cancel a mark because its justification after ":"
  // -- which is never read -- is long.
  std::optional<StyleRules> parse(std::string_view text, std::int32_t line, std::int32_t column,
                                  bool style_checks_on, MarkList& marks);

 private:
  std::optional<StyleRules> parse_style_command();
  void parse_mark_command(std::int32_t line, std::int32_t column, MarkList& marks);
  bool next() { return scanner_.next_token(); }

  TextParser scanner_;
  std::string text_;
  std::vector<BugKind> local_marks_;
};

}  // namespace flawseek
