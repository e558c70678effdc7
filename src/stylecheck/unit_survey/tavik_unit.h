// Tavik_Unit: the unit survey for relaxed styles. Before a file is checked it
// parses the file, its specification and the specifications it withs with a
// parser instance of its own, and tells which irregular spellings (names that
// fail the Mixed case rule) the declaring units themselves use: those are
// accepted in the check. It records no findings and never stops the run.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "stylecheck/unit_survey/unit_survey.h"

namespace flawseek {

class TavikUnit final : public UnitSurvey {
 public:
  TavikUnit();
  ~TavikUnit() override;
  TavikUnit(const TavikUnit&) = delete;
  TavikUnit& operator=(const TavikUnit&) = delete;

  void set_reference_directories(const std::vector<std::string>& directories) override;
  void set_ada_version(AdaVersion version) override;

  // Tavik_Unit.Analyse: surveys `file` (a full name). `path_text`, a
  // ";"-separated directory list, is searched instead of the reference
  // directories when none are set.
  void analyse(const std::string& file) override { analyse(file, {}); }
  void analyse(const std::string& file, std::string_view path_text);

  bool needs_no_specification() const override { return is_specification() || is_subprogram_body(); }
  // The two unit-kind flags of the surveyed file's last library unit.
  bool is_specification() const;
  bool is_subprogram_body() const;
  const std::string& specification_file() const override { return specification_file_; }
  const std::vector<std::string>& specification_spellings() const override { return specification_list_; }
  const std::vector<std::string>& body_spellings() const override { return implementation_list_; }
  const std::vector<std::string>& log_records() const override { return log_records_; }

  // A file whose parse admits embedded SQL: its extension is exactly "adq".
  static bool is_adq(std::string_view file_name);

 private:
  class Impl;

  std::unique_ptr<Impl> impl_;
  std::string specification_file_;
  std::vector<std::string> specification_list_;
  std::vector<std::string> implementation_list_;
  std::vector<std::string> log_records_;
};

}  // namespace flawseek
