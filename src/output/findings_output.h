// The findings of a run in the format the user chose: the findings tree, one
// GNU-style line per finding, either report, a JSON document or a SARIF log.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string_view>

#include "output/finding_records.h"
#include "output/findings_by_kind.h"
#include "output/output_format.h"
#include "output/records_writer.h"
#include "output/report_context.h"

namespace flawseek {

class FindingsList;

// What the machine-readable formats need besides the findings.
struct OutputSettings {
  ReportContext context;
  PathStyle paths;                // file names of the GNU lines
  bool include_suppressed = false;  // JSON and SARIF list what marks absorbed
  ColumnCount columns = ColumnCount::Screen;  // of the GNU lines
};

// The writer of a format that can be written as the findings come (GNU
// lines, JSON, SARIF); null for the tree and the reports, which need the
// whole list. `settings` must outlive it.
std::unique_ptr<RecordsWriter> make_records_writer(OutputFormat format, const OutputSettings& settings);

// The findings in `format`; `date_and_time` goes into the plain-text
// report's header.
void write_findings(OutputFormat format, const FindingsList& findings, std::string_view date_and_time,
                    const OutputSettings& settings, std::ostream& out);

// write_findings, then a flush; false when `out` failed along the way.
bool print_findings(OutputFormat format, const FindingsList& findings, std::string_view date_and_time,
                    const OutputSettings& settings, std::ostream& out);

// The formats that group the findings by kind (the tree, CSV and the
// plain-text report), which can be written from any source that keeps them
// so (a list, or the compact store of a run that keeps nothing else).
bool is_grouped_by_kind(OutputFormat format);
void write_grouped_findings(OutputFormat format, const FindingsByKind& findings, std::string_view date_and_time,
                            const OutputSettings& settings, std::ostream& out);
bool print_grouped_findings(OutputFormat format, const FindingsByKind& findings, std::string_view date_and_time,
                            const OutputSettings& settings, std::ostream& out);

// The findings saved to `path` in a format with save_report's care for an
// earlier file. Throws ReportWriteError.
void save_findings(OutputFormat format, const FindingsList& findings, const std::filesystem::path& path,
                   std::string_view date_and_time, const OutputSettings& settings);
void save_grouped_findings(OutputFormat format, const FindingsByKind& findings, const std::filesystem::path& path,
                           std::string_view date_and_time, const OutputSettings& settings);

}  // namespace flawseek
