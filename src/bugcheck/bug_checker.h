// BugChecker: everything the bug-check side needs to analyse one file or one
// specification-and-body pair -- both parser instances, the line reader, the
// comment-command scanner, the suppression marks, the style records and the
// finding counter -- behind an interface that shows no parser template types.
// Nothing is process-wide: two checkers may run on two threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "bugcheck/stop_request.h"
#include "findings/finding_sink.h"
#include "frontend/parser_hooks.h"
#include "style/style_rules.h"

namespace flawseek {

class AcceptedSpellings;

// The switches of one check run.
struct ParseMode {
  StyleRules style_rules = default_style_rules;
  bool gnat_extensions = false;
  FileRole role = FileRole::SINGLE_FILE;
  // Irregular spellings the Mixed case rule accepts in this file; may be null.
  const AcceptedSpellings* accepted_spellings = nullptr;
  // The file follows the ".adq" naming: embedded SQL is recognised.
  bool is_adq = false;
};

class BugChecker {
 public:
  // Findings go to `sink`, which must outlive the checker (or be replaced).
  explicit BugChecker(FindingSink& sink);
  ~BugChecker();
  BugChecker(const BugChecker&) = delete;
  BugChecker& operator=(const BugChecker&) = delete;

  void set_sink(FindingSink& sink);

  // ---- Per search -----------------------------------------------------------
  // Sets the finding limit (0 or less never stops), the finding count to 0,
  // turns style checks off and empties what the preparation pass collects.
  void start(std::int32_t finding_limit);

  // ---- Per check of a single file or of a pair --------------------------------
  // Style checks on: long lines are reported and stop the file; STYLE commands
  // are honoured. Off: a line over 400 characters reaches the scanner.
  void set_style_checks(bool on);
  void set_report_superfluous_marks(bool on);
  void clear_marks();
  // Empties the unit and declaration lists of the later rules (per check).
  void reset_unit_lists();
  // The specification of the pair being checked (for the end-of-pair reports).
  void set_current_specification(std::string_view name);

  // ---- Per file ---------------------------------------------------------------
  // Reads the file whole; the line count becomes 0. On failure returns false
  // with a readable reason in `error`; the source is then empty.
  bool open_source(const std::string& path, std::string& error);
  // Uses `text` as the source (copied); the line count becomes 0.
  void use_source_text(std::string_view text);
  // Drops the source text. Runs read the source from its start.
  void close_source();
  // Empties the per-file with-clause lists (and enters "System").
  void reset_file_unit_lists();

  // Preparation pass over the open source: role 2, the base style rules, GNAT
  // extensions on. Comment commands are read (their marks are dropped by the
  // next clear_marks); the parser's complaints are not findings. Throws like
  // run_check; with style checks off (as start() leaves them) only failures.
  void run_preparation(bool is_adq);
  // Check pass over the open source. Both style records start as the mode's
  // rules. Returns whether the file held an honoured STYLE command.
  // Throws StopRequest (finding limit, over-long line with style checks on);
  // any other exception is an internal error of this file for the caller.
  bool run_check(const ParseMode& mode);

  // With-clause bookkeeping between and after the files of a pair.
  void after_specification();
  void after_body();
  // Specification-level reports at the end of a pair (the specification is
  // the sink's current file).
  void after_pair();

  // End of a single file or pair: every mark left becomes SUPERFLUOUS_CODE_MARK
  // when superfluous marks are reported. Not counted toward the limit.
  void report_unused_marks();

  // The reader's line count: the line reached in the current source.
  std::int32_t current_line() const;

  // Reports that go straight to the sink, never suppressed or counted:
  // INTERNAL_ERROR at `line` (no column, empty text) and NO_STYLE_CHECKS
  // (line 0, no column) for the sink's current file.
  void report_internal_error(std::int32_t line);
  void report_no_style_checks();

  // Findings counted since start().
  std::int32_t finding_count() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace flawseek
