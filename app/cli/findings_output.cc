// Writing the findings of a run to a stream in the chosen format.
#include "findings_output.h"

#include "findings/findings_list.h"
#include "findings/report_writers.h"
#include "findings/text_tree_view.h"
#include "gnu_output.h"
#include "json_output.h"
#include "sarif_output.h"

namespace flawseek {

std::unique_ptr<RecordsWriter> make_records_writer(OutputFormat format, const OutputSettings& settings) {
  switch (format) {
    case OutputFormat::Gnu:
      return std::make_unique<GnuLinesWriter>(settings.paths);
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

void write_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, const OutputSettings& settings, std::ostream& out) {
  switch (format) {
    case OutputFormat::Tree:
      tree.render(out);
      return;
    case OutputFormat::Gnu:
    case OutputFormat::Json:
    case OutputFormat::Sarif: {
      const std::unique_ptr<RecordsWriter> writer = make_records_writer(format, settings);
      writer->write(ordered_findings(findings, settings.include_suppressed), out);
      writer->end(out);
      return;
    }
    case OutputFormat::Csv:
      write_csv_report(findings, out);
      return;
    case OutputFormat::Text:
      write_text_report_header(out, date_and_time);
      write_text_report(findings, out);
      return;
  }
}

bool print_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, const OutputSettings& settings, std::ostream& out) {
  try {
    write_findings(format, findings, tree, date_and_time, settings, out);
    out.flush();
  } catch (const ReportWriteError&) {
    // The report writers check their stream themselves; the state says it.
  }
  return static_cast<bool>(out);
}

}  // namespace flawseek
