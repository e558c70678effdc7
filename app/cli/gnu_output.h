// Findings as GNU tools and GNAT print diagnostics, one line each, which
// editors (Vim's GNAT compiler plugin, Emacs's compilation mode) and CI
// annotators understand:
//   file:line:column: warning: <what is wrong>: <source text> [<id>]
// "error:" for syntax and internal errors, "(style)" before style findings
// as GNAT writes its style messages. Line 0 (the file as a whole) becomes 1;
// an unknown column becomes 1; tabs count to the next multiple of 8.
#pragma once

#include <ostream>
#include <vector>

#include "finding_records.h"

namespace flawseek {

void write_gnu_lines(const std::vector<FindingRecord>& records, const PathStyle& paths, std::ostream& out);

}  // namespace flawseek
