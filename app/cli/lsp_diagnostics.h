// A document's findings in the protocol's terms: each finding's range in
// UTF-16 positions of the document's text (from its line and byte column to
// the end of the word there), its severity, rule id, link and message, and
// its mechanical fix, turned into edits of that same text.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"
#include "findings/finding_record.h"
#include "lsp_documents.h"
#include "output/source_fix.h"

namespace flawseek {

struct DocumentFinding {
  TextRange range;
  int severity = 1;  // the protocol's: 1 error, 2 warning, 3 information
  std::string code;  // the rule id, or "project-file"
  bool of_rule = true;
  std::string message;
  std::optional<SourceFix> fix;
};

// The page that explains a rule: the home page's "rules/<id>".
std::string rule_page(std::string_view id);

// The findings of `records` that are `path`'s, in their order, with ranges
// in `lines` (indexed on the text the check read).
void add_document_findings(std::span<const FindingRecord> records, const std::string& path, const LineStarts& lines,
                           std::vector<DocumentFinding>& findings);

// A notice on the document's first line: a project file that is broken.
DocumentFinding document_notice(int severity, std::string message, const LineStarts& lines);

nlohmann::json diagnostic_json(const DocumentFinding& finding);
nlohmann::json range_json(const TextRange& range);

// The range `fix` replaces in the text of `lines`; none when the text there
// no longer reads as the finding saw it.
std::optional<TextRange> fix_range(const SourceFix& fix, const LineStarts& lines);

}  // namespace flawseek
