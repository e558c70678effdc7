// What each of the parser's 23 messages becomes in the check pass, in one
// table: the finding kind (a bug or a style kind) and the token it is placed at.
#pragma once

#include <array>

#include "bugcheck/check_reporter.h"
#include "findings/finding.h"
#include "frontend/parser_message.h"

namespace flawseek {

enum class MessagePlace : std::uint8_t {
  CURRENT_TOKEN,   // the token after the one the parser just consumed
  PREVIOUS_TOKEN,  // the word the message is about: the token consumed last, or the
                   // earlier word the rule names (ParserState::report_at)
};

struct MessageFinding {
  FindingKind kind;
  MessagePlace place;
};

// Complaints about a word already consumed (a spelling, a wrong end name, an
// unknown attribute, the token a syntax error stopped at) are placed at that
// word: the token after it is often on the next line, where the editor would
// open at the wrong place.
inline constexpr std::array<MessageFinding, parser_message_count> parser_message_findings = {{
    /* 0 ATTRIBUTE_SPELLING */ {StyleKind::BAD_ATTRIBUTE, MessagePlace::PREVIOUS_TOKEN},
    /* 1 IDENTIFIER_SPELLING */ {StyleKind::BAD_IDENTIFIER, MessagePlace::PREVIOUS_TOKEN},
    /* 2 KEYWORD_SPELLING */ {StyleKind::BAD_KEYWORD, MessagePlace::PREVIOUS_TOKEN},
    /* 3 PRAGMA_SPELLING */ {StyleKind::BAD_PRAGMA, MessagePlace::PREVIOUS_TOKEN},
    /* 4 PREFIX_MISSING */ {StyleKind::BAD_PREFIX, MessagePlace::PREVIOUS_TOKEN},
    /* 5 ACCESS_TYPE_CLASS */ {StyleKind::BAD_ACCESS_TYPE, MessagePlace::PREVIOUS_TOKEN},
    /* 6 STATEMENT_END_NAME_DIFFERS */ {BugKind::SYNTAX_ERROR, MessagePlace::PREVIOUS_TOKEN},
    /* 7 STATEMENT_END_NAME_MISSING */ {StyleKind::IDENTIFIER_MISSING, MessagePlace::CURRENT_TOKEN},
    /* 8 CHARACTER_NOT_PORTABLE */ {StyleKind::CHARACTER_NOT_PORTABLE, MessagePlace::CURRENT_TOKEN},
    /* 9 UNIT_END_NAME_DIFFERS */ {BugKind::SYNTAX_ERROR, MessagePlace::PREVIOUS_TOKEN},
    /* 10 UNIT_END_NAME_MISSING */ {StyleKind::IDENTIFIER_MISSING, MessagePlace::CURRENT_TOKEN},
    /* 11 END_EXPECTED */ {BugKind::SYNTAX_ERROR, MessagePlace::CURRENT_TOKEN},
    /* 12 GOTO_STATEMENT */ {StyleKind::NO_GOTO_STATEMENTS, MessagePlace::CURRENT_TOKEN},
    /* 13 OPERATOR_RENAMED */ {BugKind::ILLOGICAL_OPERATOR_RENAME, MessagePlace::CURRENT_TOKEN},
    /* 14 MIXED_ASSOCIATIONS */ {StyleKind::INCONSISTENT_PARAMETER_ASSOCIATION, MessagePlace::CURRENT_TOKEN},
    /* 15 PACKAGE_NAME_SPELLING */ {StyleKind::INCONSISTENT_PACKAGE_NAME, MessagePlace::CURRENT_TOKEN},
    /* 16 LINE_TOO_LONG */ {StyleKind::LINE_TOO_LONG, MessagePlace::CURRENT_TOKEN},
    /* 17 TASK_WITHOUT_HANDLER */ {StyleKind::HANDLE_TASK_EXCEPTIONS, MessagePlace::CURRENT_TOKEN},
    /* 18 NOT_UPPER_CASE */ {StyleKind::NOT_UPPERCASE, MessagePlace::PREVIOUS_TOKEN},
    /* 19 SYNTAX_ERROR */ {BugKind::SYNTAX_ERROR, MessagePlace::PREVIOUS_TOKEN},
    /* 20 UNKNOWN_ATTRIBUTE */ {BugKind::SYNTAX_ERROR, MessagePlace::PREVIOUS_TOKEN},
    /* 21 USE_CLAUSE */ {StyleKind::NO_PACKAGE_USE_CLAUSE, MessagePlace::CURRENT_TOKEN},
    /* 22 PARAMETER_MODE */ {StyleKind::WRONG_MODE, MessagePlace::CURRENT_TOKEN},
}};

constexpr const MessageFinding& message_finding(ParserMessage message) {
  return parser_message_findings[static_cast<std::size_t>(message)];
}

inline SourcePosition message_place(const ParserState& state, MessagePlace where) noexcept {
  return where == MessagePlace::PREVIOUS_TOKEN ? SourcePosition{state.item_line(), state.item_column()}
                                               : current_token_position(state);
}

}  // namespace flawseek
