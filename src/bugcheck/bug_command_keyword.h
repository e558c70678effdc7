// The words of the bug checker's comment commands ("-->NP, UD: reason",
// "-->STYLE: TAVIK"); which bug kind a marking word names is the kind's
// descriptor row's to say.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "findings/bug_kind.h"
#include "findings/rule_descriptor.h"

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

inline constexpr std::array<std::string_view, bug_command_keyword_count> bug_command_keyword_images = {
    "KEYWORD_CNR", "KEYWORD_ENR",  "KEYWORD_IOR",   "KEYWORD_NSC",      "KEYWORD_NP",
    "KEYWORD_REC", "KEYWORD_UD",   "KEYWORD_UU",    "KEYWORD_WG",       "KEYWORD_STYLE",
    "KEYWORD_NONE", "KEYWORD_TAVIK", "KEYWORD_TAVIK_95", "KEYWORD_BRIGHTMOOR",
};

constexpr std::string_view image(BugCommandKeyword keyword) {
  return bug_command_keyword_images[static_cast<std::size_t>(keyword)];
}

// The word a user writes: the literal without its "KEYWORD_" prefix.
constexpr std::string_view command_word(BugCommandKeyword keyword) {
  return image(keyword).substr(std::string_view("KEYWORD_").size());
}

// The bug kind a mark with this word suppresses, as the kind's descriptor
// row names its mark; none for the style words. INTERNAL_ERROR and
// SYNTAX_ERROR have no mark: they cannot be suppressed.
constexpr std::optional<BugKind> marked_kind(BugCommandKeyword keyword) { return kind_of_mark(command_word(keyword)); }

namespace bug_command_checks {
// A kind's mark that no command word spells could never be written.
constexpr bool every_mark_is_a_command_word() {
  for (const RuleDescriptor& row : rule_descriptors) {
    if (row.mark.empty()) continue;
    bool spelled = false;
    for (int position = 0; position < bug_command_keyword_count; ++position) {
      spelled |= command_word(static_cast<BugCommandKeyword>(position)) == row.mark;
    }
    if (!spelled) return false;
  }
  return true;
}
}  // namespace bug_command_checks
static_assert(bug_command_checks::every_mark_is_a_command_word(), "a kind's mark is no command word");

// "$CNR$ENR$...$BRIGHTMOOR$": the command scanner's keyword list, in
// enumeration order, so a keyword's list position is its enumeration value.
const std::string& bug_command_keyword_list();

}  // namespace flawseek
