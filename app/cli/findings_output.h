// The findings of a run on standard output, in the format the user chose:
// the findings tree, one GNU-style line per finding, or either report.
#pragma once

#include <ostream>
#include <string_view>

#include "command_line.h"

namespace flawseek {

class FindingsList;
class TextTreeView;

// One "file:line:column: kind: reason" line per finding ("file:line: kind"
// without a column or reason), in the findings list's order. The kind is the
// report's kind text ("Null Pointer", "Style: Bad Keyword").
void write_gnu_findings(const FindingsList& findings, std::ostream& out);

// The findings in `format`; `tree` is the view the list filled (used by the
// tree format only); `date_and_time` goes into the plain-text report's header.
void write_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, std::ostream& out);

// write_findings, then a flush; false when `out` failed along the way.
bool print_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, std::ostream& out);

}  // namespace flawseek
