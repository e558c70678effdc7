// The one door through which the bug checker files findings: suppression
// marks are applied, counted findings are checked against the run's limit,
// and the reports that are never counted or suppressed go straight through.
#pragma once

#include <cstdint>
#include <string_view>

#include "findings/bug_kind.h"
#include "bugcheck/suppression_mark.h"
#include "findings/finding_sink.h"
#include "style/style_kind.h"

namespace flawseek {

class ReportGateway {
 public:
  explicit ReportGateway(FindingSink& sink) : sink_(&sink) {}

  void set_sink(FindingSink& sink) noexcept { sink_ = &sink; }
  FindingSink& sink() noexcept { return *sink_; }

  // A new search: the limit (0 or less never stops) and a count of 0.
  void start(std::int32_t finding_limit) noexcept {
    finding_limit_ = finding_limit;
    finding_count_ = 0;
  }

  MarkList& marks() noexcept { return marks_; }
  const MarkList& marks() const noexcept { return marks_; }
  void clear_marks() { marks_.clear(); }
  void set_report_superfluous_marks(bool on) noexcept { report_superfluous_marks_ = on; }
  // Whether style findings carry their words (the detail below): a run whose
  // outputs never show them has no use for them, and the rules that build
  // them ask here first. Off, a style detail handed in is dropped.
  void set_style_details(bool on) noexcept { style_details_ = on; }
  bool style_details() const noexcept { return style_details_; }

  // A bug found by a rule: the first mark of its kind on its line absorbs it
  // (and is used up); otherwise it is filed and counted. Throws StopRequest
  // when the count reaches the limit.
  // `detail`, when not empty, is the check's own words for the finding (kept
  // beside it for the machine-readable outputs). A finding a mark absorbs is
  // handed on as suppressed.
  void report_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view text,
                  std::string_view detail = {});
  // A style violation found by a rule: filed and counted like a bug, but no
  // mark suppresses it; `detail` as for a bug, but built by a style rule
  // from names and single spaces, so nothing in it is collapsed.
  void report_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view text,
                    std::string_view detail = {});

  // Filed as they are, neither suppressed nor counted.
  void report_uncounted_bug(BugKind kind, std::int32_t line, std::int32_t column, std::string_view text) {
    sink_->report_bug(kind, line, column, text);
  }
  void report_uncounted_style(StyleKind kind, std::int32_t line, std::int32_t column, std::string_view text,
                              std::string_view detail = {}) {
    sink_->report_style(kind, line, column, text);
    if (style_details_ && !detail.empty()) sink_->describe_last_finding_plainly(detail);
  }

  // Every mark left, in list order, as SUPERFLUOUS_CODE_MARK at its "-->" when
  // superfluous marks are reported. The marks stay until clear_marks.
  void report_unused_marks();

  std::int32_t finding_count() const noexcept { return finding_count_; }

 private:
  void count();

  FindingSink* sink_;
  MarkList marks_;
  std::int32_t finding_limit_ = 0;
  std::int32_t finding_count_ = 0;
  bool report_superfluous_marks_ = false;
  bool style_details_ = true;
};

}  // namespace flawseek
