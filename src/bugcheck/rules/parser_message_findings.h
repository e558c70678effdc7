// What each of the parser's 23 messages becomes in the check pass: the
// finding kind its descriptor row names and the token it is placed at.
#pragma once

#include <array>

#include "bugcheck/check_reporter.h"
#include "findings/finding.h"
#include "findings/rule_descriptor.h"
#include "frontend/parser_message.h"

namespace flawseek {

enum class MessagePlace : std::uint8_t {
  CURRENT_TOKEN,   // the token after the one the parser just consumed
  PREVIOUS_TOKEN,  // the word the message is about: the token consumed last, or the
                   // earlier word the rule names (ParserState::report_at)
};

struct MessageFinding {
  FindingKind kind = BugKind::SYNTAX_ERROR;
  MessagePlace place = MessagePlace::CURRENT_TOKEN;
};

// Complaints about a word already consumed are placed at that word: a
// spelling, a wrong end name, an unknown attribute, the token a syntax error
// stopped at, a name with a letter above code 127, a package prefix, the
// operator symbol a renaming names, a task body's end name (no handler), the
// association that breaks its list's form. The token after it is a ".", ";"
// or ")", often on the next line, where the editor would open at the wrong
// place.
constexpr MessagePlace place_of(ParserMessage message) {
  using enum ParserMessage;
  switch (message) {
    case ATTRIBUTE_SPELLING:
    case ASPECT_ATTRIBUTE_SPELLING:
    case ASPECT_PRAGMA_SPELLING:
    case IDENTIFIER_SPELLING:
    case KEYWORD_SPELLING:
    case PRAGMA_SPELLING:
    case PREFIX_MISSING:
    case ACCESS_TYPE_CLASS:
    case STATEMENT_END_NAME_DIFFERS:
    case UNIT_END_NAME_DIFFERS:
    case NOT_UPPER_CASE:
    case SYNTAX_ERROR:
    case UNKNOWN_ATTRIBUTE:
    case CHARACTER_NOT_PORTABLE:
    case PACKAGE_NAME_SPELLING:
    case OPERATOR_RENAMED:
    case TASK_WITHOUT_HANDLER:
    case MIXED_ASSOCIATIONS:
      return MessagePlace::PREVIOUS_TOKEN;
    default:
      return MessagePlace::CURRENT_TOKEN;
  }
}

// The kind of each message (its descriptor row's) and its place, one entry
// per message number, worked out once at compile time for the check pass.
inline constexpr std::array<MessageFinding, parser_message_count> parser_message_findings = [] {
  std::array<MessageFinding, parser_message_count> findings{};
  for (int number = 0; number < parser_message_count; ++number) {
    const auto message = static_cast<ParserMessage>(number);
    findings[number] = {kind_raised_by(message), place_of(message)};
  }
  return findings;
}();

constexpr const MessageFinding& message_finding(ParserMessage message) {
  return parser_message_findings[static_cast<std::size_t>(message)];
}

inline SourcePosition message_place(const ParserState& state, MessagePlace where) noexcept {
  return where == MessagePlace::PREVIOUS_TOKEN ? SourcePosition{state.item_line(), state.item_column()}
                                               : current_token_position(state);
}

}  // namespace flawseek
