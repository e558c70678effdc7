// Reading baselines and leaving their findings out.
#include "baseline.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "findings/finding_id.h"
#include "findings/findings_list.h"

namespace flawseek {

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The percent-encoded bytes of a URI reference decoded.
std::string uri_unescaped(std::string_view uri) {
  std::string text;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size()) {
      const int high = hex_value(uri[i + 1]);
      const int low = hex_value(uri[i + 2]);
      if (high >= 0 && low >= 0) {
        text.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    text.push_back(uri[i]);
  }
  return text;
}

std::string string_at(const nlohmann::json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

}  // namespace

std::optional<Baseline> Baseline::read(const std::filesystem::path& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the baseline " + path.string();
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::optional<Baseline> baseline = parse(text.str(), error);
  if (!baseline) error = "the baseline " + path.string() + " " + error;
  return baseline;
}

std::optional<Baseline> Baseline::parse(const std::string& text, std::string& error) {
  const nlohmann::json document = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (document.is_discarded() || !document.is_object()) {
    error = "is not JSON";
    return std::nullopt;
  }
  Baseline baseline;
  if (const auto findings = document.find("findings"); findings != document.end() && findings->is_array()) {
    for (const nlohmann::json& finding : *findings) {
      if (!finding.is_object()) continue;
      if (const auto suppressed = finding.find("suppressed"); suppressed != finding.end() && *suppressed == true) continue;
      baseline.add({string_at(finding, "file"), string_at(finding, "id"), string_at(finding, "source")});
    }
    return baseline;
  }
  if (const auto runs = document.find("runs"); runs != document.end() && runs->is_array()) {
    for (const nlohmann::json& run : *runs) {
      if (!run.is_object() || !run.contains("results") || !run["results"].is_array()) continue;
      for (const nlohmann::json& result : run["results"]) {
        if (!result.is_object()) continue;
        if (const auto suppressions = result.find("suppressions");
            suppressions != result.end() && suppressions->is_array() && !suppressions->empty()) {
          continue;
        }
        std::string file;
        std::string source;
        const nlohmann::json* location = nullptr;
        if (const auto locations = result.find("locations");
            locations != result.end() && locations->is_array() && !locations->empty()) {
          location = &(*locations)[0];
        }
        if (location != nullptr && location->is_object() && location->contains("physicalLocation")) {
          const nlohmann::json& physical = (*location)["physicalLocation"];
          if (physical.is_object() && physical.contains("artifactLocation") && physical["artifactLocation"].is_object()) {
            file = uri_unescaped(string_at(physical["artifactLocation"], "uri"));
          }
          // The source text is the context region's snippet (a region's own
          // snippet where another tool put it there).
          for (const char* region : {"region", "contextRegion"}) {
            if (physical.is_object() && physical.contains(region) && physical[region].is_object() &&
                physical[region].contains("snippet") && physical[region]["snippet"].is_object()) {
              source = string_at(physical[region]["snippet"], "text");
            }
          }
        }
        baseline.add({file, string_at(result, "ruleId"), source});
      }
    }
    return baseline;
  }
  error = "is neither a flawseek JSON report nor a SARIF log";
  return std::nullopt;
}

void Baseline::add(Key key) {
  ++counts_[std::move(key)];
  ++size_;
}

std::unordered_set<const Finding*> Baseline::known_findings(const std::vector<FindingRecord>& records,
                                                            const ReportContext& context) const {
  std::map<Key, int> left = counts_;
  std::unordered_set<const Finding*> known;
  for (const FindingRecord& record : records) {
    if (record.suppressed) continue;
    const Key key{utf8_text(root_relative_name(context, *record.file)), std::string(finding_id(record.kind)),
                  utf8_text(record.reason)};
    const auto found = left.find(key);
    if (found == left.end() || found->second == 0) continue;
    --found->second;
    known.insert(record.listed);
  }
  return known;
}

void copy_findings_except(const FindingsList& from, const std::unordered_set<const Finding*>& known, FindingsList& to) {
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    std::size_t position = 0;
    for (const Finding& finding : from.findings(kind)) {
      const std::string_view detail = from.notes().detail(kind, position++);
      if (known.contains(&finding)) continue;
      if (finding.file != to.current_file()) to.set_current_file(finding.file);
      if (kind.is_style()) {
        to.report_style(kind.style_kind(), finding.line, finding.column, finding.reason);
      } else {
        to.report_bug(kind.bug_kind(), finding.line, finding.column, finding.reason);
      }
      if (!detail.empty()) to.describe_last_finding(detail);
    }
  }
  for (const SuppressedFinding& suppressed : from.notes().suppressed()) {
    if (suppressed.finding.file != to.current_file()) to.set_current_file(suppressed.finding.file);
    to.report_suppressed_bug(suppressed.kind.bug_kind(), suppressed.finding.line, suppressed.finding.column,
                             suppressed.finding.reason);
  }
}

}  // namespace flawseek
