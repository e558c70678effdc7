// The complaints the Ada parser reports through its instance's message hook,
// numbered 0 to 24. The numbers are fixed: the check pass maps each to a
// finding, and the instance remembers the number of the most recent one.
// The two aspect-mark spellings came with Ada 2012's aspects, after the rest.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace flawseek {

enum class ParserMessage : std::uint8_t {
  ATTRIBUTE_SPELLING = 0,           // attribute designator against the attribute case
  IDENTIFIER_SPELLING = 1,          // identifier against the identifier case
  KEYWORD_SPELLING = 2,             // reserved word against the keyword case
  PRAGMA_SPELLING = 3,              // pragma name against the pragma case
  PREFIX_MISSING = 4,               // declared name or subtype mark without its prefix
  ACCESS_TYPE_CLASS = 5,            // access type name and designated class disagree
  STATEMENT_END_NAME_DIFFERS = 6,   // named loop or block closed with another name
  STATEMENT_END_NAME_MISSING = 7,   // named loop or block closed without its name
  CHARACTER_NOT_PORTABLE = 8,       // a character above code 127 in a name
  UNIT_END_NAME_DIFFERS = 9,        // body or accept closed with another name
  UNIT_END_NAME_MISSING = 10,       // body or accept closed without its name
  END_EXPECTED = 11,                // the parse ended on an end-expected failure
  GOTO_STATEMENT = 12,              // a goto statement
  OPERATOR_RENAMED = 13,            // an operator renamed as a different operator
  MIXED_ASSOCIATIONS = 14,          // named and positional associations mixed
  PACKAGE_NAME_SPELLING = 15,       // package prefix spelled unlike elsewhere
  LINE_TOO_LONG = 16,               // never raised by the productions
  TASK_WITHOUT_HANDLER = 17,        // task body without a handler for others
  NOT_UPPER_CASE = 18,              // a name that must be upper case is not
  SYNTAX_ERROR = 19,                // the parse ended on a syntax error
  UNKNOWN_ATTRIBUTE = 20,           // after an apostrophe, a word that is no attribute
  USE_CLAUSE = 21,                  // a use clause for a package
  PARAMETER_MODE = 22,              // a parameter mode against the mode rules
  ASPECT_ATTRIBUTE_SPELLING = 23,   // aspect mark of an attribute against the attribute case
  ASPECT_PRAGMA_SPELLING = 24,      // any other aspect mark against the pragma case
};

inline constexpr int parser_message_count = 25;
static_assert(static_cast<int>(ParserMessage::ASPECT_PRAGMA_SPELLING) + 1 == parser_message_count);
// No message reported yet in this parse.
inline constexpr int no_parser_message = -1;

inline constexpr std::array<std::string_view, parser_message_count> parser_message_images = {
    "ATTRIBUTE_SPELLING",        "IDENTIFIER_SPELLING",   "KEYWORD_SPELLING",
    "PRAGMA_SPELLING",           "PREFIX_MISSING",        "ACCESS_TYPE_CLASS",
    "STATEMENT_END_NAME_DIFFERS", "STATEMENT_END_NAME_MISSING", "CHARACTER_NOT_PORTABLE",
    "UNIT_END_NAME_DIFFERS",     "UNIT_END_NAME_MISSING", "END_EXPECTED",
    "GOTO_STATEMENT",            "OPERATOR_RENAMED",      "MIXED_ASSOCIATIONS",
    "PACKAGE_NAME_SPELLING",     "LINE_TOO_LONG",         "TASK_WITHOUT_HANDLER",
    "NOT_UPPER_CASE",            "SYNTAX_ERROR",          "UNKNOWN_ATTRIBUTE",
    "USE_CLAUSE",                "PARAMETER_MODE",        "ASPECT_ATTRIBUTE_SPELLING",
    "ASPECT_PRAGMA_SPELLING",
};

constexpr int number(ParserMessage m) { return static_cast<int>(m); }
constexpr std::string_view image(ParserMessage m) {
  return parser_message_images[static_cast<std::size_t>(m)];
}

}  // namespace flawseek
