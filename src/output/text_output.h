// The indented plain-text report of a search's findings: a header naming the
// product and the time, then the findings grouped by kind and file.
#pragma once

#include <ostream>
#include <string_view>

#include "findings/findings_list.h"
#include "output/findings_by_kind.h"

namespace flawseek {

// The three header lines of the plain-text report; date_and_time is the local
// date and time as the user reads it. Throws ReportWriteError when the
// stream fails, as write_text_report does.
void write_text_report_header(std::ostream& out, std::string_view date_and_time);

// The body of the plain-text report, grouped by kind and file.
void write_text_report(const FindingsList& findings, std::ostream& out);
void write_text_report(const FindingsByKind& findings, std::ostream& out);

}  // namespace flawseek
