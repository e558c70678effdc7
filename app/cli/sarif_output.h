// The findings of a run as a SARIF 2.1.0 log, the form code-scanning
// services (GitHub, GitLab) and SARIF viewers read: one run whose tool lists
// every finding kind as a rule (id, name, descriptions from the rule
// catalog), and one result per finding, located relative to the %SRCROOT%
// base (the root's directory). Findings a mark absorbed, when the records
// hold them, become results with an in-source suppression.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "finding_records.h"
#include "json_array_document.h"
#include "records_writer.h"
#include "report_context.h"

namespace flawseek {

inline constexpr std::string_view sarif_root_base = "%SRCROOT%";

class SarifLogWriter final : public RecordsWriter {
 public:
  // `context` must outlive the writer.
  explicit SarifLogWriter(const ReportContext& context);
  void write(std::span<const FindingRecord> records, std::ostream& out) override;
  void end(std::ostream& out) override { log_.end(out); }

 private:
  const ReportContext& context_;
  JsonArrayDocument log_;
};

// A path as a URI reference: every byte outside the unreserved characters and
// "/" percent-encoded ("a b.adb" becomes "a%20b.adb").
std::string uri_escaped(std::string_view path);

}  // namespace flawseek
