// The formats findings are written in, their names, and the format a report
// file's name asks for by its extension.
#pragma once

#include <optional>
#include <string_view>

namespace flawseek {

// How findings are written: the kind-and-file tree, one "file:line:column:
// message" line each (the form editors and CI understand), the comma-delimited
// table, the indented plain-text report, one JSON document, or a SARIF log.
enum class OutputFormat { Tree, Gnu, Csv, Text, Json, Sarif };

std::string_view format_name(OutputFormat format);

// The report format a file name's extension names, in any case: .csv, .txt,
// .json, .sarif; nothing for another extension or none.
std::optional<OutputFormat> report_format_named_by(std::string_view file_name);

// The report format a file name asks for by its extension, in any case:
// .csv, .json, .sarif; anything else is the plain-text report.
OutputFormat report_format_for(std::string_view file_name);

}  // namespace flawseek
