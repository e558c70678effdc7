// Where the expression rules place a finding: at the parser's current token
// (the one after the name or list), unless that token already stands on a
// later line; then at the token consumed last, so that the finding, the line
// text it quotes and a mark written beside the use stay on the use's line.
#pragma once

#include "bugcheck/check_reporter.h"
#include "frontend/parser_hooks.h"

namespace flawseek {

inline SourcePosition use_position(const ParserState& state) noexcept {
  const SourcePosition current = current_token_position(state);
  const SourcePosition previous = previous_token_position(state);
  return current.line == previous.line ? current : previous;
}

}  // namespace flawseek
