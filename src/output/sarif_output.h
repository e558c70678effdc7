// The findings of a run as a SARIF 2.1.0 log, the form code-scanning
// services (GitHub, GitLab) and SARIF viewers read: one run whose tool lists
// every finding kind as a rule (id, name, descriptions from the rule
// catalog), and one result per finding, located relative to the %SRCROOT%
// base (the root's directory). Findings a mark absorbed, when the records
// hold them, become results with an in-source suppression.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "output/records_writer.h"
#include "output/report_context.h"

namespace flawseek {

inline constexpr std::string_view sarif_root_base = "%SRCROOT%";

// `context` must outlive the writer.
std::unique_ptr<RecordsWriter> make_sarif_log_writer(const ReportContext& context);

// A path as a URI reference: every byte outside the unreserved characters and
// "/" percent-encoded ("a b.adb" becomes "a%20b.adb").
std::string uri_escaped(std::string_view path);

}  // namespace flawseek
