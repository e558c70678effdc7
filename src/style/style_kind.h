// The style rule kinds and the style sets (rule books). Their positions are
// stored in the settings and their labels name settings values and report
// sections, so the order of the literals is part of the file formats.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace flawseek {

enum class StyleKind : std::uint8_t {
  CHARACTER_NOT_PORTABLE,
  HANDLE_TASK_EXCEPTIONS,
  NO_DECLARATION_OVERLOADING,
  NO_GOTO_STATEMENTS,
  NO_PACKAGE_USE_CLAUSE,
  NO_VARIABLE_IN_SPECIFICATION,
  SUPERFLUOUS_CODE_MARK,
  LINE_TOO_LONG,
  BAD_ATTRIBUTE,
  BAD_IDENTIFIER,
  BAD_KEYWORD,
  BAD_PRAGMA,
  BAD_PREFIX,
  BAD_ACCESS_TYPE,
  IDENTIFIER_MISSING,
  INCONSISTENT_PACKAGE_NAME,
  INCONSISTENT_PARAMETER_ASSOCIATION,
  NOT_UPPERCASE,
  WRONG_MODE,
  NO_STYLE_CHECKS,
};

inline constexpr int style_kind_count = 20;
static_assert(static_cast<int>(StyleKind::NO_STYLE_CHECKS) + 1 == style_kind_count);
// Kinds 0..6 are always offered; 7..18 only in extended style mode;
// NO_STYLE_CHECKS is a finding, never a selectable kind.
inline constexpr StyleKind last_basic_style_kind = StyleKind::SUPERFLUOUS_CODE_MARK;
inline constexpr StyleKind last_selectable_style_kind = StyleKind::WRONG_MODE;
inline constexpr int selectable_style_kind_count = 19;

inline constexpr std::array<std::string_view, style_kind_count> style_kind_images = {
    "CHARACTER_NOT_PORTABLE",
    "HANDLE_TASK_EXCEPTIONS",
    "NO_DECLARATION_OVERLOADING",
    "NO_GOTO_STATEMENTS",
    "NO_PACKAGE_USE_CLAUSE",
    "NO_VARIABLE_IN_SPECIFICATION",
    "SUPERFLUOUS_CODE_MARK",
    "LINE_TOO_LONG",
    "BAD_ATTRIBUTE",
    "BAD_IDENTIFIER",
    "BAD_KEYWORD",
    "BAD_PRAGMA",
    "BAD_PREFIX",
    "BAD_ACCESS_TYPE",
    "IDENTIFIER_MISSING",
    "INCONSISTENT_PACKAGE_NAME",
    "INCONSISTENT_PARAMETER_ASSOCIATION",
    "NOT_UPPERCASE",
    "WRONG_MODE",
    "NO_STYLE_CHECKS",
};

constexpr std::string_view image(StyleKind kind) {
  return style_kind_images[static_cast<std::size_t>(kind)];
}

enum class StyleSet : std::uint8_t { NONE, USER, USER_95, TAVIK, TAVIK_95 };

inline constexpr int style_set_count = 5;
static_assert(static_cast<int>(StyleSet::TAVIK_95) + 1 == style_set_count);
inline constexpr std::array<std::string_view, style_set_count> style_set_images = {
    "NONE", "USER", "USER_95", "TAVIK", "TAVIK_95"};

constexpr std::string_view image(StyleSet set) {
  return style_set_images[static_cast<std::size_t>(set)];
}

}  // namespace flawseek
