// Reporting a complaint about the word the parser consumed last.
#pragma once

#include "frontend/parser_hooks.h"

namespace flawseek {

// The message is placed at the word by the word's own line and column: the
// place the parser would find for it, but without the parser first copying
// the word's text out of its line. A finding for a third of the names of
// code that breaks the spelling rules made those copies add up.
inline void report_at_word(ParserState& state, ParserMessage message) {
  state.report_at(message, state.previous_token_line(), state.previous_token_column());
}

}  // namespace flawseek
