// The findings of a run in the format the user chose: the findings tree, one
// GNU-style line per finding, either report, a JSON document or a SARIF log.
#pragma once

#include <ostream>
#include <string_view>

#include "command_line.h"
#include "finding_records.h"
#include "report_context.h"

namespace flawseek {

class FindingsList;
class TextTreeView;

// What the machine-readable formats need besides the findings.
struct OutputSettings {
  ReportContext context;
  PathStyle paths;                // file names of the GNU lines
  bool include_suppressed = false;  // JSON and SARIF list what marks absorbed
};

// The findings in `format`; `tree` is the view the list filled (used by the
// tree format only); `date_and_time` goes into the plain-text report's header.
void write_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, const OutputSettings& settings, std::ostream& out);

// write_findings, then a flush; false when `out` failed along the way.
bool print_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, const OutputSettings& settings, std::ostream& out);

}  // namespace flawseek
