// The per-file driver: opening, naming, parsing and closing each file, the
// order of the steps of a pair, and the failure handling around them.
#include "driver/defect_scan.h"

#include <exception>

#include "driver/job.h"
#include "findings/finding.h"
#include "style/get_style_rules.h"
#include "stylecheck/unit_survey/unit_survey.h"

namespace flawseek {

namespace {

constexpr const char* prepare_failure_place = "Defect.Scan.Prepare exception";
constexpr const char* check_failure_place = "Defect.Scan.Check_Source exception";
// The steps around the files of a unit (survey, bookkeeping, end-of-pair
// reports) are guarded too, so no failure of one unit can end the search.
constexpr const char* single_failure_place = "Defect.Scan.Check_Single exception";
constexpr const char* pair_failure_place = "Defect.Scan.Check_Pair exception";

}  // namespace

ScanSettings ScanSettings::from_job(const Job& job) {
  ScanSettings settings;
  settings.style_rules = get_style_rules(job.style_selection());
  settings.gnat_extensions = job.option_is_set(Option::GNAT_EXTENSIONS);
  settings.ada_version = job.ada_version();
  settings.relaxed_styles = job.option_is_set(Option::RELAXED_STYLES);
  settings.report_superfluous_marks = job.style_kind_enabled(StyleKind::SUPERFLUOUS_CODE_MARK);
  return settings;
}

std::string exception_record(const std::string& place, std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& known) {
    const char* description = known.what();
    if (description != nullptr && *description != '\0') return place + ": Exception = " + description;
  } catch (...) {
  }
  return place + ": Unknown Exception";
}

DefectScan::DefectScan(DefectChecker& checker, UnitSurvey& survey, const ScanSettings& settings)
    : checker_(checker), survey_(survey), settings_(settings) {}

void DefectScan::begin(ScanResult& result) {
  result_ = &result;
  checker_.set_finding_sink(result.findings);
}

void DefectScan::log(std::string record) {
  if (settings_.keep_log_records) result_->log_records.push_back(std::move(record));
}

void DefectScan::log(std::initializer_list<std::string_view> parts) {
  if (!settings_.keep_log_records) return;
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string& record = result_->log_records.emplace_back();
  record.reserve(size);
  for (std::string_view part : parts) record.append(part);
}

void DefectScan::start(std::int32_t finding_limit, ScanResult& result) {
  begin(result);
  log("Start");
  checker_.start(finding_limit);
}

void DefectScan::finish(ScanResult& result) {
  begin(result);
  checker_.finish();
}

void DefectScan::analyse(const WorkItem& item, ScanResult& result) {
  switch (item.kind) {
    case WorkKind::Prepare:
      prepare(item.file, item.is_adq, result);
      return;
    case WorkKind::Single:
      check_single(item.file, item.is_adq, result);
      return;
    case WorkKind::Pair:
      check_pair(item.file, item.body, item.is_adq, result);
      return;
    case WorkKind::Unreadable:
      begin(result);
      log({"Check: ", item.file, " (", item.reason, ")"});
      report_internal_error(item.file, 0);
      result_->findings.describe_last_finding(item.reason);
      ++result_->unreadable;
      return;
  }
}

// ---------------------------------------------------------------------------
// Preparation pass
// ---------------------------------------------------------------------------

void DefectScan::prepare(const std::string& name, bool is_adq, ScanResult& result) {
  begin(result);
  log({"Prepare: ", name});
  if (!open_or_report(name, prepare_failure_place)) return;
  try {
    // A stop ends this file's preparation quietly.
    (void)checker_.run_preparation(is_adq, settings_.ada_version);
  } catch (...) {
    // Reported before the file is closed, at the line the reader reached.
    log(exception_record(prepare_failure_place, std::current_exception()));
    report_internal_error(name, checker_.current_line());
  }
  checker_.close_source();
}

// ---------------------------------------------------------------------------
// Check pass
// ---------------------------------------------------------------------------

void DefectScan::check_single(const std::string& name, bool is_adq, ScanResult& result) {
  begin(result);
  try {
    check_single_unit(name, is_adq);
  } catch (...) {
    log(exception_record(single_failure_place, std::current_exception()));
    report_internal_error(name, 0);
  }
}

void DefectScan::check_pair(const std::string& specification, const std::string& body, bool is_adq,
                            ScanResult& result) {
  begin(result);
  try {
    check_pair_unit(specification, body, is_adq);
  } catch (...) {
    log(exception_record(pair_failure_place, std::current_exception()));
    report_internal_error(specification, 0);
  }
}

void DefectScan::check_single_unit(const std::string& name, bool is_adq) {
  static const std::vector<std::string> no_spellings;
  if (!settings_.relaxed_styles) {
    check_one(name, is_adq, no_spellings);
    return;
  }
  survey_.analyse(name);
  for (const std::string& record : survey_.log_records()) log({record});
  if (survey_.needs_no_specification()) {
    log_spellings(survey_.specification_spellings(), true);
    check_one(name, is_adq, survey_.specification_spellings());
    return;
  }
  const std::string& specification = survey_.specification_file();
  if (specification.empty()) {
    log({"NQS: Specification for \"", name, "\" not found!"});
    check_one(name, is_adq, no_spellings);
    return;
  }
  log_spellings(survey_.specification_spellings(), true);
  log_spellings(survey_.body_spellings(), false);
  // The specification found along the reference path is checked and
  // reported like any file of the tree.
  check_two(specification, name, is_adq, survey_.specification_spellings(), survey_.body_spellings());
}

void DefectScan::check_pair_unit(const std::string& specification, const std::string& body, bool is_adq) {
  static const std::vector<std::string> no_spellings;
  if (!settings_.relaxed_styles) {
    check_two(specification, body, is_adq, no_spellings, no_spellings);
    return;
  }
  survey_.analyse(body);
  for (const std::string& record : survey_.log_records()) log({record});
  log_spellings(survey_.specification_spellings(), true);
  log_spellings(survey_.body_spellings(), false);
  check_two(specification, body, is_adq, survey_.specification_spellings(), survey_.body_spellings());
}

void DefectScan::log_spellings(const std::vector<std::string>& spellings, bool of_specification) {
  const char* prefix = of_specification ? "Irregular Specification Name => " : "Irregular Implementation Name => ";
  for (const std::string& spelling : spellings) log({prefix, spelling});
}

void DefectScan::begin_unit(const std::string& specification) {
  checker_.begin_unit(settings_.report_superfluous_marks, specification);
}

void DefectScan::check_one(const std::string& file, bool is_adq, const std::vector<std::string>& spellings) {
  log({"Check: ", file});
  begin_unit({});
  if (check_source(file, FileRole::SINGLE_FILE, is_adq, spellings) != CheckOutcome::Completed) return;
  checker_.report_unused_marks();
}

void DefectScan::check_two(const std::string& specification, const std::string& body, bool is_adq,
                           const std::vector<std::string>& specification_spellings,
                           const std::vector<std::string>& body_spellings) {
  log({"Check: ", specification, " & ", body});
  begin_unit(specification);
  // A stop anywhere ends the unit: the rest of the pair is not checked and
  // nothing is reported at its end.
  const int unreadable_before = result_->unreadable;
  if (check_source(specification, FileRole::PAIR_SPECIFICATION, is_adq, specification_spellings, body) !=
      CheckOutcome::Completed) {
    return;
  }
  if (result_->unreadable != unreadable_before) {
    // A specification nobody could read declares nothing the body can be
    // weighed against: its with clauses and units would all look unused.
    // The body is checked as a file of its own.
    begin_unit({});
    if (check_source(body, FileRole::SINGLE_FILE, is_adq, body_spellings) != CheckOutcome::Completed) return;
    checker_.report_unused_marks();
    return;
  }
  if (checker_.after_specification() != CheckOutcome::Completed) return;
  if (check_source(body, FileRole::PAIR_BODY, is_adq, body_spellings) != CheckOutcome::Completed) return;
  if (checker_.after_body() != CheckOutcome::Completed) return;
  // What follows is about the specification as a whole.
  result_->findings.set_current_file(specification);
  if (checker_.after_pair() != CheckOutcome::Completed) return;
  checker_.report_unused_marks();
}

CheckOutcome DefectScan::check_source(const std::string& file, FileRole role, bool is_adq,
                                      const std::vector<std::string>& spellings, const std::string& body) {
  if (!open_or_report(file, check_failure_place)) return CheckOutcome::Completed;
  CheckOutcome outcome = CheckOutcome::Completed;
  bool named = false;
  try {
    result_->findings.set_current_file(file);
    if (!checker_.source_holds_tab()) result_->findings.note_file_without_tabs();
    named = true;

    ParseMode mode;
    mode.style_rules = settings_.style_rules;
    mode.gnat_extensions = settings_.gnat_extensions;
    mode.ada_version = settings_.ada_version;
    mode.role = role;
    mode.accepted_spellings = &spellings_of(spellings);
    mode.is_adq = is_adq;
    mode.style_details = settings_.style_details;
    bool style_command_seen = false;
    outcome = checker_.run_check(mode, style_command_seen);
    if (outcome == CheckOutcome::CutShort) {
      result_->cut_short.push_back(CutShortFile{file, checker_.current_line(), body});
    } else if (outcome == CheckOutcome::Completed) {
      if (style_command_seen) {
        result_->findings.note_style_command_seen();
      } else {
        report_unchecked_file(file);
      }
    }
  } catch (...) {
    // Reported before the file is closed, at the line the reader reached;
    // the unit goes on with its next step.
    log(exception_record(check_failure_place, std::current_exception()));
    const std::int32_t line = checker_.current_line();
    if (named) {
      result_->findings.report_bug(BugKind::INTERNAL_ERROR, line, no_column, {});
    } else {
      report_internal_error(file, line);
    }
    outcome = CheckOutcome::Completed;
  }
  checker_.close_source();
  return outcome;
}

bool DefectScan::open_or_report(const std::string& file, const char* failure_place) {
  std::string error;
  try {
    if (checker_.open_source(file, error)) return true;
    log(std::string(failure_place) + ": Exception = " + error);
  } catch (...) {
    // Reading may fail outright (a file larger than memory); that is this
    // file's failure and must not end the search.
    log(exception_record(failure_place, std::current_exception()));
    checker_.close_source();
  }
  report_internal_error(file, 0);
  // The reader names the file before its reason; the finding is the file's.
  std::string_view reason = error;
  if (reason.starts_with(file) && reason.substr(file.size()).starts_with(": ")) reason.remove_prefix(file.size() + 2);
  if (!reason.empty()) result_->findings.describe_last_finding("cannot read the file: " + std::string(reason));
  ++result_->unreadable;
  return false;
}

void DefectScan::report_internal_error(const std::string& file, std::int32_t line) {
  result_->findings.set_current_file(file);
  result_->findings.report_bug(BugKind::INTERNAL_ERROR, line, no_column, {});
}

void DefectScan::report_unchecked_file(const std::string& file) {
  result_->findings.set_current_file(file);
  result_->findings.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, {});
}

const AcceptedSpellings& DefectScan::spellings_of(const std::vector<std::string>& spellings) {
  spellings_.clear();
  for (const std::string& spelling : spellings) spellings_.add(spelling);
  return spellings_;
}

}  // namespace flawseek
