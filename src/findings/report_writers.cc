// Writing reports safely to disk.
#include "findings/report_writers.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/disk.h"

namespace flawseek {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
  // The disk refuses a link to a file with ELOOP; its own words would puzzle.
  const std::string why = error == ELOOP ? "it is a symbolic link (name the file itself)" : std::strerror(error);
  throw ReportWriteError("Cannot write the report " + path.string() + ": " + why);
}

}  // namespace

void check_report_stream(std::ostream& out) {
  out.flush();
  if (!out) throw ReportWriteError("The report could not be written");
}

void save_report(const FindingsList& findings, const std::filesystem::path& path, std::string_view date_and_time,
                 const FindingsReportFormat& format) {
  save_written_report(path, [&](std::ostream& out) { format(findings, date_and_time, out); });
}

void save_written_report(const std::filesystem::path& path, const ReportWriter& writer) {
  const int error = disk().write_file(path.string(), [&writer](std::ostream& out) {
    try {
      writer(out);
      check_report_stream(out);
    } catch (const ReportWriteError&) {
      // The disk tells the errno of a failed write; a writer's own failure
      // is told by the stream.
      out.setstate(std::ios::badbit);
    }
  });
  if (error != 0) fail(path, error);
}

}  // namespace flawseek
