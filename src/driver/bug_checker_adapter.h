// The bug checker as the per-file driver uses it: forwards every step and
// turns the checker's stop request into a CheckOutcome.
#pragma once

#include "bugcheck/bug_checker.h"
#include "driver/defect_scan.h"
#include "findings/file_findings.h"

namespace flawseek {

class BugCheckerAdapter final : public DefectChecker {
 public:
  BugCheckerAdapter();

  void set_finding_sink(FindingSink& sink) override { checker_.set_sink(sink); }
  void start(std::int32_t finding_limit) override { checker_.start(finding_limit); }
  void set_style_checks(bool on) override { checker_.set_style_checks(on); }
  void set_report_superfluous_marks(bool on) override { checker_.set_report_superfluous_marks(on); }
  void clear_marks() override { checker_.clear_marks(); }
  void reset_unit_lists() override { checker_.reset_unit_lists(); }
  void set_current_specification(const std::string& file) override { checker_.set_current_specification(file); }
  bool open_source(const std::string& file, std::string& error) override {
    return checker_.open_source(file, error);
  }
  void close_source() noexcept override;
  std::int32_t current_line() const override { return checker_.current_line(); }
  void reset_file_unit_lists() override { checker_.reset_file_unit_lists(); }
  CheckOutcome run_preparation(bool is_adq) override;
  CheckOutcome run_check(const ParseMode& mode, bool& style_command_seen) override;
  void after_specification() override { checker_.after_specification(); }
  void after_body() override { checker_.after_body(); }
  CheckOutcome after_pair() override;
  void report_unused_marks() override { checker_.report_unused_marks(); }

 private:
  // Where reports go until the driver names the first result.
  FileFindings unclaimed_;
  BugChecker checker_;
};

}  // namespace flawseek
