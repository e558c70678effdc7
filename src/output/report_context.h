// What the JSON and SARIF documents say about the run besides its findings:
// the job, the directory the file names are relative to, and how findings'
// texts become valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

class Job;

struct ReportContext {
  const Job* job = nullptr;
  // The root's directory, absolute, without a final "/" (except "/" itself):
  // file names in the documents are relative to it, so a baseline made in one
  // checkout matches in another.
  std::string root_directory;
};

// The context of a run of `job`: the job, and its root's directory as the
// search resolves the root against current_directory (none when it does not).
ReportContext report_context_of(const Job& job, std::string_view current_directory);

// A file's name relative to the root directory with "/" between its parts
// (the whole name when it lies elsewhere).
std::string root_relative_name(const ReportContext& context, const std::string& file);

// Text as UTF-8: kept when it already is, read as Latin-1 (the sources'
// character set) otherwise, so that a JSON writer never meets a bad byte.
std::string utf8_text(std::string_view text);

}  // namespace flawseek
