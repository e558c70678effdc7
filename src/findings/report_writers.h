// Saving a report of the findings to a file safely: written beside its final
// place and renamed over it only when complete. The formats are the output
// layer's; a report is handed over as what writes it.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "findings/findings_list.h"

namespace flawseek {

// A report could not be written (unwritable file, full disk); what() says
// which file and why.
class ReportWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Flushes `out` and throws ReportWriteError when it failed: how a format
// writer says its stream refused the report.
void check_report_stream(std::ostream& out);

// What a report writes to its stream; it may throw ReportWriteError.
using ReportWriter = std::function<void(std::ostream&)>;

// One format of the findings report (the table, the plain-text report, ...);
// date_and_time is the local date and time as the user reads it.
using FindingsReportFormat =
    std::function<void(const FindingsList& findings, std::string_view date_and_time, std::ostream& out)>;

// Writes the findings in `format` to path as save_written_report does (a
// regular file replaced only when complete, so a failure never destroys an
// earlier report). Throws ReportWriteError.
void save_report(const FindingsList& findings, const std::filesystem::path& path, std::string_view date_and_time,
                 const FindingsReportFormat& format);

// Saves whatever `writer` writes to path: a temporary file beside it renamed
// into place; special files (a pipe, /dev/stdout) written in place.
// Throws ReportWriteError naming the file and the reason.
void save_written_report(const std::filesystem::path& path, const ReportWriter& writer);

}  // namespace flawseek
