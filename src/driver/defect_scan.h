// The per-file driver: the analysis of one specification (preparation pass),
// one file or one specification-and-body pair (check pass), framed by the
// start and finish of a search. Every unexpected failure of a file becomes an
// INTERNAL_ERROR finding for that file, so one bad file never ends a search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "driver/source_walk.h"
#include "findings/file_findings.h"
#include "style/accepted_spellings.h"
#include "style/style_rules.h"

namespace flawseek {

class Job;
class Log;
class UnitSurvey;

// How a step of the bug checker ended: normally, or stopped by the checker
// itself (a line longer than the reader takes while style checks are on, or
// the finding limit reached). A stop is ordinary control flow, so it is a
// value here and not an exception.
enum class CheckOutcome : std::uint8_t { Completed, Stopped };

// The bug-check side as the driver sees it: one object per analysing thread
// holding both parser instances, the line reader, the marks and the counters.
// Failures other than a stop are thrown.
class DefectChecker {
 public:
  virtual ~DefectChecker() = default;

  // Where the following reports go (the result of the work item at hand).
  virtual void set_finding_sink(FindingSink& sink) = 0;
  // Once per search: stores the limit, sets the finding count to 0, turns
  // style checks off and resets the checker's global lists.
  virtual void start(std::int32_t finding_limit) = 0;

  // The reader switches, set before every check of a file or pair.
  virtual void set_style_checks(bool on) = 0;
  virtual void set_report_superfluous_marks(bool on) = 0;
  virtual void clear_marks() = 0;
  // The unit lists of one check of a file or pair.
  virtual void reset_unit_lists() = 0;
  virtual void set_current_specification(const std::string& file) = 0;

  // Opens `file` for reading and sets the line count to 0; false with the
  // reason in `error` when it cannot be read.
  virtual bool open_source(const std::string& file, std::string& error) = 0;
  virtual void close_source() noexcept = 0;
  // The number of the line read last in the open (or last) file.
  virtual std::int32_t current_line() const = 0;

  // Per file of a check: the with-clause lists emptied, "System" entered.
  virtual void reset_file_unit_lists() = 0;
  // The preparation instance over the open file (role 2, the base style
  // rules, GNAT extensions on).
  virtual CheckOutcome run_preparation(bool is_adq) = 0;
  // The check instance over the open file; `style_command_seen` tells whether
  // the file held a style command.
  virtual CheckOutcome run_check(const ParseMode& mode, bool& style_command_seen) = 0;

  // With-clause bookkeeping of a pair and its specification-level reports.
  virtual void after_specification() = 0;
  virtual void after_body() = 0;
  virtual CheckOutcome after_pair() = 0;
  // SUPERFLUOUS_CODE_MARK for every mark left (when asked to report them).
  virtual void report_unused_marks() = 0;
  // Once per search, after the check pass; the checker keeps nothing that
  // needs closing today.
  virtual void finish() {}
};

// What the analysis of one work item produced: its findings, recorded in
// order, and its log records. The search run applies results in walk order,
// so a run on several threads shows exactly what a serial run shows.
struct ScanResult {
  FileFindings findings;
  std::vector<std::string> log_records;

  void clear() {
    findings.clear();
    log_records.clear();
  }
};

// The job's choices for one search, read once when it starts.
struct ScanSettings {
  StyleRules style_rules{};
  bool gnat_extensions = false;
  bool relaxed_styles = false;
  bool report_superfluous_marks = false;

  static ScanSettings from_job(const Job& job);
};

// The "<place>: Exception = <description>" record the log writes for a caught
// error ("<place>: Unknown Exception" without a description).
std::string exception_record(const std::string& place, std::exception_ptr error);

// Drives one checker (and its unit survey) through a search. One per
// analysing thread; it shares nothing with other instances.
class DefectScan {
 public:
  DefectScan(DefectChecker& checker, UnitSurvey& survey, const ScanSettings& settings);

  // Once per search, before any other call.
  void start(std::int32_t finding_limit, ScanResult& result);
  void prepare(const std::string& name, bool is_adq, ScanResult& result);
  void check_single(const std::string& name, bool is_adq, ScanResult& result);
  void check_pair(const std::string& specification, const std::string& body, bool is_adq, ScanResult& result);
  // Once per search, after the check pass.
  void finish(ScanResult& result);

  // The call the walk's work item asks for.
  void analyse(const WorkItem& item, ScanResult& result);

 private:
  void begin(ScanResult& result);
  void log(std::string record);
  void log_spellings(const std::vector<std::string>& spellings, bool of_specification);
  void check_single_unit(const std::string& name, bool is_adq);
  void check_pair_unit(const std::string& specification, const std::string& body, bool is_adq);
  void check_one(const std::string& file, bool is_adq, const std::vector<std::string>& spellings);
  void check_two(const std::string& specification, const std::string& body, bool is_adq,
                 const std::vector<std::string>& specification_spellings,
                 const std::vector<std::string>& body_spellings);
  void set_reader_switches();
  CheckOutcome check_source(const std::string& file, FileRole role, bool is_adq,
                            const std::vector<std::string>& spellings);
  // Opens `file` for the checker; when it cannot be read, the failure is
  // logged under `failure_place`, filed as an INTERNAL_ERROR of the file at
  // line 0, and false returned.
  bool open_or_report(const std::string& file, const char* failure_place);
  void report_internal_error(const std::string& file, std::int32_t line);
  // A file whose text held no style command: NO_STYLE_CHECKS at line 0.
  void report_unchecked_file(const std::string& file);
  const AcceptedSpellings& spellings_of(const std::vector<std::string>& spellings);

  DefectChecker& checker_;
  UnitSurvey& survey_;
  ScanSettings settings_;
  ScanResult* result_ = nullptr;
  AcceptedSpellings spellings_;  // reused for every file
};

}  // namespace flawseek
