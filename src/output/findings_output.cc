// Writing the findings of a run to a stream in the chosen format.
#include "output/findings_output.h"

#include <stdexcept>

#include "findings/findings_list.h"
#include "findings/report_writers.h"
#include "output/csv_output.h"
#include "output/gnu_output.h"
#include "output/json_output.h"
#include "output/sarif_output.h"
#include "output/text_output.h"
#include "output/tree_output.h"

namespace flawseek {

std::unique_ptr<RecordsWriter> make_records_writer(OutputFormat format, const OutputSettings& settings) {
  switch (format) {
    case OutputFormat::Gnu:
      return std::make_unique<GnuLinesWriter>(settings.paths, settings.columns);
    case OutputFormat::Json:
      return make_json_document_writer(settings.context);
    case OutputFormat::Sarif:
      return make_sarif_log_writer(settings.context);
    case OutputFormat::Tree:
    case OutputFormat::Csv:
    case OutputFormat::Text:
      break;
  }
  return nullptr;
}

bool is_grouped_by_kind(OutputFormat format) {
  return format == OutputFormat::Tree || format == OutputFormat::Csv || format == OutputFormat::Text;
}

void write_grouped_findings(OutputFormat format, const FindingsByKind& findings, std::string_view date_and_time,
                            const OutputSettings& settings, std::ostream& out) {
  switch (format) {
    case OutputFormat::Tree:
      write_findings_tree(findings, out);
      if (!settings.context.complete) out << stopped_search_line << '\n';
      return;
    case OutputFormat::Csv:
      write_csv_report(findings, out);
      return;
    case OutputFormat::Text:
      write_text_report_header(out, date_and_time);
      write_text_report(findings, out);
      if (!settings.context.complete) out << stopped_search_line << '\n';
      return;
    case OutputFormat::Gnu:
    case OutputFormat::Json:
    case OutputFormat::Sarif:
      break;
  }
  throw std::logic_error("write_grouped_findings: not a format grouped by kind");
}

void write_findings(OutputFormat format, const FindingsList& findings, std::string_view date_and_time,
                    const OutputSettings& settings, std::ostream& out) {
  if (is_grouped_by_kind(format)) return write_grouped_findings(format, ListedFindings(findings), date_and_time, settings, out);
  const std::unique_ptr<RecordsWriter> writer = make_records_writer(format, settings);
  writer->write(ordered_findings(findings, settings.include_suppressed), out);
  writer->end(out);
}

namespace {

// Writes with `write`, then flushes; false when `out` failed along the way.
template <typename Write>
bool printed(std::ostream& out, Write&& write) {
  try {
    write();
    out.flush();
  } catch (const ReportWriteError&) {
    // The report writers check their stream themselves; the state says it.
  }
  return static_cast<bool>(out);
}

}  // namespace

bool print_findings(OutputFormat format, const FindingsList& findings, std::string_view date_and_time,
                    const OutputSettings& settings, std::ostream& out) {
  return printed(out, [&] { write_findings(format, findings, date_and_time, settings, out); });
}

bool print_grouped_findings(OutputFormat format, const FindingsByKind& findings, std::string_view date_and_time,
                            const OutputSettings& settings, std::ostream& out) {
  return printed(out, [&] { write_grouped_findings(format, findings, date_and_time, settings, out); });
}

void save_findings(OutputFormat format, const FindingsList& findings, const std::filesystem::path& path,
                   std::string_view date_and_time, const OutputSettings& settings) {
  save_written_report(path, [&](std::ostream& out) { write_findings(format, findings, date_and_time, settings, out); });
}

void save_grouped_findings(OutputFormat format, const FindingsByKind& findings, const std::filesystem::path& path,
                           std::string_view date_and_time, const OutputSettings& settings) {
  save_written_report(path,
                      [&](std::ostream& out) { write_grouped_findings(format, findings, date_and_time, settings, out); });
}

}  // namespace flawseek
