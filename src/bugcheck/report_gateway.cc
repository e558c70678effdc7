// Filing findings through the suppression marks and the finding limit.
#include "bugcheck/report_gateway.h"

#include "bugcheck/stop_request.h"
#include "findings/finding.h"

namespace flawseek {

void ReportGateway::report_bug(BugKind kind, std::int32_t line, std::int32_t column,
                               std::string_view text, std::string_view detail) {
  if (marks_.remove_first_match(SuppressionMark{kind, line})) {
    sink_->report_suppressed_bug(kind, line, column, text);
    return;
  }
  sink_->report_bug(kind, line, column, text);
  if (!detail.empty()) sink_->describe_last_finding(detail);
  count();
}

void ReportGateway::report_style(StyleKind kind, std::int32_t line, std::int32_t column,
                                 std::string_view text, std::string_view detail) {
  sink_->report_style(kind, line, column, text);
  if (style_details_ && !detail.empty()) sink_->describe_last_finding_plainly(detail);
  count();
}

void ReportGateway::count() {
  // The count saturates instead of wrapping, so a limit can never be met by
  // overflow and a huge run keeps a meaningful figure.
  if (finding_count_ < INT32_MAX) ++finding_count_;
  if (finding_count_ == finding_limit_) throw StopRequest();
}

void ReportGateway::report_unused_marks() {
  if (!report_superfluous_marks_) return;
  for (const SuppressionMark& mark : marks_) {
    sink_->report_style(StyleKind::SUPERFLUOUS_CODE_MARK, mark.line, mark.column, {});
  }
}

}  // namespace flawseek
