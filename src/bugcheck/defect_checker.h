// The face the per-file driver sees of the bug-check side: the steps it calls,
// in the order it decides, for each specification of the preparation pass and
// each single file or specification-and-body pair of the check pass. The bug
// checker implements it; driver tests may fake it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding_sink.h"
#include "frontend/parser_hooks.h"
#include "style/style_rules.h"

namespace flawseek {

class AcceptedSpellings;

// The switches of one check run.
struct ParseMode {
  StyleRules style_rules = default_style_rules;
  bool gnat_extensions = false;
  AdaVersion ada_version = default_ada_version;
  FileRole role = FileRole::SINGLE_FILE;
  // Irregular spellings the Mixed case rule accepts in this file; may be null.
  const AcceptedSpellings* accepted_spellings = nullptr;
  // The file follows the ".adq" naming: embedded SQL is recognised.
  bool is_adq = false;
  // Style findings carry the words that say what their rule wants; off for
  // a run whose outputs never show them (the tree and the reports).
  bool style_details = true;
};

// How a step ended: normally, or stopped by the checker itself: the finding
// limit reached (Stopped), or a line longer than the reader takes while
// style checks are on (CutShort: the rest of the file went unchecked, which
// the user must hear of). A stop is ordinary control flow, so it is a value
// and not an exception; any other failure is thrown and is the file's
// internal error.
enum class CheckOutcome : std::uint8_t { Completed, Stopped, CutShort };

// What the preparation pass collected for the check pass, so that checkers
// which prepared parts of one tree can each check with all of it.
struct PreparationResult {
  std::vector<std::string> box_default_names;
};

class DefectChecker {
 public:
  virtual ~DefectChecker() = default;

  // Where the following reports go (the result of the work item at hand).
  virtual void set_finding_sink(FindingSink& sink) = 0;

  // ---- Per search --------------------------------------------------------
  // Stores the limit (0 or less never stops), sets the finding count to 0,
  // turns style checks off and empties what the preparation pass collects.
  virtual void start(std::int32_t finding_limit) = 0;
  // After the check pass: what the checker keeps open between files is closed.
  virtual void finish() {}

  // ---- Between the passes, when several checkers share one search ----------
  virtual PreparationResult preparation_result() const { return {}; }
  // Adds what another checker prepared; what this one holds already stays.
  virtual void add_preparation_result(const PreparationResult& result) { (void)result; }

  // ---- Per single file or pair ---------------------------------------------
  // Style checks on, superfluous marks reported as asked, the marks and the
  // unit lists emptied; `specification` names the pair's specification
  // (empty for a single file).
  virtual void begin_unit(bool report_superfluous_marks, std::string_view specification) = 0;

  // ---- Per file ------------------------------------------------------------
  // Reads `file` whole; the line count becomes 0. False with a readable
  // reason in `error` when it cannot be read.
  virtual bool open_source(const std::string& file, std::string& error) = 0;
  // Whether the open file's text holds a tab (true when it is not known).
  virtual bool source_holds_tab() const { return true; }
  virtual void close_source() noexcept = 0;
  // The number of the line read last in the open (or last closed) file.
  virtual std::int32_t current_line() const = 0;
  // The preparation instance over the open file: role 2, the base style
  // rules, GNAT extensions on; its complaints are no findings.
  virtual CheckOutcome run_preparation(bool is_adq, AdaVersion ada_version) = 0;
  // The check instance over the open file, after the per-file with-clause
  // lists are emptied; `style_command_seen` tells whether the file held an
  // honoured style command.
  virtual CheckOutcome run_check(const ParseMode& mode, bool& style_command_seen) = 0;

  // ---- Between and after the files of a unit --------------------------------
  // The with-clause bookkeeping may report (unused units), so any of these
  // steps may reach the finding limit.
  virtual CheckOutcome after_specification() = 0;
  virtual CheckOutcome after_body() = 0;
  // The specification-level reports of a pair (the specification is the
  // sink's current file).
  virtual CheckOutcome after_pair() = 0;
  // Every mark left becomes SUPERFLUOUS_CODE_MARK when superfluous marks are
  // reported; not counted toward the limit.
  virtual void report_unused_marks() = 0;
};

}  // namespace flawseek
