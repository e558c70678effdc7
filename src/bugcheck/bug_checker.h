// BugChecker: everything the bug-check side needs to analyse one file or one
// specification-and-body pair -- both parser instances, the line reader, the
// comment-command scanner, the suppression marks, the style records and the
// finding counter -- behind the driver's face, showing no parser template
// types. Nothing is process-wide: two checkers may run on two threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "bugcheck/defect_checker.h"
#include "findings/finding_sink.h"

namespace flawseek {

class BugChecker : public DefectChecker {
 public:
  // Reports go to a sink of the checker's own until one is set.
  BugChecker();
  ~BugChecker() override;
  BugChecker(const BugChecker&) = delete;
  BugChecker& operator=(const BugChecker&) = delete;

  void set_finding_sink(FindingSink& sink) override;
  void start(std::int32_t finding_limit) override;
  void finish() override;
  void begin_unit(bool report_superfluous_marks, std::string_view specification) override;
  bool open_source(const std::string& path, std::string& error) override;
  bool source_holds_tab() const override;
  void close_source() noexcept override;
  std::int32_t current_line() const override;
  CheckOutcome run_preparation(bool is_adq, AdaVersion ada_version) override;
  CheckOutcome run_check(const ParseMode& mode, bool& style_command_seen) override;
  CheckOutcome after_specification() override;
  CheckOutcome after_body() override;
  CheckOutcome after_pair() override;
  void report_unused_marks() override;
  PreparationResult preparation_result() const override;
  void add_preparation_result(const PreparationResult& result) override;

  // Uses `text` as the source (copied) instead of a file; the line count
  // becomes 0. For benchmarks and tests that hold sources in memory.
  void use_source_text(std::string_view text);
  // The same without the copy: `text` must stay as it is until the next
  // source is opened or used, or close_source.
  void use_source_view(std::string_view text);
  // Style checks on: long lines are reported and stop the file; STYLE
  // commands are honoured. Off (as start() leaves them): a line over 400
  // characters reaches the scanner.
  void set_style_checks(bool on);

  // Findings counted since start().
  std::int32_t finding_count() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace flawseek
