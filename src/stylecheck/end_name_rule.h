// End names: the name after END of a named loop or block, of a unit, body or
// accept statement. A name that differs from the construct's own is wrong
// Ada (a syntax error: message 6 for a statement, 9 for a unit) whatever the
// style. A missing name is a style complaint: always for a named statement
// (message 7), for a unit only when the style rules ask for end names
// (message 10).
#pragma once

#include <string>
#include <string_view>

#include "frontend/parser_hooks.h"

namespace flawseek {

class EndNameRule {
 public:
  void on_end_name(ParserState& state, EndNameKind kind, std::string_view expected,
                   std::string_view found);

  // The name that END lacks, while a missing end name is being reported.
  std::string_view missing_name() const noexcept { return missing_name_; }

 private:
  std::string missing_name_;
};

}  // namespace flawseek
