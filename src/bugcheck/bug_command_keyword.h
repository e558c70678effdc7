// The words of the bug checker's comment commands ("-->NP, UD: reason",
// "-->STYLE: TAVIK") and, in one table, the bug kind each marking word names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "findings/bug_kind.h"

namespace flawseek {

enum class BugCommandKeyword : std::uint8_t {
  KEYWORD_CNR,
  KEYWORD_ENR,
  KEYWORD_IOR,
  KEYWORD_NSC,
  KEYWORD_NP,
  KEYWORD_REC,
  KEYWORD_UD,
  KEYWORD_UU,
  KEYWORD_WG,
  KEYWORD_STYLE,
  KEYWORD_NONE,
  KEYWORD_TAVIK,
  KEYWORD_TAVIK_95,
  KEYWORD_BRIGHTMOOR,
};

inline constexpr int bug_command_keyword_count = 14;
static_assert(static_cast<int>(BugCommandKeyword::KEYWORD_BRIGHTMOOR) + 1 == bug_command_keyword_count);

struct BugCommandWord {
  std::string_view image;
  // The bug kind a mark with this word suppresses; none for the style words.
  // INTERNAL_ERROR and SYNTAX_ERROR have no word: they cannot be suppressed.
  std::optional<BugKind> marked_kind;
};

inline constexpr std::array<BugCommandWord, bug_command_keyword_count> bug_command_words = {{
    {"KEYWORD_CNR", BugKind::CODE_NOT_REACHABLE},
    {"KEYWORD_ENR", BugKind::EXCEPTION_NOT_RAISED},
    {"KEYWORD_IOR", BugKind::ILLOGICAL_OPERATOR_RENAME},
    {"KEYWORD_NSC", BugKind::NON_SHORT_CIRCUIT},
    {"KEYWORD_NP", BugKind::NULL_POINTER},
    {"KEYWORD_REC", BugKind::RECURSIVE_ENTRY_CALL},
    {"KEYWORD_UD", BugKind::UNUSED_DECLARATION},
    {"KEYWORD_UU", BugKind::UNUSED_UNIT},
    {"KEYWORD_WG", BugKind::WRONG_GRANULARITY},
    {"KEYWORD_STYLE", std::nullopt},
    {"KEYWORD_NONE", std::nullopt},
    {"KEYWORD_TAVIK", std::nullopt},
    {"KEYWORD_TAVIK_95", std::nullopt},
    {"KEYWORD_BRIGHTMOOR", std::nullopt},
}};

constexpr std::string_view image(BugCommandKeyword keyword) {
  return bug_command_words[static_cast<std::size_t>(keyword)].image;
}

// The word a user writes: the literal without its "KEYWORD_" prefix.
constexpr std::string_view command_word(BugCommandKeyword keyword) {
  return image(keyword).substr(std::string_view("KEYWORD_").size());
}

constexpr std::optional<BugKind> marked_kind(BugCommandKeyword keyword) {
  return bug_command_words[static_cast<std::size_t>(keyword)].marked_kind;
}

// "$CNR$ENR$...$BRIGHTMOOR$": the command scanner's keyword list, in
// enumeration order, so a keyword's list position is its enumeration value.
const std::string& bug_command_keyword_list();

}  // namespace flawseek
