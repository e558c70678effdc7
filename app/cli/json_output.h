// The findings of a run as one JSON document (described in
// docs/json-output.md): the tool, the job, and every finding with its file,
// position, id, label, family, severity, message and source text. Also the
// form --baseline reads back.
#pragma once

#include <ostream>
#include <vector>

#include "finding_records.h"
#include "report_context.h"

namespace flawseek {

inline constexpr int json_format_version = 1;

void write_json_document(const std::vector<FindingRecord>& records, const ReportContext& context, std::ostream& out);

}  // namespace flawseek
