// Writing the comma-delimited table.
#include "output/csv_output.h"

#include <array>

#include "findings/report_writers.h"
#include "platform/label.h"
#include "platform/printable_text.h"

namespace flawseek {

namespace {

// The text after the last '/' and the text before it (without it).
std::string_view file_name_part(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view directory_part(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

const std::string& csv_kind_text(FindingKind kind) {
  static const auto texts = [] {
    std::array<std::string, FindingKind::count> result;
    for (int i = 0; i < FindingKind::count; ++i) {
      FindingKind k = FindingKind::from_index(i);
      result[i] = k.is_style() ? "Style: " + k.label() : k.label();
    }
    return result;
  }();
  return texts[kind.index()];
}

}  // namespace

std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.push_back('"');
  for (char c : text) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

void write_csv_report(const FindingsList& findings, std::ostream& out) {
  write_csv_report(ListedFindings(findings), out);
}

void write_csv_report(const FindingsByKind& findings, std::ostream& out) {
  if (findings.findings_count() == 0) {
    check_report_stream(out);
    return;
  }
  out << csv_header << '\n';
  std::string shown;  // a file name with its control bytes escaped, when it has any
  for (int i = 0; i < FindingKind::count; ++i) {
    FindingKind kind = FindingKind::from_index(i);
    findings.for_each(kind, [&](const KindFinding& finding) {
      const std::string_view file = printable(finding.file.str(), shown);
      out << csv_field(file_name_part(file)) << ',' << csv_field(directory_part(file)) << ','
          << csv_kind_text(kind) << ',' << number_image(finding.line);
      if (finding.column != no_column) out << ',' << number_image(finding.column);
      out << '\n';
    });
    if (!out) break;
  }
  check_report_stream(out);
}

}  // namespace flawseek
