// Writing the plain-text report.
#include "output/text_output.h"

#include <string>

#include "build_info.h"
#include "findings/report_writers.h"
#include "platform/label.h"
#include "platform/printable_text.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

void write_text_kind(const FindingsByKind& findings, FindingKind kind, std::ostream& out) {
  // Findings of a kind arrive file by file; a file's name is printed when it
  // changes. Names compare exactly: on Linux, names differing in case are
  // different files.
  const std::string* previous_file = nullptr;
  std::string room;  // a source line converted from Latin-1
  findings.for_each(kind, [&](const KindFinding& finding) {
    if (previous_file == nullptr || *previous_file != finding.file.str()) {
      out << "    " << printable(finding.file.str()) << '\n';
    }
    previous_file = &finding.file.str();
    out << "        At line" << number_image(finding.line);
    if (finding.column != no_column) out << " at position" << number_image(finding.column);
    out << '\n';
    if (!finding.reason.empty()) out << "            " << utf8_text(finding.reason, room) << '\n';
  });
}

// Every kind with findings among the indices [first, last), under its label.
void write_text_kinds(const FindingsByKind& findings, int first, int last, std::ostream& out) {
  for (int i = first; i < last; ++i) {
    FindingKind kind = FindingKind::from_index(i);
    if (findings.count(kind) == 0) continue;
    out << '\n' << kind.label() << "\n\n";
    write_text_kind(findings, kind, out);
  }
}

}  // namespace

void write_text_report_header(std::ostream& out, std::string_view date_and_time) {
  out << "Report created on " << date_and_time << " by " << build_info::product_name << " version "
      << build_info::product_version << '\n'
      << build_info::legal_copyright << '\n'
      << '\n';
  check_report_stream(out);
}

void write_text_report(const FindingsList& findings, std::ostream& out) {
  write_text_report(ListedFindings(findings), out);
}

void write_text_report(const FindingsByKind& findings, std::ostream& out) {
  write_text_kinds(findings, 0, bug_kind_count, out);
  if (findings.style_count() > 0) {
    out << "\nStyle violations\n";
    write_text_kinds(findings, bug_kind_count, FindingKind::count, out);
  }
  check_report_stream(out);
}

}  // namespace flawseek
