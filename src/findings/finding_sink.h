// Where the analysis of a file sends its findings: straight into the shared
// findings list, or into a per-file recorder that is applied to the list later.
#pragma once

#include <cstdint>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

class FindingSink {
 public:
  virtual ~FindingSink() = default;

  // Names the file that the following findings belong to.
  virtual void set_current_file(std::string_view name) = 0;
  virtual void report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) = 0;
  virtual void report_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view reason) = 0;
  // A checked file held a style command; this can make unchecked files listed.
  virtual void note_style_command_seen() = 0;

  // What a check can add beside its findings for the machine-readable outputs;
  // the tree and the reports never show either, so a sink may ignore them.
  // The check's own words for the finding reported just before ("then
  // expected" for a syntax error).
  virtual void describe_last_finding(std::string_view detail) { (void)detail; }
  // The same for words known to hold single spaces alone, and none at either
  // end (a style rule's, built from names): nothing to collapse.
  virtual void describe_last_finding_plainly(std::string_view detail) { describe_last_finding(detail); }
  // A bug finding that a suppression mark absorbed: not a finding, not
  // counted, kept only so an output can list it as suppressed.
  virtual void report_suppressed_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view reason) {
    (void)kind, (void)line, (void)column, (void)reason;
  }
};

}  // namespace flawseek
