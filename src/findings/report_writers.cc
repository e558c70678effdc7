// The comma-delimited and plain-text reports, and writing them safely to disk.
#include "findings/report_writers.h"

#include <cerrno>
#include <cstring>

#include "build_info.h"
#include "platform/disk.h"
#include "platform/label.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

void check_stream(std::ostream& out) {
  out.flush();
  if (!out) throw ReportWriteError("The report could not be written");
}

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

void write_text_kind(const FindingsList::Findings& list, std::ostream& out) {
  // Findings of a kind arrive file by file; a file's name is printed when it
  // changes. Names compare exactly: on Linux, names differing in case are
  // different files.
  const std::string* previous_file = nullptr;
  for (const Finding& finding : list) {
    if (previous_file == nullptr || *previous_file != finding.file) out << "    " << finding.file << '\n';
    previous_file = &finding.file.str();
    out << "        At line" << number_image(finding.line);
    if (finding.column != no_column) out << " at position" << number_image(finding.column);
    out << '\n';
    if (!finding.reason.empty()) out << "            " << finding.reason << '\n';
  }
}

// Every kind with findings among the indices [first, last), under its label.
void write_text_kinds(const FindingsList& findings, int first, int last, std::ostream& out) {
  for (int i = first; i < last; ++i) {
    FindingKind kind = FindingKind::from_index(i);
    const auto& list = findings.findings(kind);
    if (list.empty()) continue;
    out << '\n' << kind.label() << "\n\n";
    write_text_kind(list, out);
  }
}

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
  // The disk refuses a link to a file with ELOOP; its own words would puzzle.
  const std::string why = error == ELOOP ? "it is a symbolic link (name the file itself)" : std::strerror(error);
  throw ReportWriteError("Cannot write the report " + path.string() + ": " + why);
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

bool is_csv_report_name(std::string_view path) {
  std::string_view name = file_name_part(path);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  return latin1::equal_ignoring_case(name.substr(dot + 1), "csv");
}

void write_csv_report(const FindingsList& findings, std::ostream& out) {
  if (findings.findings_count() == 0) {
    check_stream(out);
    return;
  }
  out << csv_header << '\n';
  for (int i = 0; i < FindingKind::count; ++i) {
    FindingKind kind = FindingKind::from_index(i);
    for (const Finding& finding : findings.findings(kind)) {
      out << csv_field(file_name_part(finding.file)) << ',' << csv_field(directory_part(finding.file)) << ','
          << csv_kind_text(kind) << ',' << number_image(finding.line);
      if (finding.column != no_column) out << ',' << number_image(finding.column);
      out << '\n';
    }
    if (!out) break;
  }
  check_stream(out);
}

void write_text_report_header(std::ostream& out, std::string_view date_and_time) {
  out << "Report created on " << date_and_time << " by " << build_info::product_name << " version "
      << build_info::product_version << '\n'
      << build_info::legal_copyright << '\n'
      << '\n';
  check_stream(out);
}

void write_text_report(const FindingsList& findings, std::ostream& out) {
  write_text_kinds(findings, 0, bug_kind_count, out);
  if (findings.style_count() > 0) {
    out << "\nStyle violations\n";
    write_text_kinds(findings, bug_kind_count, FindingKind::count, out);
  }
  check_stream(out);
}

void save_report(const FindingsList& findings, const std::filesystem::path& path, std::string_view date_and_time) {
  const bool csv = is_csv_report_name(path.string());
  save_written_report(path, [&](std::ostream& out) {
    if (csv) {
      write_csv_report(findings, out);
    } else {
      write_text_report_header(out, date_and_time);
      write_text_report(findings, out);
    }
  });
}

void save_written_report(const std::filesystem::path& path, const ReportWriter& writer) {
  const int error = disk().write_file(path.string(), [&writer](std::ostream& out) {
    try {
      writer(out);
      check_stream(out);
    } catch (const ReportWriteError&) {
      // The disk tells the errno of a failed write; a writer's own failure
      // is told by the stream.
      out.setstate(std::ios::badbit);
    }
  });
  if (error != 0) fail(path, error);
}

}  // namespace flawseek
