// Turns the parser's messages into findings of the check pass: syntax errors,
// operator renamings and the parser's style complaints, each placed as the
// message table says.
#pragma once

#include <string>

#include "bugcheck/check_reporter.h"
#include "bugcheck/rules/style_message_detail.h"
#include "frontend/parser_hooks.h"
#include "frontend/parser_message.h"

namespace flawseek {

class ParserMessageRule {
 public:
  // A style message's text, when a rule gives one, is the text of the line
  // the finding stands on (for a word read many lines before the message).
  // `complainants` are the style rules a finding's words are asked from.
  void on_message(const ParserState& state, ParserMessage message, std::string_view text,
                  CheckReporter& reporter, const StyleComplainants& complainants);

 private:
  void report_style_message(const ParserState& state, ParserMessage message, StyleKind kind, SourcePosition at,
                            std::string_view text, CheckReporter& reporter, const StyleComplainants& complainants);

  std::string detail_room_;  // a style finding's words, built here finding after finding
};

// The parser's own words for a message that becomes a bug finding: the
// complaint of a syntax error ("then expected"), what an end name or an
// attribute got wrong; empty for the others.
std::string bug_message_detail(const ParserState& state, ParserMessage message);

}  // namespace flawseek
