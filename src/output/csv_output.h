// The comma-delimited table of a search's findings: one line per finding,
// under a header line.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "findings/findings_list.h"
#include "output/findings_by_kind.h"

namespace flawseek {

inline constexpr std::string_view csv_header = "Filename,Path,Reason,Line,Column";

// The table: nothing at all when there are no findings, otherwise the header
// line and one line per finding (bug kinds first, then style kinds). Throws
// ReportWriteError when the stream fails.
void write_csv_report(const FindingsList& findings, std::ostream& out);
void write_csv_report(const FindingsByKind& findings, std::ostream& out);

// A field of the table as written: quoted (with doubled quotation marks) only
// when it holds a comma, a quotation mark or a line break.
std::string csv_field(std::string_view text);

}  // namespace flawseek
