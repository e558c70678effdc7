// A bug checker for driver tests: each file's fate is scripted (unreadable,
// findings, a style command, a stop or a failure at some line), and, when
// asked, each step around the files of a unit files a finding of its own
// (kind step_kind, the step's name as its reason), so tests see where the
// driver puts the reports of each step, as they would see a real checker's.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bugcheck/defect_checker.h"
#include "stylecheck/unit_survey/unit_survey.h"
#include "findings/finding_sink.h"

namespace flawseek::testing {

struct ScriptedFile {
  enum class Ends { Completes, Stops, Throws };
  bool unreadable = false;
  bool open_throws = false;  // reading fails outright (out of memory)
  Ends ends = Ends::Completes;
  int lines = 10;  // the line reached when the file ends, or stops or throws
  bool style_command = false;
  std::vector<std::pair<BugKind, int>> bugs;  // reported before the end
};

// The kind the unit steps file their findings under.
inline constexpr BugKind step_kind = BugKind::RECURSIVE_ENTRY_CALL;

class FakeDefectChecker final : public DefectChecker {
 public:
  // Files not scripted complete after 10 lines without findings.
  std::map<std::string, ScriptedFile> files;
  bool start_throws = false;
  bool after_pair_stops = false;
  bool after_body_throws = false;
  bool after_body_stops = false;
  bool steps_report = false;
  // Runs inside every run_check and run_preparation (to stop a search or to
  // hold it while a test looks at it).
  std::function<void(const std::string&)> during_run;

  // What the driver asked for.
  std::vector<std::string> opened;
  std::vector<std::string> prepared;
  std::vector<ParseMode> modes;        // of every check run, in order
  std::vector<AdaVersion> preparation_versions;
  std::vector<std::string> checked;    // the file of every check run, in order
  std::vector<std::string> units;      // the specification handed to each unit ("" for a single file)
  bool report_superfluous_marks = false;  // as the last unit was begun
  int open_files = 0;                  // opened and not yet closed
  int starts = 0;
  std::atomic<int> finish_calls{0};

  bool untouched() const { return starts == 0 && opened.empty(); }

  void set_finding_sink(FindingSink& sink) override { sink_ = &sink; }
  void start(std::int32_t) override {
    if (start_throws) throw std::runtime_error("checker could not start");
    ++starts;
  }
  void finish() override { ++finish_calls; }
  void begin_unit(bool report_superfluous, std::string_view specification) override {
    report_superfluous_marks = report_superfluous;
    units.emplace_back(specification);
  }
  bool open_source(const std::string& file, std::string& error) override {
    opened.push_back(file);
    if (script(file).open_throws) throw std::bad_alloc();
    if (script(file).unreadable) {
      error = "cannot open " + file;
      return false;
    }
    ++open_files;
    open_ = file;
    line_ = 0;
    return true;
  }
  // Closing forgets the line, so a report made after closing shows it.
  void close_source() noexcept override {
    if (!open_.empty()) --open_files;
    open_.clear();
    line_ = -1;
  }
  std::int32_t current_line() const override { return line_; }
  CheckOutcome run_preparation(bool is_adq, AdaVersion ada_version) override {
    prepared.push_back(open_ + (is_adq ? " adq" : ""));
    preparation_versions.push_back(ada_version);
    return run(/*reporting=*/false);
  }
  CheckOutcome run_check(const ParseMode& mode, bool& style_command_seen) override {
    checked.push_back(open_);
    modes.push_back(mode);
    style_command_seen = script(open_).style_command;
    return run(/*reporting=*/true);
  }
  CheckOutcome after_specification() override {
    step("after specification");
    return CheckOutcome::Completed;
  }
  CheckOutcome after_body() override {
    if (after_body_throws) throw std::logic_error("bookkeeping failed");
    step("after body");
    return after_body_stops ? CheckOutcome::Stopped : CheckOutcome::Completed;
  }
  CheckOutcome after_pair() override {
    step("after pair");
    return after_pair_stops ? CheckOutcome::Stopped : CheckOutcome::Completed;
  }
  void report_unused_marks() override { step("unused marks"); }

 private:
  const ScriptedFile& script(const std::string& file) {
    static const ScriptedFile plain;
    const auto found = files.find(file);
    return found == files.end() ? plain : found->second;
  }
  void step(const char* name) {
    if (steps_report) sink_->report_bug(step_kind, 0, no_column, name);
  }
  CheckOutcome run(bool reporting) {
    const std::string file = open_;
    if (during_run) during_run(file);
    const ScriptedFile& scripted = script(file);
    if (reporting) {
      for (const auto& [kind, line] : scripted.bugs) sink_->report_bug(kind, line, 1, "scripted");
    }
    line_ = scripted.lines;
    switch (scripted.ends) {
      case ScriptedFile::Ends::Completes: return CheckOutcome::Completed;
      case ScriptedFile::Ends::Stops: return CheckOutcome::Stopped;
      case ScriptedFile::Ends::Throws: throw std::runtime_error("Text_Parser.Line_Too_Long");
    }
    return CheckOutcome::Completed;
  }

  FindingSink* sink_ = nullptr;
  std::string open_;
  std::int32_t line_ = 0;
};

// A survey that finds what the test tells it to.
class ScriptedUnitSurvey final : public UnitSurvey {
 public:
  bool standalone = false;
  std::string specification;
  std::vector<std::string> specification_names;
  std::vector<std::string> body_names;
  std::vector<std::string> surveyed;

  void set_reference_directories(const std::vector<std::string>& directories) override {
    reference_directories = directories;
  }
  void set_ada_version(AdaVersion version) override { ada_version = version; }
  void analyse(const std::string& file) override { surveyed.push_back(file); }
  bool needs_no_specification() const override { return standalone; }
  const std::string& specification_file() const override { return specification; }
  const std::vector<std::string>& specification_spellings() const override { return specification_names; }
  const std::vector<std::string>& body_spellings() const override { return body_names; }

  std::vector<std::string> reference_directories;
  std::optional<AdaVersion> ada_version;
};

}  // namespace flawseek::testing
