// Running one search serially and on four threads and comparing what both
// leave: the findings on standard output, standard error, the report file and
// the log records (apart from their times and thread ids).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/log_messages.h"
#include "program_runner.h"

namespace flawseek::testing {

namespace parallel_traces_detail {
namespace fs = std::filesystem;

// Log records without their times and thread ids, and the header's creation
// time left out.
inline std::vector<std::string> comparable_log(const fs::path& log) {
  std::vector<std::string> records = log_messages(log);
  for (std::string& record : records) {
    if (record.starts_with("Log created ")) record = "Log created";
  }
  return records;
}

// The text report's header names the time it was made, a SARIF log's
// invocation the times the run started and ended.
inline std::string without_creation_time(const std::string& text) {
  std::string kept;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line(text.data() + start, end - start);
    const bool timed = line.starts_with("Report created on ") || line.find("\"startTimeUtc\": ") != std::string_view::npos ||
                       line.find("\"endTimeUtc\": ") != std::string_view::npos;
    if (!timed) kept += line;
    start = end;
  }
  return kept;
}

struct Traces {
  ProgramResult run;
  std::string report;
  std::vector<std::string> log;
};

inline Traces run_with_jobs(const fs::path& directory, std::vector<std::string> arguments, const std::string& jobs,
                     const std::string& report_name) {
  const fs::path report = directory / ("j" + jobs + "-" + report_name);
  const fs::path log = directory / ("j" + jobs + ".log");
  fs::remove(log);
  arguments.insert(arguments.begin(), {"--jobs", jobs, "--report", report.string(), "--log", log.string()});
  Traces traces;
  traces.run = run_program(arguments, directory);
  traces.report = without_creation_time(read_file(report));
  traces.log = comparable_log(log);
  return traces;
}

// Runs the search serially and on four threads and compares every trace.
inline void expect_same_traces(const fs::path& directory, const std::vector<std::string>& arguments,
                        const std::string& report_name) {
  const Traces serial = run_with_jobs(directory, arguments, "1", report_name);
  const Traces parallel = run_with_jobs(directory, arguments, "4", report_name);
  ASSERT_TRUE(serial.run.status == 0 || serial.run.status == 1) << serial.run.err;
  EXPECT_EQ(parallel.run.status, serial.run.status);
  EXPECT_TRUE(without_creation_time(parallel.run.out) == without_creation_time(serial.run.out))
      << "standard output differs";
  EXPECT_EQ(parallel.run.err, serial.run.err);
  EXPECT_TRUE(parallel.report == serial.report) << "report " << report_name << " differs";
  EXPECT_TRUE(parallel.log == serial.log) << "log records differ";
  // Something was compared: a log with a record per file, a report.
  EXPECT_GT(serial.log.size(), 100u);
  EXPECT_GT(serial.report.size(), 100u);
}

}  // namespace parallel_traces_detail

using parallel_traces_detail::expect_same_traces;
using parallel_traces_detail::without_creation_time;

}  // namespace flawseek::testing
