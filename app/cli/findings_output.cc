// Writing the findings of a run to a stream in the chosen format.
#include "findings_output.h"

#include "findings/findings_list.h"
#include "findings/report_writers.h"
#include "findings/text_tree_view.h"

namespace flawseek {

void write_gnu_findings(const FindingsList& findings, std::ostream& out) {
  std::string line;
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    for (const Finding& finding : findings.findings(kind)) {
      line.assign(finding.file);
      line += ':';
      line += std::to_string(finding.line);
      if (finding.column != no_column) {
        line += ':';
        line += std::to_string(finding.column);
      }
      line += ": ";
      if (kind.is_style()) line += "Style: ";
      line += kind.label();
      if (!finding.reason.empty()) {
        line += ": ";
        line += finding.reason;
      }
      line += '\n';
      out << line;
    }
  }
}

void write_findings(OutputFormat format, const FindingsList& findings, const TextTreeView& tree,
                    std::string_view date_and_time, std::ostream& out) {
  switch (format) {
    case OutputFormat::Tree:
      tree.render(out);
      return;
    case OutputFormat::Gnu:
      write_gnu_findings(findings, out);
      return;
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
                    std::string_view date_and_time, std::ostream& out) {
  try {
    write_findings(format, findings, tree, date_and_time, out);
    out.flush();
  } catch (const ReportWriteError&) {
    // The report writers check their stream themselves; the state says it.
  }
  return static_cast<bool>(out);
}

}  // namespace flawseek
