// Reading baselines and leaving their findings out.
#include "baseline.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
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

// The entries of a baseline read event by event, so that memory holds the
// entries kept and never the whole document: a flawseek JSON report
// ("findings": [{file, id, source, suppressed}]) or a SARIF log ("runs":
// [{"results": [{ruleId, suppressions, locations[0].physicalLocation}]}]).
// A value of the wrong type where an entry's field belongs is an error
// naming the entry, never skipped in silence.
class BaselineEvents final : public nlohmann::json_sax<nlohmann::json> {
 public:
  enum class Form : std::uint8_t { UNKNOWN, FLAWSEEK, SARIF };

  using Number = nlohmann::json::number_integer_t;
  using Unsigned = nlohmann::json::number_unsigned_t;
  using Float = nlohmann::json::number_float_t;

  bool null() override { return scalar(nullptr); }
  bool boolean(bool value) override { return scalar(nullptr, value ? Flag::TRUE_VALUE : Flag::FALSE_VALUE); }
  bool number_integer(Number) override { return scalar(nullptr); }
  bool number_unsigned(Unsigned) override { return scalar(nullptr); }
  bool number_float(Float, const string_t&) override { return scalar(nullptr); }
  bool string(string_t& value) override { return scalar(&value); }
  bool binary(binary_t&) override { return scalar(nullptr); }

  bool start_object(std::size_t) override {
    if (path_.empty()) top_is_object_ = true;
    opened(Kind::OBJECT);
    return error_.empty();
  }
  bool key(string_t& name) override {
    path_.back().key = name;
    return true;
  }
  bool end_object() override { return closed(); }
  bool start_array(std::size_t) override {
    opened(Kind::ARRAY);
    return error_.empty();
  }
  bool end_array() override { return closed(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& fault) override {
    // "[json.exception.parse_error.101] parse error at line 1, column 15: ..."
    std::string_view what = fault.what();
    if (const std::size_t end = what.find("] "); what.starts_with("[") && end != std::string_view::npos) {
      what.remove_prefix(end + 2);
    }
    error_ = "is not JSON: " + std::string(what);
    return false;
  }

  // `keep` takes each entry not suppressed: its file, id and source text.
  using Keep = std::function<void(std::string file, std::string id, std::string source)>;
  explicit BaselineEvents(Keep keep) : keep_(std::move(keep)) {}

  const std::string& error() const { return error_; }
  bool top_is_object() const { return top_is_object_; }
  Form form() const { return form_; }

 private:
  enum class Kind : std::uint8_t { OBJECT, ARRAY, SCALAR };
  enum class Flag : std::uint8_t { NONE, TRUE_VALUE, FALSE_VALUE };
  struct Level {
    Kind kind;
    std::string key;        // of an object: the key of the value being read
    std::size_t index = 0;  // of an array: the position of the value being read
  };
  // An entry being read, and the depth of its object.
  struct Entry {
    std::string file, id, source, context_source;
    bool skipped = false;  // suppressed
    bool has_context = false;
  };

  // The path of the value now starting, as keys and positions: "runs", 0,
  // "results", 3, ... Returns whether it is `expected` (a position given
  // as npos matches any).
  struct Step {
    std::string_view key;
    std::size_t index;
  };
  static constexpr std::size_t any = static_cast<std::size_t>(-1);
  bool at(std::initializer_list<Step> expected) const {
    if (path_.size() != expected.size()) return false;
    std::size_t level = 0;
    for (const Step& step : expected) {
      const Level& here = path_[level++];
      if (step.key.empty()) {
        if (here.kind != Kind::ARRAY || (step.index != any && here.index != step.index)) return false;
      } else if (here.kind != Kind::OBJECT || here.key != step.key) {
        return false;
      }
    }
    return true;
  }

  // What a value means where it starts. `text` is its string, if it is one.
  void place(Kind kind, const std::string* text, Flag flag) {
    if (at({{"findings", 0}})) {
      if (kind != Kind::ARRAY) return wrong("\"findings\" is not a list");
      form_ = Form::FLAWSEEK;
    } else if (form_ != Form::FLAWSEEK && at({{"runs", 0}})) {
      if (kind != Kind::ARRAY) return wrong("\"runs\" is not a list");
      form_ = Form::SARIF;
    } else if (form_ == Form::FLAWSEEK && at({{"findings", 0}, {{}, any}})) {
      if (kind != Kind::OBJECT) return wrong(entry_name() + " is not an object");
      entry_ = Entry{};
      entry_depth_ = path_.size();
    } else if (form_ == Form::SARIF && at({{"runs", 0}, {{}, any}, {"results", 0}, {{}, any}})) {
      if (kind != Kind::OBJECT) return wrong(entry_name() + " is not an object");
      entry_ = Entry{};
      entry_depth_ = path_.size();
    } else if (entry_depth_ != 0 && path_.size() > entry_depth_) {
      field(kind, text, flag);
    }
  }

  void field(Kind kind, const std::string* text, Flag flag) {
    const std::string_view name = path_[entry_depth_].key;
    auto take = [&](std::string& into, std::string_view what) {
      if (text == nullptr) return wrong(entry_name() + ": " + std::string(what) + " is not a string");
      into = *text;
    };
    if (form_ == Form::FLAWSEEK) {
      if (path_.size() != entry_depth_ + 1) return;
      if (name == "file") return take(entry_.file, "\"file\"");
      if (name == "id") return take(entry_.id, "\"id\"");
      if (name == "source") return take(entry_.source, "\"source\"");
      if (name == "suppressed") {
        if (flag == Flag::NONE) return wrong(entry_name() + ": \"suppressed\" is not true or false");
        entry_.skipped = flag == Flag::TRUE_VALUE;
      }
      return;
    }
    if (path_.size() == entry_depth_ + 1) {
      if (name == "ruleId") return take(entry_.id, "\"ruleId\"");
      if (name == "suppressions" && kind != Kind::ARRAY) return wrong(entry_name() + ": \"suppressions\" is not a list");
      return;
    }
    // Inside the result: a suppression, or the first location's parts.
    if (name == "suppressions" && path_.size() == entry_depth_ + 2) {
      entry_.skipped = true;
      return;
    }
    if (name != "locations" || path_.size() < entry_depth_ + 4 || path_[entry_depth_ + 1].index != 0 ||
        path_[entry_depth_ + 2].key != "physicalLocation") {
      return;
    }
    const std::string_view part = path_[entry_depth_ + 3].key;
    if (path_.size() == entry_depth_ + 5 && part == "artifactLocation" && path_[entry_depth_ + 4].key == "uri") {
      if (text == nullptr) return wrong(entry_name() + ": the artifact's \"uri\" is not a string");
      entry_.file = uri_unescaped(*text);
    } else if (path_.size() == entry_depth_ + 6 && (part == "region" || part == "contextRegion") &&
               path_[entry_depth_ + 4].key == "snippet" && path_[entry_depth_ + 5].key == "text") {
      // The source text is the context region's snippet (a region's own
      // snippet where another tool put it there).
      if (text == nullptr) return wrong(entry_name() + ": a snippet's \"text\" is not a string");
      if (part == "contextRegion") {
        entry_.context_source = *text;
        entry_.has_context = true;
      } else {
        entry_.source = *text;
      }
    }
  }

  std::string entry_name() const {
    // Inside an entry, its place in the list; at its start, the list's place.
    const std::size_t position = entry_depth_ != 0 ? path_[entry_depth_ - 1].index : path_.back().index;
    return (form_ == Form::SARIF ? "result " : "finding ") + std::to_string(position + 1);
  }
  void wrong(std::string what) {
    if (error_.empty()) error_ = "is not a baseline: " + std::move(what);
  }

  bool scalar(const std::string* text, Flag flag = Flag::NONE) {
    if (path_.empty()) return true;  // a document of one value: not an object
    place(Kind::SCALAR, text, flag);
    advance();
    return error_.empty();
  }
  void opened(Kind kind) {
    if (!path_.empty()) place(kind, nullptr, Flag::NONE);
    path_.push_back({kind, {}, 0});
  }
  bool closed() {
    path_.pop_back();
    if (entry_depth_ != 0 && path_.size() == entry_depth_) {
      if (!entry_.skipped) {
        keep_(std::move(entry_.file), std::move(entry_.id),
              std::move(entry_.has_context ? entry_.context_source : entry_.source));
      }
      entry_depth_ = 0;
    }
    advance();
    return error_.empty();
  }
  void advance() {
    if (!path_.empty() && path_.back().kind == Kind::ARRAY) ++path_.back().index;
  }

  std::vector<Level> path_;
  bool top_is_object_ = false;
  Form form_ = Form::UNKNOWN;
  Entry entry_;
  std::size_t entry_depth_ = 0;  // the path's length inside an entry's object; 0 outside
  Keep keep_;
  std::string error_;
};

}  // namespace

std::optional<Baseline> Baseline::read(const std::filesystem::path& path, std::string& error) {
  std::error_code status_error;
  if (std::filesystem::is_directory(path, status_error)) {
    error = "cannot read the baseline " + path.string() + ": it is a directory";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the baseline " + path.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::optional<Baseline> baseline = from_events(in, error);
  if (!baseline) error = "the baseline " + path.string() + " " + error;
  return baseline;
}

std::optional<Baseline> Baseline::parse(const std::string& text, std::string& error) {
  std::istringstream in(text);
  return from_events(in, error);
}

std::optional<Baseline> Baseline::from_events(std::istream& in, std::string& error) {
  Baseline baseline;
  BaselineEvents events([&baseline](std::string file, std::string id, std::string source) {
    baseline.add({std::move(file), std::move(id), std::move(source)});
  });
  const bool parsed = nlohmann::json::sax_parse(in, &events);
  if (!parsed || !events.error().empty()) {
    error = events.error().empty() ? "is not JSON" : events.error();
    return std::nullopt;
  }
  if (!events.top_is_object() || events.form() == BaselineEvents::Form::UNKNOWN) {
    error = "is JSON but neither a flawseek JSON report nor a SARIF log";
    return std::nullopt;
  }
  return baseline;
}

void Baseline::add(Key key) {
  ++counts_[std::move(key)];
  ++size_;
}

std::unordered_set<const Finding*> Baseline::known_findings(const std::vector<FindingRecord>& records,
                                                            const ReportContext& context,
                                                            std::vector<ReportContext::AbsentFinding>* absent) const {
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
  if (absent != nullptr) {
    for (const auto& [key, count] : left) {
      for (int copy = 0; copy < count; ++copy) absent->push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key)});
    }
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
