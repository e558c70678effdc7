// Test support for the bug checker: a sink that records findings, and a
// small driver that takes one file or a specification-and-body pair through
// a BugChecker in the order the per-file driver does.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "findings/finding.h"
#include "findings/finding_sink.h"

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

  std::vector<RecordedFinding> findings;
  int style_commands_seen = 0;

 private:
  bool keep_unchecked_;
  std::string current_;
};

struct UnitSettings {
  ParseMode mode;
  bool style_checks = true;
  bool report_superfluous_marks = false;
  // Run the preparation pass over every file first (as a search does).
  bool prepare = false;
};

// A source file given by path, or by its text (then `name` is only a name).
struct UnitFile {
  std::string name;
  bool in_memory = false;
  std::string text;
};

// What escaped a file's check other than the stop request, for the tests
// that check which failure it was.
struct UnitOutcome {
  std::vector<std::string> internal_errors;
  bool stopped = false;
};

namespace detail {

inline bool open(BugChecker& checker, const UnitFile& file) {
  if (file.in_memory) {
    checker.use_source_text(file.text);
    return true;
  }
  std::string error;
  return checker.open_source(file.name, error);
}

// One file of the check: open, name, parse, note the style command, close.
inline void check_source(BugChecker& checker, FindingSink& sink, const UnitFile& file, FileRole role,
                         const UnitSettings& settings, UnitOutcome& outcome) {
  sink.set_current_file(file.name);
  if (!open(checker, file)) {
    outcome.internal_errors.push_back("open failed");
    checker.report_internal_error(checker.current_line());
    return;
  }
  checker.reset_file_unit_lists();
  ParseMode mode = settings.mode;
  mode.role = role;
  bool style_command_seen = false;
  try {
    style_command_seen = checker.run_check(mode);
  } catch (const StopRequest&) {
    checker.close_source();
    throw;
  } catch (const std::exception& failure) {
    outcome.internal_errors.push_back(failure.what());
    checker.report_internal_error(checker.current_line());
    checker.close_source();
    return;
  }
  if (style_command_seen) {
    sink.note_style_command_seen();
  } else {
    checker.report_no_style_checks();
  }
  checker.close_source();
}

}  // namespace detail

// One single file (one entry) or a pair (specification, then body).
inline UnitOutcome check_unit(BugChecker& checker, FindingSink& sink, const std::vector<UnitFile>& files,
                              const UnitSettings& settings) {
  UnitOutcome outcome;
  checker.set_sink(sink);
  if (settings.prepare) {
    for (const UnitFile& file : files) {
      if (!detail::open(checker, file)) continue;
      try {
        checker.run_preparation(settings.mode.is_adq);
      } catch (const StopRequest&) {
      } catch (const std::exception& failure) {
        outcome.internal_errors.push_back(failure.what());
        checker.report_internal_error(checker.current_line());
      }
      checker.close_source();
    }
  }
  try {
    checker.set_style_checks(settings.style_checks);
    checker.set_report_superfluous_marks(settings.report_superfluous_marks);
    checker.clear_marks();
    checker.reset_unit_lists();
    if (files.size() == 1) {
      detail::check_source(checker, sink, files[0], FileRole::SINGLE_FILE, settings, outcome);
    } else {
      checker.set_current_specification(files[0].name);
      detail::check_source(checker, sink, files[0], FileRole::PAIR_SPECIFICATION, settings, outcome);
      checker.after_specification();
      detail::check_source(checker, sink, files[1], FileRole::PAIR_BODY, settings, outcome);
      checker.after_body();
      sink.set_current_file(files[0].name);
      checker.after_pair();
    }
    checker.report_unused_marks();
  } catch (const StopRequest&) {
    outcome.stopped = true;
  }
  return outcome;
}

}  // namespace flawseek::testing_support
