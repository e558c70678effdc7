// Building the SARIF log with nlohmann-json.
#include "output/sarif_output.h"

#include "output/json_array_document.h"
#include "output/finding_statistics.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "build_info.h"
#include "findings/finding_id.h"
#include "output/rule_catalog.h"
#include "output/source_fix.h"

namespace flawseek {

namespace {

using Json = nlohmann::ordered_json;

// "NULL_POINTER" becomes "NullPointer": SARIF wants a rule name that reads
// as an identifier.
std::string rule_name(FindingKind kind) {
  std::string name;
  bool word_start = true;
  for (char c : kind.is_style() ? image(kind.style_kind()) : image(kind.bug_kind())) {
    if (c == '_') {
      word_start = true;
      continue;
    }
    name.push_back(word_start ? c : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    word_start = false;
  }
  return name;
}

// Text ended by a full stop, as SARIF wants its messages.
std::string with_full_stop(std::string_view text) {
  std::string sentence(text);
  if (!sentence.empty() && sentence.back() != '.') sentence.push_back('.');
  return sentence;
}

// A description as a sentence: capitalised and ended by a full stop. (A
// finding's message is left as written: it may start with a reserved word,
// "then expected".)
std::string as_sentence(std::string_view text) {
  std::string sentence = with_full_stop(text);
  if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z') sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
  return sentence;
}

Json rule_object(FindingKind kind) {
  const RuleDescriptor& entry = rule_descriptor(kind);
  Json rule = Json::object();
  rule["id"] = std::string(finding_id(kind));
  rule["name"] = rule_name(kind);
  rule["shortDescription"] = {{"text", as_sentence(entry.sentence)}};
  rule["fullDescription"] = {{"text", utf8_text(std::string(entry.detects) + " " + std::string(entry.matters))}};
  rule["help"] = {{"text", utf8_text(rule_explanation_text(kind))}};
  rule["defaultConfiguration"] = {{"level", std::string(severity_name(kind))}};
  rule["properties"] = {{"label", kind.label()},
                        {"family", std::string(family_name(kind))},
                        {"tags", Json::array({std::string(family_name(kind))})}};
  return rule;
}

std::string directory_uri(const std::string& directory) {
  std::string uri = "file://" + uri_escaped(directory);
  if (uri.back() != '/') uri.push_back('/');
  return uri;
}

}  // namespace

std::string uri_escaped(std::string_view path) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string uri;
  uri.reserve(path.size());
  for (char c : path) {
    const auto code = static_cast<unsigned char>(c);
    const bool unreserved = (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
                            (code >= '0' && code <= '9') || code == '-' || code == '.' || code == '_' ||
                            code == '~' || code == '/';
    if (unreserved) {
      uri.push_back(c);
    } else {
      uri.push_back('%');
      uri.push_back(hex[code >> 4]);
      uri.push_back(hex[code & 0x0F]);
    }
  }
  return uri;
}

namespace {

Json log_around_results(const ReportContext& context) {
  Json rules = Json::array();
  for (int index = 0; index < FindingKind::count; ++index) rules.push_back(rule_object(FindingKind::from_index(index)));

  Json driver = Json::object();
  driver["name"] = build_info::product_name;
  driver["version"] = build_info::product_version;
  driver["semanticVersion"] = build_info::product_version;
  driver["informationUri"] = build_info::product_homepage;
  driver["rules"] = std::move(rules);

  Json run = Json::object();
  run["tool"] = {{"driver", std::move(driver)}};
  run["originalUriBaseIds"] = {{std::string(sarif_root_base), {{"uri", directory_uri(utf8_text(context.root_directory))}}}};
  run["columnKind"] = "unicodeCodePoints";
  run["results"] = Json::array();

  Json log = Json::object();
  log["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
  log["version"] = "2.1.0";
  log["runs"] = Json::array({std::move(run)});
  return log;
}

// A finding's fingerprint for code-scanning services, which track a result
// across commits by it: the file relative to the root, the kind, the source
// text with its blanks collapsed and the occurrence of that triple in the run
// (a second identical finding in the file is another result) -- not the line,
// so lines inserted above leave it as it was. FNV-1a, 64 bits, in hex.
std::string fingerprint_of(const std::string& file, std::string_view id, std::string_view source, int occurrence) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](std::string_view part) {
    for (const char c : part) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 1099511628211ull;
    }
    hash ^= 0xff;  // a separator no text holds
    hash *= 1099511628211ull;
  };
  mix(file);
  mix(id);
  mix(source);
  mix(std::to_string(occurrence));
  static constexpr char digits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = digits[hash & 0xf];
  return text;
}

// The fingerprints of one log: identical findings (file, kind, source text)
// counted as they come, the baseline's absent ones after the run's own, so
// that no two results of the log share a fingerprint. A file's results come
// together, so without a baseline (whose absent findings are counted with
// the run's) the counts of the files before are forgotten: memory stays flat
// however many results a log has.
class Fingerprints {
 public:
  explicit Fingerprints(bool keep_every_file) : keep_every_file_(keep_every_file) {}

  std::string next(const std::string& file, std::string_view id, std::string_view source) {
    if (!keep_every_file_ && file != file_) {
      occurrences_.clear();
      file_ = file;
    }
    // Counted for one file at a time, the file need not be in the key.
    key_.clear();
    if (keep_every_file_) {
      key_ = file;
      key_ += '\0';
    }
    key_ += id;
    key_ += '\0';
    key_ += source;
    return fingerprint_of(file, id, source, occurrences_[key_]++);
  }

 private:
  bool keep_every_file_;
  std::string file_;
  std::string key_;
  std::unordered_map<std::string, int> occurrences_;
};

// The result objects of one log.
class ResultObjects {
 public:
  explicit ResultObjects(bool against_baseline) : fingerprints_(against_baseline) {}
  void operator()(const FindingRecord& record, const ReportContext& context, JsonText& json);
  // The baseline's findings this run no longer has, after the others.
  Json absent(const ReportContext& context);

 private:
  void artifact_location(std::string& out) const;

  Fingerprints fingerprints_;
  DocumentFileNames names_;  // of the last result's file, and its URI
  std::string uri_;
  std::string room_;
  std::string source_room_;  // the source text, while its result is written
};

// A result is written by hand in the compact layout, the same text as
// dump() of its value: a log of hundreds of thousands of results spent most
// of its time putting members together one call at a time.
namespace {

void quoted(std::string& out, std::string_view text) {
  out += '"';
  append_json_escaped(text, out);
  out += '"';
}

void number(std::string& out, std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

}  // namespace

void ResultObjects::artifact_location(std::string& out) const {
  out += "\"artifactLocation\":{\"uri\":";
  quoted(out, uri_);
  out += ",\"uriBaseId\":";
  quoted(out, sarif_root_base);
  out += '}';
}

void ResultObjects::operator()(const FindingRecord& record, const ReportContext& context, JsonText& json) {
  // The name relative to the root, escaped after it became UTF-8, so that a
  // Latin-1 name still makes a valid URI.
  if (names_.enter(*record.file, context)) uri_ = uri_escaped(names_.relative());
  const std::int32_t line = record.line < 1 ? 1 : record.line;
  const bool has_column = record.column != no_column && record.column >= 1;
  const std::string_view source = utf8_text(record.reason, source_room_);
  // The source text is the finding's line (blanks collapsed). A region
  // from a later column runs to the line's end, so the line is the region
  // around it; a region from column 1 (or without a column) is the line
  // itself, which SARIF will not have as a context region of its own.
  const bool context_region = !source.empty() && has_column && record.column != 1;

  std::string& out = json.text();
  out += "{\"ruleId\":";
  quoted(out, finding_id(record.kind));
  out += ",\"ruleIndex\":";
  number(out, record.kind.index());
  out += ",\"level\":";
  quoted(out, severity_name(record.kind));
  out += ",\"message\":{\"text\":";
  quoted(out, utf8_text(with_full_stop(finding_message(record)), room_));
  out += "},\"locations\":[{\"physicalLocation\":{";
  artifact_location(out);
  out += ",\"region\":{\"startLine\":";
  number(out, line);
  if (has_column) {
    out += ",\"startColumn\":";
    number(out, record.column);
  }
  if (!source.empty() && !context_region) {
    out += ",\"snippet\":{\"text\":";
    quoted(out, source);
    out += '}';
  }
  out += '}';
  if (context_region) {
    out += ",\"contextRegion\":{\"startLine\":";
    number(out, line);
    out += ",\"snippet\":{\"text\":";
    quoted(out, source);
    out += "}}";
  }
  out += "}}]";
  if (record.suppressed) out += ",\"suppressions\":[{\"kind\":\"inSource\"}]";
  if (const std::optional<SourceFix> fix = source_fix(record)) {
    out += ",\"fixes\":[{\"description\":{\"text\":";
    quoted(out, utf8_text(fix_description(*fix), room_));
    out += "},\"artifactChanges\":[{";
    artifact_location(out);
    // The region's end column is the first one after it: empty for an insertion.
    out += ",\"replacements\":[{\"deletedRegion\":{\"startLine\":";
    number(out, fix->line);
    out += ",\"startColumn\":";
    number(out, fix->column);
    out += ",\"endColumn\":";
    number(out, fix->end_column());
    out += "},\"insertedContent\":{\"text\":";
    quoted(out, utf8_text(fix->replacement, room_));
    out += "}}]}]}]";
  }
  // Over the texts the log shows, as a baseline keeps them for its absent results.
  out += ",\"partialFingerprints\":{\"flawseek/v1\":";
  quoted(out, fingerprints_.next(names_.relative(), finding_id(record.kind), source));
  out += '}';
  // A baseline holds no suppressed finding: such a result is not compared.
  if (context.against_baseline && !record.suppressed) {
    const bool known = context.known != nullptr && record.listed != nullptr && context.known->contains(record.listed);
    out += known ? ",\"baselineState\":\"unchanged\"" : ",\"baselineState\":\"new\"";
  }
  out += '}';
}

// The baseline's findings this run no longer has: in which file they were
// (the baseline keeps no line, so the location has no region) and what they
// said, the source text in the message.
Json ResultObjects::absent(const ReportContext& context) {
  Json results = Json::array();
  for (const ReportContext::AbsentFinding& absent : context.absent) {
    const auto kind = find_finding_id(absent.id);
    if (!kind) continue;
    Json result = Json::object();
    result["ruleId"] = absent.id;
    result["ruleIndex"] = kind->index();
    result["level"] = std::string(severity_name(*kind));
    std::string message(rule_descriptor(*kind).sentence);
    if (!absent.source.empty()) message += ": " + absent.source;
    result["message"] = {{"text", with_full_stop(message)}};
    const Json physical = {
        {"artifactLocation", {{"uri", uri_escaped(absent.file)}, {"uriBaseId", std::string(sarif_root_base)}}}};
    result["locations"] = Json::array({{{"physicalLocation", physical}}});
    result["partialFingerprints"] = {{"flawseek/v1", fingerprints_.next(absent.file, absent.id, absent.source)}};
    result["baselineState"] = "absent";
    results.push_back(std::move(result));
  }
  return results;
}

// After the results: the invocation, which says whether the search reached
// its end and, when it did not, why the results stop short.
Json after_results(const ReportContext& context) {
  Json invocation = Json::object();
  invocation["executionSuccessful"] = context.complete;
  if (context.exit_code) invocation["exitCode"] = *context.exit_code;
  if (!context.start_time_utc.empty()) invocation["startTimeUtc"] = context.start_time_utc;
  if (!context.end_time_utc.empty()) invocation["endTimeUtc"] = context.end_time_utc;
  if (!context.complete) {
    invocation["toolExecutionNotifications"] = Json::array(
        {{{"level", "error"},
          {"message", {{"text", "The search stopped before its end: the files not reached have no results."}}}}});
  }
  Json after = Json::object();
  after["invocations"] = Json::array({std::move(invocation)});
  if (context.statistics) after["properties"] = {{"statistics", statistics_json(*context.statistics)}};
  return after;
}

}  // namespace

std::unique_ptr<RecordsWriter> make_sarif_log_writer(const ReportContext& context) {
  // The records' results and the absent ones share one count of fingerprints.
  const auto results = std::make_shared<ResultObjects>(context.against_baseline);
  return std::make_unique<JsonRecordsWriter>(
      log_around_results(context), "results",
      [results](const FindingRecord& record, const ReportContext& context, JsonText& json) {
        (*results)(record, context, json);
      },
      after_results, context, [results](const ReportContext& context) { return results->absent(context); },
      JsonArrayDocument::Elements::Compact);
}

}  // namespace flawseek
