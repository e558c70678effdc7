// What the JSON and SARIF documents say about the run besides its findings:
// the job, the directory the file names are relative to, and how findings'
// texts become valid UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "findings/finding.h"

#include "platform/utf8_text.h"  // the documents' texts go through utf8_text

namespace flawseek {

class Job;

struct ReportContext {
  const Job* job = nullptr;
  // The root's directory, absolute, without a final "/" (except "/" itself):
  // file names in the documents are relative to it, so a baseline made in one
  // checkout matches in another.
  std::string root_directory;
  // False when the search stopped before its end (a signal, a failure): the
  // files not reached have no findings, and the documents must say so, or a
  // code-scanning service would take every finding not reached for fixed.
  // Read when a document ends, so it may be set after writing began.
  bool complete = true;
  // The count of findings per kind, when the documents are to carry it
  // (--statistics); read when a document ends, as `complete` is.
  std::optional<std::array<std::int64_t, FindingKind::count>> statistics;
  // For SARIF's invocation: the exit status the run ends with (when known
  // as the document ends) and when it started and ended, in UTC as
  // "2026-12-10T20:22:48Z". Empty texts are left out.
  std::optional<int> exit_code;
  std::string start_time_utc;
  std::string end_time_utc;
  // Against a baseline: the SARIF log says of each result whether it is new
  // or unchanged (`known`, the findings the baseline knows, which the log
  // then holds too) and lists the baseline's findings this run no longer
  // has as absent. Null and empty without a baseline.
  bool against_baseline = false;
  const std::unordered_set<const Finding*>* known = nullptr;
  struct AbsentFinding {
    std::string file;  // relative to root_directory, UTF-8
    std::string id;
    std::string source;
  };
  std::vector<AbsentFinding> absent;
};

// What the tree and the plain-text report add at their end after a search
// that stopped early.
inline constexpr std::string_view stopped_search_line =
    "Search stopped before its end: the files not reached are not in these findings.";

// The context of a run of `job`: the job, and its root's directory as the
// search resolves the root against current_directory (none when it does not).
ReportContext report_context_of(const Job& job, std::string_view current_directory);

// A file's name relative to the root directory with "/" between its parts
// (the whole name when it lies elsewhere).
std::string root_relative_name(const ReportContext& context, const std::string& file);

// A file's names as the documents print them (UTF-8), worked out once for
// each run of findings of one file.
class DocumentFileNames {
 public:
  // True when `file` is another file than the last one: its names are new.
  bool enter(const SharedPath& file, const ReportContext& context);
  const std::string& relative() const { return relative_; }
  const std::string& path() const { return path_; }

 private:
  // Held, so that the comparison stays sound when the record's copy is gone.
  SharedPath file_;
  bool known_ = false;
  std::string relative_;
  std::string path_;
};

}  // namespace flawseek
