// Writing the findings of a run to a stream in the chosen format.
#include "output/findings_output.h"

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

void write_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, const OutputSettings& settings, std::ostream& out) {
  switch (format) {
    case OutputFormat::Tree:
      tree.render(out);
      if (!settings.context.complete) out << stopped_search_line << '\n';
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
      if (!settings.context.complete) out << stopped_search_line << '\n';
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

void save_findings(OutputFormat format, const FindingsList& findings, const std::filesystem::path& path,
                   std::string_view date_and_time, const OutputSettings& settings) {
  save_report(findings, path, date_and_time, [&](const FindingsList& list, std::string_view date, std::ostream& out) {
    const TextTreeView no_tree;
    write_findings(format, list, no_tree, date, settings, out);
  });
}

}  // namespace flawseek
