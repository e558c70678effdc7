// The two report formats of the findings of a search: a comma-delimited table
// and an indented plain-text report, and saving either to a file.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "findings/findings_list.h"

namespace flawseek {

inline constexpr std::string_view csv_header = "Filename,Path,Reason,Line,Column";

// A report could not be written (unwritable file, full disk); what() says
// which file and why.
class ReportWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The table: nothing at all when there are no findings, otherwise the header
// line and one line per finding (bug kinds first, then style kinds).
void write_csv_report(const FindingsList& findings, std::ostream& out);

// The three header lines of the plain-text report; date_and_time is the local
// date and time as the user reads it.
void write_text_report_header(std::ostream& out, std::string_view date_and_time);

// The body of the plain-text report, grouped by kind and file.
void write_text_report(const FindingsList& findings, std::ostream& out);

// A field of the table as written: quoted (with doubled quotation marks) only
// when it holds a comma, a quotation mark or a line break.
std::string csv_field(std::string_view text);

// The table is chosen when the file name's extension is "csv" in any case.
bool is_csv_report_name(std::string_view path);

// Writes the report chosen by the name's extension to path. A regular file is
// written beside its final place and renamed over it only when complete, so a
// failure never destroys an earlier report. Throws ReportWriteError.
void save_report(const FindingsList& findings, const std::filesystem::path& path, std::string_view date_and_time);

// What a report writes to its stream; it may throw ReportWriteError.
using ReportWriter = std::function<void(std::ostream&)>;

// Saves whatever `writer` writes to path, as safely as save_report does (a
// temporary file renamed into place; special files written in place).
// Throws ReportWriteError naming the file and the reason.
void save_written_report(const std::filesystem::path& path, const ReportWriter& writer);

}  // namespace flawseek
