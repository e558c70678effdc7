// Writing the findings of a run to a stream in the chosen format.
#include "findings_output.h"

#include "findings/findings_list.h"
#include "findings/report_writers.h"
#include "findings/text_tree_view.h"
#include "gnu_output.h"
#include "json_output.h"
#include "sarif_output.h"

namespace flawseek {

void write_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, const OutputSettings& settings, std::ostream& out) {
  switch (format) {
    case OutputFormat::Tree:
      tree.render(out);
      return;
    case OutputFormat::Gnu:
      write_gnu_lines(ordered_findings(findings), settings.paths, out);
      return;
    case OutputFormat::Csv:
      write_csv_report(findings, out);
      return;
    case OutputFormat::Text:
      write_text_report_header(out, date_and_time);
      write_text_report(findings, out);
      return;
    case OutputFormat::Json:
      write_json_document(ordered_findings(findings, settings.include_suppressed), settings.context, out);
      return;
    case OutputFormat::Sarif:
      write_sarif_log(ordered_findings(findings, settings.include_suppressed), settings.context, out);
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
