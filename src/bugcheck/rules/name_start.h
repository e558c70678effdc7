// Reading back over the line of the token consumed last: where a name just
// completed begins, so that the expression rules place a finding at the
// first word of the name that is wrong, and the word before that token.
#pragma once

#include <string_view>

#include "bugcheck/check_reporter.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

// Called while the name's last token is the one consumed last. The name's
// text (words joined by ".") is read back over that token's line, stepping
// over parenthesised parts and attributes, which the text leaves out. Where
// the line does not show the whole name (it began on an earlier line, or the
// words do not match), the finding goes where use_position puts it.
SourcePosition name_start(const ParserState& state, std::string_view name) noexcept;

// The word that stands just before the token consumed last on its line (the
// formal before "=>"), or empty when none does.
std::string_view word_before_previous_token(const ParserState& state) noexcept;

}  // namespace flawseek
