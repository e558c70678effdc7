// One finding (a potential bug or a style violation) and the kind that files
// it, shared by the findings list, the per-file recorder and the report writers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "findings/bug_kind.h"
#include "findings/shared_path.h"
#include "style/style_kind.h"

namespace flawseek {

// Column of a finding whose column is not known (the largest 32-bit value).
inline constexpr std::int32_t no_column = 2147483647;

struct Finding {
  SharedPath file;     // full path of the file the finding belongs to
  std::int32_t line;   // 1-based; 0 means the file as a whole
  std::int32_t column; // 1-based, or no_column
  std::string reason;  // already passed through collapse_blanks; may be empty

  bool operator==(const Finding&) const = default;
};

// The kind of a finding is the list that holds it: the 11 bug kinds first, then
// the 20 style kinds. That order is the order of the reports.
class FindingKind {
 public:
  static constexpr int count = bug_kind_count + style_kind_count;

  constexpr FindingKind(BugKind kind) : index_(static_cast<std::uint8_t>(kind)) {}
  constexpr FindingKind(StyleKind kind)
      : index_(static_cast<std::uint8_t>(bug_kind_count + static_cast<int>(kind))) {}
  static constexpr FindingKind from_index(int index) { return FindingKind(static_cast<std::uint8_t>(index)); }

  constexpr int index() const { return index_; }
  constexpr bool is_style() const { return index_ >= bug_kind_count; }
  constexpr BugKind bug_kind() const { return static_cast<BugKind>(index_); }
  constexpr StyleKind style_kind() const { return static_cast<StyleKind>(index_ - bug_kind_count); }

  // The display text of the kind: "Null Pointer", "Line Too Long".
  const std::string& label() const;

  constexpr bool operator==(const FindingKind&) const = default;

 private:
  explicit constexpr FindingKind(std::uint8_t index) : index_(index) {}
  std::uint8_t index_;
};

// Blanks at the start and end go, and every inner run of blanks becomes one:
// reasons are often copied from source lines and their indentation means nothing.
// Control characters other than the tab (C0, DEL and Latin-1's C1) count as
// blanks, as they do to the scanner, so that no escape sequence of a source reaches a terminal, a
// CSV reader or a JSON parser through a finding's text.
std::string collapse_blanks(std::string_view reason);
// The same into `out`, replacing what it held: its room is used again.
void collapse_blanks_into(std::string_view reason, std::string& out);
// The same added at the end of `out`.
void append_collapsed_blanks(std::string_view reason, std::string& out);

}  // namespace flawseek
