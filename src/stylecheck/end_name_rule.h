// The name after END of a unit, body or accept statement. A name that differs
// from the construct's own is wrong Ada (message 9, a syntax error) whatever
// the style; a missing name is a style complaint (message 10) only when the
// style rules ask for end names.
#pragma once

#include <string_view>

#include "frontend/parser_hooks.h"

namespace flawseek {

class EndNameRule {
 public:
  void on_end_name(ParserState& state, EndNameKind kind, std::string_view expected,
                   std::string_view found);
};

}  // namespace flawseek
