// Turns the parser's messages into findings of the check pass: syntax errors,
// operator renamings and the parser's style complaints, each placed as the
// message table says.
#pragma once

#include <string>

#include "bugcheck/check_reporter.h"
#include "frontend/parser_hooks.h"
#include "frontend/parser_message.h"

namespace flawseek {

class ParserMessageRule {
 public:
  // A style message's text, when a rule gives one, is the text of the line
  // the finding stands on (for a word read many lines before the message).
  void on_message(const ParserState& state, ParserMessage message, std::string_view text,
                  CheckReporter& reporter);
};

// The parser's own words for a message that becomes a bug finding: the
// complaint of a syntax error ("then expected"), what an end name or an
// attribute got wrong; empty for the others.
std::string bug_message_detail(const ParserState& state, ParserMessage message);

}  // namespace flawseek
