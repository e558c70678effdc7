// The per-file driver: the analysis of one specification (preparation pass),
// one file or one specification-and-body pair (check pass), framed by the
// start and finish of a search. Every unexpected failure of a file becomes an
// INTERNAL_ERROR finding for that file, so one bad file never ends a search.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/defect_checker.h"
#include "driver/source_walk.h"
#include "findings/file_findings.h"
#include "style/accepted_spellings.h"
#include "style/style_rules.h"

namespace flawseek {

class Job;
class Log;
class UnitSurvey;

// A file whose check stopped at a line too long to analyse: its later
// findings are missing, so the run must not pass for a clean one.
struct CutShortFile {
  std::string file;
  std::int32_t line = 0;
  // The body of the pair whose specification this is, which went unchecked
  // with it; empty for a single file or a body.
  std::string unchecked_body;
};

// What the analysis of one work item produced: its findings, recorded in
// order, and its log records. The search run applies results in walk order,
// so a run on several threads shows exactly what a serial run shows.
struct ScanResult {
  FileFindings findings;
  std::vector<std::string> log_records;
  // How many of the findings say a file or directory could not be read.
  int unreadable = 0;
  std::vector<CutShortFile> cut_short;

  void clear() {
    findings.clear();
    log_records.clear();
    unreadable = 0;
    cut_short.clear();
  }
};

// The job's choices for one search, read once when it starts.
struct ScanSettings {
  StyleRules style_rules{};
  bool gnat_extensions = false;
  AdaVersion ada_version = default_ada_version;
  bool relaxed_styles = false;
  bool report_superfluous_marks = false;
  // Whether the log records of each file are made at all: a search whose
  // log is closed would build a record or more per file only to drop it.
  bool keep_log_records = true;
  // Whether style findings carry their words: a search whose outputs never
  // show them would build a detail per finding only to drop it.
  bool style_details = true;

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
  // Records go to the result only when the search's log keeps them.
  void log(std::string record);
  void log(std::initializer_list<std::string_view> parts);
  void log_spellings(const std::vector<std::string>& spellings, bool of_specification);
  void check_single_unit(const std::string& name, bool is_adq);
  void check_pair_unit(const std::string& specification, const std::string& body, bool is_adq);
  void check_one(const std::string& file, bool is_adq, const std::vector<std::string>& spellings);
  void check_two(const std::string& specification, const std::string& body, bool is_adq,
                 const std::vector<std::string>& specification_spellings,
                 const std::vector<std::string>& body_spellings);
  void begin_unit(const std::string& specification);
  // `body` is the pair's body when `file` is its specification.
  CheckOutcome check_source(const std::string& file, FileRole role, bool is_adq,
                            const std::vector<std::string>& spellings, const std::string& body = {});
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
