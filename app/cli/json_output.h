// The findings of a run as one JSON document (described in
// docs/json-output.md): the tool, the job, and every finding with its file,
// position, id, label, family, severity, message and source text. Also the
// form --baseline reads back.
#pragma once

#include <ostream>
#include <span>

#include "finding_records.h"
#include "json_array_document.h"
#include "records_writer.h"
#include "report_context.h"

namespace flawseek {

inline constexpr int json_format_version = 1;

class JsonDocumentWriter final : public RecordsWriter {
 public:
  // `context` must outlive the writer.
  explicit JsonDocumentWriter(const ReportContext& context);
  void write(std::span<const FindingRecord> records, std::ostream& out) override;
  void end(std::ostream& out) override { document_.end(out); }

 private:
  const ReportContext& context_;
  JsonArrayDocument document_;
};

}  // namespace flawseek
