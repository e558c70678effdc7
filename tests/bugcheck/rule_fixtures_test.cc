// Runs every Ada fixture below tests/fixtures/rules (a folder per rule
// family) through a bug checker and compares the findings with the
// expectations written in the fixtures' comments: "-- expect: Code Not
// Reachable" on the line of the finding (several separated by ";", a column
// as "@ 12"), or "-- expect line 7: ..." for a finding filed at another line
// of the file (line 0: the whole file).
// A "-- fixture: ..." comment sets the run: superfluous-marks, style-checks-off,
// rules=TAVIK|TAVIK_95|BRIGHTMOOR|NONE, user=KIND,... and user95=KIND,... (the
// rules of the USER or USER_95 book with those style kinds selected),
// max-line=N, comment-exempt, limit=N, prepare, list-unchecked,
// gnat-extensions, no-overloading, no-spec-variable (each switches one style
// rule on), only=Kind_Label,... (compare these kinds alone: a fixture of one
// family ignores the findings of the others). A stem with both .ads and .adb
// is checked as a specification-and-body pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../support/file_text.h"
#include "bugcheck/bug_checker.h"
#include "check_test_support.h"
#include "style/get_style_rules.h"
#include "style/style_command.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;
using testing_support::RecordedFinding;
using testing_support::RecordingSink;
using testing_support::UnitFile;
using testing::read_lines;
using testing_support::UnitSettings;

struct FixtureUnit {
  std::string name;                // family_stem: the folder, then the file's stem
  std::vector<std::string> paths;  // one file, or specification then body
};

void PrintTo(const FixtureUnit& unit, std::ostream* out) { *out << unit.name; }

struct Expected {
  std::string file;
  FindingKind kind;
  std::int32_t line;
  std::optional<std::int32_t> column;
};

std::string trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

bool same_text_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

std::optional<FindingKind> kind_by_label(std::string_view label) {
  for (int i = 0; i < FindingKind::count; ++i) {
    const FindingKind kind = FindingKind::from_index(i);
    if (same_text_ignoring_case(kind.label(), label)) return kind;
  }
  return std::nullopt;
}

// Every fixture below tests/fixtures/rules, one folder a rule family; a stem
// with both a specification and a body in one folder is a pair.
std::vector<FixtureUnit> discover_fixtures() {
  std::map<std::pair<std::string, std::string>, std::vector<fs::path>> by_unit;
  const fs::path root = fs::path(FLAWSEEK_FIXTURES) / "rules";
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".ads" && ext != ".adb" && ext != ".ada") continue;
    const std::string family = entry.path().parent_path().lexically_relative(root).generic_string();
    by_unit[{family, entry.path().stem().string()}].push_back(entry.path());
  }
  std::vector<FixtureUnit> units;
  for (auto& [key, paths] : by_unit) {
    // ".adb" < ".ads": the specification goes first.
    std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
      return a.extension() == ".ads" && b.extension() != ".ads";
    });
    const auto& [family, stem] = key;
    FixtureUnit unit{family == "." ? stem : family + "_" + stem, {}};
    for (const auto& p : paths) unit.paths.push_back(p.string());
    units.push_back(std::move(unit));
  }
  return units;
}

struct FixtureSettings {
  UnitSettings unit;
  // Style checks stay off in the check pass too, as in the preparation pass.
  bool style_checks_off = false;
  std::int32_t finding_limit = 0;
  bool list_unchecked = false;
  // The kinds the fixture is about ("only=Bad_Identifier,Not_Uppercase");
  // findings of other families are not its business. Empty: every kind.
  std::vector<FindingKind> only;

  bool compares(FindingKind kind) const {
    return only.empty() || std::find(only.begin(), only.end(), kind) != only.end();
  }
};

// Reads "-- fixture:" settings; fails the test on an unknown word.
FixtureSettings read_settings(const FixtureUnit& unit) {
  FixtureSettings fixture;
  UnitSettings& settings = fixture.unit;
  for (const std::string& path : unit.paths) {
    for (const std::string& line : read_lines(path)) {
      const auto at = line.find("-- fixture:");
      if (at == std::string::npos) continue;
      std::istringstream words(line.substr(at + 11));
      std::string word;
      while (words >> word) {
        if (word == "superfluous-marks") {
          settings.scan.report_superfluous_marks = true;
        } else if (word == "style-checks-off") {
          fixture.style_checks_off = true;
        } else if (word.rfind("rules=", 0) == 0) {
          const auto rules = installed_style_rules(word.substr(6));
          if (!rules) {
            ADD_FAILURE() << path << ": unknown rules " << word;
            continue;
          }
          settings.scan.style_rules = *rules;
        } else if (word.rfind("user=", 0) == 0 || word.rfind("user95=", 0) == 0) {
          // The user's own selection of kinds, out of the TAVIK (user=) or
          // TAVIK_95 (user95=) rule book: "user=BAD_KEYWORD,LINE_TOO_LONG".
          StyleSelection selection;
          selection.extended_style_mode = true;
          selection.style_set = word[4] == '=' ? StyleSet::USER : StyleSet::USER_95;
          std::istringstream kinds(word.substr(word.find('=') + 1));
          std::string kind;
          while (std::getline(kinds, kind, ',')) {
            bool known = false;
            for (int k = 0; k < selectable_style_kind_count; ++k) {
              if (image(static_cast<StyleKind>(k)) == kind) {
                selection.select(static_cast<StyleKind>(k));
                known = true;
              }
            }
            if (!known) ADD_FAILURE() << path << ": unknown style kind " << kind;
          }
          settings.scan.style_rules = get_style_rules(selection);
        } else if (word.rfind("max-line=", 0) == 0) {
          settings.scan.style_rules.max_line_length = std::stoi(word.substr(9));
        } else if (word == "comment-exempt") {
          settings.scan.style_rules.comment_lines_exempt = true;
        } else if (word == "no-overloading") {
          settings.scan.style_rules.no_overloading_on = true;
        } else if (word == "no-spec-variable") {
          settings.scan.style_rules.no_spec_variable_on = true;
        } else if (word.rfind("only=", 0) == 0) {
          std::istringstream labels(word.substr(5));
          std::string label;
          while (std::getline(labels, label, ',')) {
            std::replace(label.begin(), label.end(), '_', ' ');
            if (const auto kind = kind_by_label(label)) {
              fixture.only.push_back(*kind);
            } else {
              ADD_FAILURE() << path << ": unknown kind " << label << " in " << word;
            }
          }
        } else if (word.rfind("limit=", 0) == 0) {
          fixture.finding_limit = std::stoi(word.substr(6));
        } else if (word == "prepare") {
          settings.prepare = true;
        } else if (word == "list-unchecked") {
          fixture.list_unchecked = true;
        } else if (word == "gnat-extensions") {
          settings.scan.gnat_extensions = true;
        } else {
          ADD_FAILURE() << path << ": unknown fixture setting " << word;
        }
      }
    }
  }
  return fixture;
}

void parse_expectation_items(const std::string& file, std::int32_t line, std::string_view items,
                             std::vector<Expected>& out) {
  std::size_t start = 0;
  while (start <= items.size()) {
    std::size_t end = items.find(';', start);
    if (end == std::string_view::npos) end = items.size();
    std::string item = trim(items.substr(start, end - start));
    start = end + 1;
    if (item.empty()) continue;
    std::optional<std::int32_t> column;
    if (const auto at = item.find('@'); at != std::string::npos) {
      column = std::stoi(item.substr(at + 1));
      item = trim(item.substr(0, at));
    }
    const auto kind = kind_by_label(item);
    if (!kind) {
      ADD_FAILURE() << file << ":" << line << ": unknown finding kind \"" << item << "\" in an expectation";
      continue;
    }
    out.push_back({file, *kind, line, column});
  }
}

std::vector<Expected> read_expectations(const std::string& path) {
  std::vector<Expected> expected;
  const auto lines = read_lines(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& text = lines[i];
    std::size_t at = text.find("-- expect");
    while (at != std::string::npos) {
      std::size_t body = at + 9;
      std::int32_t line = static_cast<std::int32_t>(i + 1);
      if (text.compare(body, 6, " line ") == 0) {
        std::size_t digits_end = body + 6;
        while (digits_end < text.size() && std::isdigit(static_cast<unsigned char>(text[digits_end]))) ++digits_end;
        line = std::stoi(text.substr(body + 6, digits_end - body - 6));
        body = digits_end;
      }
      if (body >= text.size() || text[body] != ':') {
        ADD_FAILURE() << path << ":" << i + 1 << ": malformed expectation";
        break;
      }
      const std::size_t next = text.find("-- expect", body);
      parse_expectation_items(path, line, std::string_view(text).substr(body + 1, next == std::string::npos ? std::string::npos : next - body - 1), expected);
      at = next;
    }
  }
  return expected;
}

std::string describe(FindingKind kind, std::int32_t column) {
  std::string text = kind.label();
  if (column == no_column) {
    text += " (no column)";
  } else {
    text += " @ " + std::to_string(column);
  }
  return text;
}

class RuleFixture : public ::testing::TestWithParam<FixtureUnit> {};

TEST_P(RuleFixture, FindingsMatchExpectations) {
  const FixtureUnit& unit = GetParam();
  const FixtureSettings settings = read_settings(unit);

  RecordingSink sink(settings.list_unchecked);
  BugChecker checks_on;
  testing_support::ChecksOffChecker checks_off;
  BugChecker& checker = settings.style_checks_off ? checks_off : checks_on;
  checker.start(settings.finding_limit);
  std::vector<UnitFile> files;
  for (const auto& path : unit.paths) files.push_back({path, false, {}});
  testing_support::check_unit(checker, sink, files, settings.unit);

  std::vector<Expected> expected;
  for (const auto& path : unit.paths) {
    auto more = read_expectations(path);
    expected.insert(expected.end(), more.begin(), more.end());
  }
  std::vector<RecordedFinding> actual;
  for (const RecordedFinding& f : sink.findings) {
    if (settings.compares(f.kind)) actual.push_back(f);
  }
  for (const Expected& e : expected) {
    if (!settings.compares(e.kind)) {
      ADD_FAILURE() << e.file << ":" << e.line << ": expects " << e.kind.label() << ", which only= leaves out";
      continue;
    }
    auto match = std::find_if(actual.begin(), actual.end(), [&](const RecordedFinding& f) {
      return f.file == e.file && f.kind == e.kind && f.line == e.line && (!e.column || f.column == *e.column);
    });
    if (match == actual.end()) {
      ADD_FAILURE() << e.file << ":" << e.line << ": missing finding " << e.kind.label()
                    << (e.column ? " @ " + std::to_string(*e.column) : std::string());
    } else {
      actual.erase(match);
    }
  }
  for (const RecordedFinding& f : actual) {
    ADD_FAILURE() << f.file << ":" << f.line << ": unexpected finding " << describe(f.kind, f.column)
                  << " \"" << f.reason << "\"";
  }
}

std::string fixture_name(const ::testing::TestParamInfo<FixtureUnit>& info) {
  std::string name = info.param.name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleFixture, ::testing::ValuesIn(discover_fixtures()), fixture_name);

}  // namespace
}  // namespace flawseek
