// Building the JSON document with nlohmann-json.
#include "output/json_output.h"

#include "output/json_array_document.h"
#include "output/finding_statistics.h"

#include <nlohmann/json.hpp>

#include "build_info.h"
#include "driver/job.h"
#include "findings/finding_id.h"
#include "output/rule_catalog.h"
#include "output/source_fix.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

std::string option_key(Option option) {
  std::string key;
  for (char c : image(option)) {
    key.push_back(c == '_' ? '-' : static_cast<char>(latin1::to_lower(static_cast<unsigned char>(c))));
  }
  return key;
}

nlohmann::ordered_json job_object(const ReportContext& context) {
  nlohmann::ordered_json job = nlohmann::ordered_json::object();
  job["rootDirectory"] = utf8_text(context.root_directory);
  if (context.job == nullptr) return job;
  const Job& settings = *context.job;
  job["searchRoot"] = utf8_text(settings.search_root());
  nlohmann::ordered_json options = nlohmann::ordered_json::object();
  for (int position = 0; position < option_count; ++position) {
    const auto option = static_cast<Option>(position);
    options[option_key(option)] = settings.option_is_set(option);
  }
  job["options"] = options;
  job["adaVersion"] = std::string(image(settings.ada_version()));
  if (settings.extended_style_mode()) {
    job["styleSet"] = std::string(image(settings.current_style_set()));
    job["referencePath"] = utf8_text(settings.reference_path());
  }
  nlohmann::ordered_json kinds = nlohmann::ordered_json::array();
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    if (settings.style_kind_enabled(kind)) kinds.push_back(std::string(finding_id(kind)));
  }
  job["styleKinds"] = kinds;
  job["listUncheckedStyle"] = settings.list_unchecked_style();
  return job;
}

nlohmann::ordered_json document_around_findings(const ReportContext& context) {
  nlohmann::ordered_json document = nlohmann::ordered_json::object();
  document["formatVersion"] = json_format_version;
  document["tool"] = {{"name", build_info::product_name},
                      {"version", build_info::product_version},
                      {"informationUri", build_info::product_homepage}};
  document["job"] = job_object(context);
  document["findings"] = nlohmann::ordered_json::array();
  return document;
}

class FindingEntries {
 public:
  void operator()(const FindingRecord& record, const ReportContext& context, JsonText& json) {
    names_.enter(*record.file, context);
    json.begin_object();
    json.member("file", names_.relative());
    json.member("path", names_.path());
    json.member("line", record.line);
    json.key("column");
    if (record.column == no_column) {
      json.null();
    } else {
      json.number(record.column);
    }
    json.member("id", finding_id(record.kind));
    json.member("label", record.kind.label());
    json.member("family", family_name(record.kind));
    json.member("severity", severity_name(record.kind));
    json.member("message", utf8_text(finding_message(record), room_));
    json.member("source", utf8_text(record.reason, room_));
    json.member_bool("suppressed", record.suppressed);
    // What --fix would write: the text from column to endColumn (a byte each,
    // as the column counts) becomes the replacement.
    if (const std::optional<SourceFix> fix = source_fix(record)) {
      json.key("fix");
      json.begin_object();
      json.member("line", fix->line);
      json.member("column", fix->column);
      json.member("endColumn", fix->end_column());
      json.member("replacement", utf8_text(fix->replacement, room_));
      json.member("description", utf8_text(fix_description(*fix), room_));
      json.end_object();
    }
    json.end_object();
  }

 private:
  DocumentFileNames names_;
  std::string room_;
};

// After the findings: whether the search reached its end.
nlohmann::ordered_json after_findings(const ReportContext& context) {
  nlohmann::ordered_json after = nlohmann::ordered_json::object();
  after["complete"] = context.complete;
  if (context.statistics) after["statistics"] = statistics_json(*context.statistics);
  return after;
}

}  // namespace

std::unique_ptr<RecordsWriter> make_json_document_writer(const ReportContext& context) {
  auto entries = std::make_shared<FindingEntries>();
  return std::make_unique<JsonRecordsWriter>(
      document_around_findings(context), "findings",
      [entries](const FindingRecord& record, const ReportContext& context, JsonText& json) {
        (*entries)(record, context, json);
      },
      after_findings, context);
}

}  // namespace flawseek
