// The reserved words and delimiters of Ada. Their positions are the keyword
// and symbol numbers the scanner reports, so the order is fixed: the 69 words
// of Ada 95 first, then the later levels' words in the order the levels came,
// so that each level's reserved words are a prefix of the list.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "frontend/ada_version.h"
#include "platform/enum_set.h"

namespace flawseek {

enum class AdaKeyword : std::uint8_t {
  KEYWORD_END, KEYWORD_IF, KEYWORD_THEN, KEYWORD_ELSE, KEYWORD_ELSIF, KEYWORD_BEGIN,
  KEYWORD_PROCEDURE, KEYWORD_IS, KEYWORD_LOOP, KEYWORD_WHILE, KEYWORD_FOR, KEYWORD_NEW,
  KEYWORD_NULL, KEYWORD_FUNCTION, KEYWORD_RETURN, KEYWORD_CONSTANT, KEYWORD_ALL,
  KEYWORD_WITH, KEYWORD_NOT, KEYWORD_ABS, KEYWORD_AND, KEYWORD_OR, KEYWORD_XOR,
  KEYWORD_MOD, KEYWORD_REM, KEYWORD_IN, KEYWORD_OUT, KEYWORD_OTHERS, KEYWORD_WHEN,
  KEYWORD_ARRAY, KEYWORD_OF, KEYWORD_CASE, KEYWORD_EXIT, KEYWORD_EXCEPTION,
  KEYWORD_RAISE, KEYWORD_RECORD, KEYWORD_REVERSE, KEYWORD_TYPE, KEYWORD_SUBTYPE,
  KEYWORD_RANGE, KEYWORD_PACKAGE, KEYWORD_BODY, KEYWORD_PRIVATE, KEYWORD_RENAMES,
  KEYWORD_REQUEUE, KEYWORD_USE, KEYWORD_ACCESS, KEYWORD_DECLARE, KEYWORD_ACCEPT,
  KEYWORD_DO, KEYWORD_SELECT, KEYWORD_TASK, KEYWORD_ENTRY, KEYWORD_DELAY,
  KEYWORD_LIMITED, KEYWORD_GENERIC, KEYWORD_ABORT, KEYWORD_DELTA, KEYWORD_DIGITS,
  KEYWORD_AT, KEYWORD_GOTO, KEYWORD_PRAGMA, KEYWORD_ALIASED, KEYWORD_ABSTRACT,
  KEYWORD_TAGGED, KEYWORD_TERMINATE, KEYWORD_UNTIL, KEYWORD_PROTECTED, KEYWORD_SEPARATE,
  // Ada 2005
  KEYWORD_INTERFACE, KEYWORD_OVERRIDING, KEYWORD_SYNCHRONIZED,
  // Ada 2012
  KEYWORD_SOME,
  // Ada 2022
  KEYWORD_PARALLEL,
};

inline constexpr int ada_keyword_count = 74;
static_assert(static_cast<int>(AdaKeyword::KEYWORD_PARALLEL) + 1 == ada_keyword_count);

// How many of the words above are reserved at each level (a prefix).
inline constexpr std::array<int, ada_version_count> reserved_word_counts = {69, 72, 73, 74};
static_assert(reserved_word_counts[static_cast<std::size_t>(AdaVersion::ADA_2022)] == ada_keyword_count);

constexpr int reserved_word_count(AdaVersion version) {
  return reserved_word_counts[static_cast<std::size_t>(version)];
}

// The level from which `k` is a reserved word.
constexpr AdaVersion reserved_since(AdaKeyword k) {
  for (int v = 0; v < ada_version_count; ++v) {
    if (static_cast<int>(k) < reserved_word_counts[static_cast<std::size_t>(v)]) return static_cast<AdaVersion>(v);
  }
  return AdaVersion::ADA_2022;
}

// Keyword_Image: the literal without "KEYWORD_", in lower case.
inline constexpr std::array<std::string_view, ada_keyword_count> ada_keyword_images = {
    "end", "if", "then", "else", "elsif", "begin", "procedure", "is", "loop", "while",
    "for", "new", "null", "function", "return", "constant", "all", "with", "not", "abs",
    "and", "or", "xor", "mod", "rem", "in", "out", "others", "when", "array", "of",
    "case", "exit", "exception", "raise", "record", "reverse", "type", "subtype",
    "range", "package", "body", "private", "renames", "requeue", "use", "access",
    "declare", "accept", "do", "select", "task", "entry", "delay", "limited", "generic",
    "abort", "delta", "digits", "at", "goto", "pragma", "aliased", "abstract", "tagged",
    "terminate", "until", "protected", "separate", "interface", "overriding", "synchronized",
    "some", "parallel",
};

// A set of reserved words: the words a rule's keyword step acts on.
using AdaKeywords = EnumSet<AdaKeyword, ada_keyword_count>;

constexpr std::string_view keyword_image(AdaKeyword k) {
  return ada_keyword_images[static_cast<std::size_t>(k)];
}

enum class AdaSymbol : std::uint8_t {
  SEMICOLON, DOT, COMMA, ASSIGN, ARROW, EQUAL, NOT_EQUAL, GREATER, GREATER_EQUAL, LESS,
  LESS_EQUAL, AMPERSAND, PLUS, MINUS, STAR, SLASH, LEFT_PAREN, RIGHT_PAREN, POWER, COLON,
  APOSTROPHE, BAR, QUOTE, DOUBLE_DOT, BOX, LEFT_LABEL, RIGHT_LABEL,
  // Ada 2022: bracket aggregates and the target name.
  LEFT_BRACKET, RIGHT_BRACKET, AT_SIGN,
};

inline constexpr int ada_symbol_count = 30;
static_assert(static_cast<int>(AdaSymbol::AT_SIGN) + 1 == ada_symbol_count);

// How many of the delimiters above each level has (a prefix): before Ada 2022
// "[", "]" and "@" are no delimiters, and scan as they always did.
inline constexpr std::array<int, ada_version_count> delimiter_counts = {27, 27, 27, 30};
static_assert(delimiter_counts[static_cast<std::size_t>(AdaVersion::ADA_2022)] == ada_symbol_count);

constexpr int delimiter_count(AdaVersion version) {
  return delimiter_counts[static_cast<std::size_t>(version)];
}

inline constexpr std::array<std::string_view, ada_symbol_count> ada_symbol_images = {
    ";", ".", ",", ":=", "=>", "=", "/=", ">", ">=", "<", "<=", "&", "+", "-",
    "*", "/", "(", ")", "**", ":", "'", "|", "\"", "..", "<>", "<<", ">>",
    "[", "]", "@",
};

constexpr std::string_view symbol_image(AdaSymbol s) {
  return ada_symbol_images[static_cast<std::size_t>(s)];
}

}  // namespace flawseek
