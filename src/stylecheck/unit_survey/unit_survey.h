// The unit survey the per-file driver runs when RELAXED_STYLES is on: what a
// file's unit is, where its specification lies along the reference path, and
// the irregular spellings its declaring units accept.
#pragma once

#include <string>
#include <vector>

#include "frontend/ada_version.h"

namespace flawseek {

class UnitSurvey {
 public:
  virtual ~UnitSurvey() = default;

  // The reference directories the specifications are looked for in (absolute,
  // in search order); empty means none. An entry ending in "/*" stands for
  // that directory and every directory below it.
  virtual void set_reference_directories(const std::vector<std::string>& directories) = 0;
  // The job's language level: the survey's parses must read the words the
  // check reads, or a name such as "interface" would end its parse early.
  virtual void set_ada_version(AdaVersion version) = 0;

  // Surveys the unit in `file` (a full name); the answers below describe it
  // until the next call. May throw like any analysis of a file.
  virtual void analyse(const std::string& file) = 0;
  // A unit that needs no separate specification (a subprogram body, or a
  // specification itself).
  virtual bool needs_no_specification() const = 0;
  // The file of the unit's specification found along the reference
  // directories; empty when none was found.
  virtual const std::string& specification_file() const = 0;
  // Spellings taken from the specifications and from the bodies, in the order
  // they were met (they are logged in that order).
  virtual const std::vector<std::string>& specification_spellings() const = 0;
  virtual const std::vector<std::string>& body_spellings() const = 0;
  // What the last analyse wants logged, in order (the driver writes it with
  // the other records of the file, so the log keeps the walk's order).
  virtual const std::vector<std::string>& log_records() const {
    static const std::vector<std::string> none;
    return none;
  }
};

// A survey that finds no specification and no spellings, so relaxed styles
// check like strict ones: for driver tests that are about the driver alone.
class EmptyUnitSurvey final : public UnitSurvey {
 public:
  void set_reference_directories(const std::vector<std::string>& directories) override {
    directories_ = directories;
  }
  void set_ada_version(AdaVersion version) override { (void)version; }
  void analyse(const std::string& file) override { (void)file; }
  bool needs_no_specification() const override { return false; }
  const std::string& specification_file() const override { return nothing_; }
  const std::vector<std::string>& specification_spellings() const override { return none_; }
  const std::vector<std::string>& body_spellings() const override { return none_; }

  const std::vector<std::string>& reference_directories() const { return directories_; }

 private:
  std::vector<std::string> directories_;
  std::string nothing_;
  std::vector<std::string> none_;
};

}  // namespace flawseek
