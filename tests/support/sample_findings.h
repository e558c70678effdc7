// A small but complete search result for the report tests: style kinds
// reported before bug kinds, and kinds out of their report order, to show
// the writers impose the order.
#pragma once

#include "findings/findings_list.h"

namespace flawseek::testing {

inline void fill_sample_findings(FindingsList& list) {
  list.toggle_list_unchecked_style();
  list.set_current_file("/home/me/src/pkg.adb");
  list.report_style(StyleKind::LINE_TOO_LONG, 7, 400, "");
  list.report_bug(BugKind::NULL_POINTER, 12, 5, "  Put (P.all);");
  list.report_bug(BugKind::NULL_POINTER, 20, no_column, "");
  list.report_bug(BugKind::SYNTAX_ERROR, 3, 1, "");
  list.set_current_file("/home/me/src/PKG.adb");
  list.report_bug(BugKind::NULL_POINTER, 1, 1, "");
  list.set_current_file("/home/me/src/other.ads");
  list.report_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, "");
}

}  // namespace flawseek::testing
