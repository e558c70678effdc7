// The findings of a run as one JSON document (described in
// docs/json-output.md): the tool, the job, and every finding with its file,
// position, id, label, family, severity, message and source text. Also the
// form --baseline reads back.
#pragma once

#include <memory>

#include "output/records_writer.h"
#include "output/report_context.h"

namespace flawseek {

inline constexpr int json_format_version = 1;

// `context` must outlive the writer.
std::unique_ptr<RecordsWriter> make_json_document_writer(const ReportContext& context);

}  // namespace flawseek
