// Turns the parser's messages into findings of the check pass: syntax errors,
// operator renamings and the parser's style complaints, each placed as the
// message table says.
#pragma once

#include "bugcheck/check_reporter.h"
#include "frontend/parser_hooks.h"
#include "frontend/parser_message.h"

namespace flawseek {

class ParserMessageRule {
 public:
  void on_message(const ParserState& state, ParserMessage message, CheckReporter& reporter);
};

}  // namespace flawseek
