// The mechanical mend of a finding: the letter-case findings respell their
// word, a missing end name is written after END, an inconsistent package
// prefix takes the spelling the file's with clause or renaming gives it.
// The checks say what they want in their words ("reserved word `BEGIN` must
// be `begin`", "end must be followed by `Show`"); a mend is read back from
// those words, so it is exactly what the finding asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "findings/finding_record.h"

namespace flawseek {

struct SourceFix {
  std::int32_t line = 0;    // 1-based
  std::int32_t column = 0;  // 1-based, counted as the finding's column is (a byte each)
  // What stands there now: the word a respelling replaces, empty for an
  // insertion. A fix applies only where the text still reads so.
  std::string replaced;
  std::string replacement;

  std::int32_t end_column() const { return column + static_cast<std::int32_t>(replaced.size()); }
  bool operator==(const SourceFix&) const = default;
};

// Whether findings of `kind` can be mended mechanically (the rule
// descriptor's word on it).
bool fixable_kind(FindingKind kind);

// The mend of `record`; none when its kind is not fixable, it has no place
// or its words do not say what it wants.
std::optional<SourceFix> source_fix(const FindingRecord& record);

// What the fix does, for a reader: "respell `BEGIN` as `begin`", "insert ` Show`".
std::string fix_description(const SourceFix& fix);

}  // namespace flawseek
