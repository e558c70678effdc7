// What the window's detail pane says of the finding selected: its message,
// what the rule detects, why it matters and how to suppress it, and the
// source lines around it with the column marked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding_record.h"

namespace flawseek {

// A few lines of a source file around a finding, as read from disk.
struct SourcePreview {
  std::int32_t first_line = 0;   // the number of lines.front()
  std::vector<std::string> lines;
  std::string failure;           // why nothing could be read, when nothing was
};

// Reads the lines `around` before and after `line` (Latin-1 or UTF-8, as
// stored). Touches the disk: call it off the window's thread.
SourcePreview read_source_preview(const std::string& file, std::int32_t line, int around = 3);

// The pane's text as HTML; `preview` may still be empty (being read).
std::string finding_detail_html(const FindingRecord& record, std::string_view shown_file,
                                const SourcePreview& preview);

}  // namespace flawseek
