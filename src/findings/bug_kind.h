// The kinds of potential bug. The position of each literal orders the findings
// tree and the reports, so the order is part of the output format.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace flawseek {

enum class BugKind : std::uint8_t {
  INTERNAL_ERROR,
  SYNTAX_ERROR,
  ILLOGICAL_OPERATOR_RENAME,
  CODE_NOT_REACHABLE,
  EXCEPTION_NOT_RAISED,
  UNUSED_UNIT,
  UNUSED_DECLARATION,
  NULL_POINTER,
  NON_SHORT_CIRCUIT,
  WRONG_GRANULARITY,
  RECURSIVE_ENTRY_CALL,
};

inline constexpr int bug_kind_count = 11;
static_assert(static_cast<int>(BugKind::RECURSIVE_ENTRY_CALL) + 1 == bug_kind_count);

inline constexpr std::array<std::string_view, bug_kind_count> bug_kind_images = {
    "INTERNAL_ERROR",      "SYNTAX_ERROR",      "ILLOGICAL_OPERATOR_RENAME",
    "CODE_NOT_REACHABLE",  "EXCEPTION_NOT_RAISED", "UNUSED_UNIT",
    "UNUSED_DECLARATION",  "NULL_POINTER",      "NON_SHORT_CIRCUIT",
    "WRONG_GRANULARITY",   "RECURSIVE_ENTRY_CALL",
};

constexpr std::string_view image(BugKind kind) {
  return bug_kind_images[static_cast<std::size_t>(kind)];
}

}  // namespace flawseek
