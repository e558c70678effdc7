// Test support for the bug checker: a sink that records findings, and
// check_unit, which takes one file or a specification-and-body pair through
// the per-file driver with a real checker, exactly as a search does.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "driver/defect_scan.h"
#include "findings/finding.h"
#include "findings/finding_sink.h"
#include "stylecheck/unit_survey/unit_survey.h"

namespace flawseek::testing_support {

struct RecordedFinding {
  std::string file;
  FindingKind kind;
  std::int32_t line;
  std::int32_t column;
  std::string reason;

  bool operator==(const RecordedFinding&) const = default;
};

class RecordingSink final : public FindingSink {
 public:
  // NO_STYLE_CHECKS is kept only when asked, like the findings list does.
  explicit RecordingSink(bool keep_unchecked = false) : keep_unchecked_(keep_unchecked) {}

  void set_current_file(std::string_view name) override { current_.assign(name); }
  void report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override {
    findings.push_back({current_, kind, line, column, std::string(reason)});
  }
  void report_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override {
    if (kind == StyleKind::NO_STYLE_CHECKS && !keep_unchecked_) return;
    findings.push_back({current_, kind, line, column, std::string(reason)});
  }
  void note_style_command_seen() override { ++style_commands_seen; }
  void describe_last_finding(std::string_view detail) override {
    details.push_back({findings.size() - 1, std::string(detail)});
  }
  void report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) override {
    suppressed.push_back({current_, kind, line, column, std::string(reason)});
  }

  std::vector<RecordedFinding> findings;
  // The position in `findings` each detail was given for.
  std::vector<std::pair<std::size_t, std::string>> details;
  std::vector<RecordedFinding> suppressed;
  int style_commands_seen = 0;

 private:
  bool keep_unchecked_;
  std::string current_;
};

// A checker whose style checks stay off in the check pass too, as they are in
// the preparation pass, for tests of what the reader does then.
class ChecksOffChecker final : public BugChecker {
 public:
  void begin_unit(bool report_superfluous_marks, std::string_view specification) override {
    BugChecker::begin_unit(report_superfluous_marks, specification);
    set_style_checks(false);
  }
};

struct UnitSettings {
  ScanSettings scan;
  bool is_adq = false;
  // Run the preparation pass over every file first (as a search does).
  bool prepare = false;
};

// A source file given by path, or by its text (then `name` is only a name).
struct UnitFile {
  std::string name;
  bool in_memory = false;
  std::string text;
};

// The failures the driver logged for the unit ("<place>: Exception = ...").
struct UnitOutcome {
  std::vector<std::string> internal_errors;
};

namespace detail {

// Sources held in memory are written to a scratch folder of this process, and
// their findings are filed back under the names the test gave them.
class ScratchSources {
 public:
  explicit ScratchSources(const std::vector<UnitFile>& files) {
    // One folder per call: tests check units on several threads at once.
    static std::atomic<int> calls{0};
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("flawseek-check-" + std::to_string(::getpid()) + "-" + std::to_string(++calls));
    for (const UnitFile& file : files) {
      if (!file.in_memory) {
        paths.push_back(file.name);
        continue;
      }
      std::filesystem::create_directories(dir);
      dir_ = dir;
      const std::filesystem::path path = dir / std::filesystem::path(file.name).filename();
      std::ofstream(path, std::ios::binary) << file.text;
      paths.push_back(path.string());
      names_.push_back({path.string(), file.name});
    }
  }
  ~ScratchSources() {
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
  }
  ScratchSources(const ScratchSources&) = delete;
  ScratchSources& operator=(const ScratchSources&) = delete;

  std::string_view name_of(std::string_view path) const {
    for (const auto& [written, name] : names_) {
      if (written == path) return name;
    }
    return path;
  }

  std::vector<std::string> paths;

 private:
  std::filesystem::path dir_;
  std::vector<std::pair<std::string, std::string>> names_;
};

}  // namespace detail

// One single file (one entry) or a pair (specification, then body), through
// DefectScan and `checker`, whose start() the caller has called. The unit's
// findings are replayed into `sink`.
inline UnitOutcome check_unit(BugChecker& checker, FindingSink& sink, const std::vector<UnitFile>& files,
                              const UnitSettings& settings) {
  const detail::ScratchSources sources(files);
  EmptyUnitSurvey survey;
  DefectScan scan(checker, survey, settings.scan);
  ScanResult result;
  if (settings.prepare) {
    for (const std::string& path : sources.paths) scan.prepare(path, settings.is_adq, result);
  }
  if (sources.paths.size() == 1) {
    scan.check_single(sources.paths[0], settings.is_adq, result);
  } else {
    scan.check_pair(sources.paths[0], sources.paths[1], settings.is_adq, result);
  }
  for (const FileFindings::Step& step : result.findings.steps()) {
    switch (step.what) {
      case FileFindings::StepKind::SetCurrentFile:
        sink.set_current_file(sources.name_of(step.file));
        break;
      case FileFindings::StepKind::Report:
        if (step.kind.is_style()) {
          sink.report_style(step.kind.style_kind(), step.line, step.column, result.findings.reason(step));
        } else {
          sink.report_bug(step.kind.bug_kind(), step.line, step.column, result.findings.reason(step));
        }
        break;
      case FileFindings::StepKind::StyleCommandSeen:
        sink.note_style_command_seen();
        break;
      case FileFindings::StepKind::Detail:
        sink.describe_last_finding(result.findings.reason(step));
        break;
      case FileFindings::StepKind::Suppressed:
      case FileFindings::StepKind::WithoutTabs:
        break;  // the machine outputs' notes; these tests look at findings and details only
    }
  }
  UnitOutcome outcome;
  for (const std::string& record : result.log_records) {
    if (record.find(" exception: ") != std::string::npos) outcome.internal_errors.push_back(record);
  }
  return outcome;
}

}  // namespace flawseek::testing_support
