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

#include <span>

#include "findings/finding.h"
#include "findings/finding_record.h"

namespace flawseek {

class FindingsList;

// Every finding of the list, and with `include_suppressed` the findings marks
// absorbed, ordered by file, line and column (kind order among equals). The
// records point into `findings`, which must outlive them.
std::vector<FindingRecord> ordered_findings(const FindingsList& findings, bool include_suppressed = false);

// The same order for records given with each kind's findings (and the
// suppressed ones) in the order found; suppressed ones only with
// `include_suppressed`. Among findings of the same place, kinds come in
// their order and suppressed findings last. `ordered` is replaced; its room
// serves again.
void ordered_records(std::span<const FindingRecord> records, bool include_suppressed,
                     std::vector<FindingRecord>& ordered);

// The records in that same order: `records` themselves, sorted where they
// lie, when they are one file's and none is left out, as a result mostly
// is; else ordered_records of them into `room`.
std::span<const FindingRecord> put_in_output_order(std::span<FindingRecord> records, bool include_suppressed,
                                                   std::vector<FindingRecord>& room);

// What a finding says is wrong: the check's own words, else the kind's
// sentence from the rule catalog. Valid as long as the record's findings list.
std::string_view finding_message(const FindingRecord& record);

// The source text worth printing after the message: the finding's reason,
// except where it only repeats the line a long-line finding is about.
std::string_view finding_source_text(const FindingRecord& record);

// Columns as GNU tools count them: the finding's column counts a tab as one
// character; a tab moves to the next multiple of 8 on screen. The lines are
// read from the file itself, one file kept at a time (the records come in
// file order): its text once, with where each line starts, so a file with
// many findings costs one read and no allocation per line. A line or file
// that cannot be read keeps the column as given.
// How the GNU lines count a column: tabs to the next multiple of 8, as GNU
// tools and terminals do (the default); characters, a tab one, as VS Code and
// other editors count; or bytes of the line as it is stored.
enum class ColumnCount { Screen, Characters, Bytes };

class DisplayColumns {
 public:
  std::int32_t display_column(const std::string& file, std::int32_t line, std::int32_t column);
  // The same column as an editor that counts characters has it: a tab is
  // one, and a line that is UTF-8 counts each character of several bytes
  // once (a Latin-1 line, whose bytes are its characters, is left as it is).
  std::int32_t character_column(const std::string& file, std::int32_t line, std::int32_t column);

 private:
  void load(const std::string& file, bool every_line);
  std::string_view line_text(std::int32_t line) const;

  std::string file_;
  bool every_line_ = false;  // the line starts of a file without tabs are kept too
  bool loaded_ = false;
  std::string text_;
  // Offset of each line's first character; a line ends at the next '\n'.
  // Left empty for a file without tabs, whose columns all stay.
  std::vector<std::size_t> line_starts_;
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

// PathStyle::shown for findings that come in file order: the name is worked
// out once per run of findings of the same file, which share one path text.
class ShownPaths {
 public:
  explicit ShownPaths(const PathStyle& paths) : paths_(paths) {}
  const std::string& shown(const SharedPath& file);

 private:
  const PathStyle& paths_;
  bool known_ = false;
  SharedPath file_;  // held, so the comparison of texts stays sound
  std::string shown_;
};

}  // namespace flawseek
