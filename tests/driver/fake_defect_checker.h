// A bug checker for driver tests: each file's fate is scripted (unreadable,
// findings, a style command, a stop or a failure at some line), and every
// call is recorded, so tests see the order of the driver's steps.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "driver/defect_scan.h"
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

class FakeDefectChecker final : public DefectChecker {
 public:
  // Files not scripted complete after 10 lines without findings.
  std::map<std::string, ScriptedFile> files;
  std::vector<std::string> events;
  std::vector<ParseMode> modes;
  bool start_throws = false;
  bool after_pair_stops = false;
  bool after_body_throws = false;
  // Runs inside every run_check and run_preparation (to stop a search or to
  // hold it while a test looks at it).
  std::function<void(const std::string&)> during_run;
  std::atomic<int> finish_calls{0};

  void set_finding_sink(FindingSink& sink) override { sink_ = &sink; }
  void start(std::int32_t limit) override {
    if (start_throws) throw std::runtime_error("checker could not start");
    events.push_back("start " + std::to_string(limit));
  }
  void set_style_checks(bool on) override { events.push_back(on ? "style checks on" : "style checks off"); }
  void set_report_superfluous_marks(bool on) override {
    events.push_back(on ? "superfluous marks on" : "superfluous marks off");
  }
  void clear_marks() override { events.push_back("clear marks"); }
  void reset_unit_lists() override { events.push_back("reset unit lists"); }
  void set_current_specification(const std::string& file) override { events.push_back("specification " + file); }
  bool open_source(const std::string& file, std::string& error) override {
    events.push_back("open " + file);
    if (script(file).open_throws) throw std::bad_alloc();
    if (script(file).unreadable) {
      error = "cannot open " + file;
      return false;
    }
    open_ = file;
    line_ = 0;
    return true;
  }
  // Closing forgets the line, so a report made after closing shows it.
  void close_source() noexcept override {
    events.push_back("close " + open_);
    open_.clear();
    line_ = -1;
  }
  std::int32_t current_line() const override { return line_; }
  void reset_file_unit_lists() override { events.push_back("reset file lists"); }
  CheckOutcome run_preparation(bool is_adq) override {
    events.push_back(std::string("prepare ") + open_ + (is_adq ? " adq" : ""));
    return run(/*reporting=*/false);
  }
  CheckOutcome run_check(const ParseMode& mode, bool& style_command_seen) override {
    events.push_back("check " + open_ + " role " + std::to_string(static_cast<int>(mode.role)));
    modes.push_back(mode);
    style_command_seen = script(open_).style_command;
    return run(/*reporting=*/true);
  }
  void after_specification() override { events.push_back("after specification"); }
  void after_body() override {
    events.push_back("after body");
    if (after_body_throws) throw std::logic_error("bookkeeping failed");
  }
  CheckOutcome after_pair() override {
    events.push_back("after pair");
    return after_pair_stops ? CheckOutcome::Stopped : CheckOutcome::Completed;
  }
  void report_unused_marks() override { events.push_back("unused marks"); }
  void finish() override {
    events.push_back("finish");
    ++finish_calls;
  }

 private:
  const ScriptedFile& script(const std::string& file) {
    static const ScriptedFile plain;
    const auto found = files.find(file);
    return found == files.end() ? plain : found->second;
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
  void analyse(const std::string& file) override { surveyed.push_back(file); }
  bool needs_no_specification() const override { return standalone; }
  const std::string& specification_file() const override { return specification; }
  const std::vector<std::string>& specification_spellings() const override { return specification_names; }
  const std::vector<std::string>& body_spellings() const override { return body_names; }

  std::vector<std::string> reference_directories;
};

}  // namespace flawseek::testing
