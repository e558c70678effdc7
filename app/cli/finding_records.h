// The findings of a run as the machine-readable outputs see them: one flat
// list in file, line and column order, each finding with its kind, the
// check's own words for it (when there are any) and whether a mark
// suppressed it; and where the file names and columns those outputs print
// come from.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"

namespace flawseek {

class FindingsList;

struct FindingRecord {
  FindingKind kind;
  const Finding* finding;
  std::string_view detail;  // empty when the check said nothing more
  bool suppressed = false;  // absorbed by a suppression mark
};

// Every finding of the list, and with `include_suppressed` the findings marks
// absorbed, ordered by file, line and column (kind order among equals). The
// records point into `findings`, which must outlive them.
std::vector<FindingRecord> ordered_findings(const FindingsList& findings, bool include_suppressed = false);

// What a finding says is wrong: the check's own words, else the kind's
// sentence from the rule catalog.
std::string finding_message(const FindingRecord& record);

// The source text worth printing after the message: the finding's reason,
// except where it only repeats the line a long-line finding is about.
std::string_view finding_source_text(const FindingRecord& record);

// Columns as GNU tools count them: the finding's column counts a tab as one
// character; a tab moves to the next multiple of 8 on screen. The lines are
// read from the file itself, one file kept at a time (the records come in
// file order). A line or file that cannot be read keeps the column as given.
class DisplayColumns {
 public:
  std::int32_t display_column(const std::string& file, std::int32_t line, std::int32_t column);

 private:
  std::string file_;
  std::vector<std::string> lines_;
};

// The column of `column` (1-based, a tab counting one) on `line_text`, with
// tabs to the next multiple of 8.
std::int32_t expand_tabs_column(std::string_view line_text, std::int32_t column);

// How file names are printed: relative to `base` when one is set (the root
// was given relative), as found otherwise.
class PathStyle {
 public:
  PathStyle() = default;
  explicit PathStyle(std::filesystem::path base) : base_(std::move(base)) {}

  std::string shown(const std::string& file) const;

 private:
  std::optional<std::filesystem::path> base_;
};

}  // namespace flawseek
