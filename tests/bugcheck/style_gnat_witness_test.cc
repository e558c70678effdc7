// GNAT's own style checks as an independent witness where its rules and ours
// coincide: reserved words in lower case (-gnatyk), the line length
// (-gnatyM<n>) and names after END (-gnatye). Each case checks one fixture
// with both and compares the lines (and, for keywords, the columns) of the
// complaints. Skipped when GNAT is not installed.
//
// Accepted differences, left out of the comparison:
// - GNAT places a long line at the first character beyond the limit, we at
//   the limit itself; GNAT counts a line's comment toward its length, we do
//   not (so the fixtures compared hold no comment on a long line but a bare
//   "--", which BRIGHTMOOR does not exempt).
// - GNAT places a missing end name at END, we at the token after it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include "bugcheck/bug_checker.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;
using Place = std::pair<int, int>;  // line, column (0: not compared)

bool gnat_installed() {
  static const bool installed = std::system("command -v gnatls >/dev/null 2>&1") == 0;
  return installed;
}

// GNAT's "(style)" complaints on `path` under `switches`.
std::set<Place> gnat_style_places(const std::string& path, const std::string& switches, bool columns) {
  const fs::path out = fs::temp_directory_path() / ("flawseek_gnat_witness_" + fs::path(path).stem().string());
  const std::string command = "cd " + fs::temp_directory_path().string() + " && gcc -c -gnats -gnat95 -gnatf " +
                              switches + " " + path + " >" + out.string() + " 2>&1";
  (void)std::system(command.c_str());
  std::set<Place> places;
  std::ifstream in(out);
  const std::regex style(R"(^[^:]+:(\d+):(\d+): \(style\))");
  std::string line;
  std::smatch match;
  while (std::getline(in, line)) {
    if (std::regex_search(line, match, style)) {
      places.insert({std::stoi(match[1]), columns ? std::stoi(match[2]) : 0});
    }
  }
  fs::remove(out);
  return places;
}

std::set<Place> our_places(const std::string& path, const StyleRules& rules, StyleKind kind, bool columns) {
  testing_support::RecordingSink sink(false);
  BugChecker checker(sink);
  checker.start(0);
  testing_support::UnitSettings settings;
  settings.mode.style_rules = rules;
  testing_support::check_unit(checker, sink, {{path, false, {}}}, settings);
  std::set<Place> places;
  for (const auto& finding : sink.findings) {
    if (finding.kind == FindingKind(kind)) places.insert({finding.line, columns ? finding.column : 0});
  }
  return places;
}

struct WitnessCase {
  const char* fixture;
  StyleRules rules;
  StyleKind kind;
  const char* switches;
  bool columns;
};

class GnatStyleWitness : public ::testing::TestWithParam<WitnessCase> {};

TEST_P(GnatStyleWitness, AgreesWithGnat) {
  if (!gnat_installed()) GTEST_SKIP() << "GNAT not installed";
  const WitnessCase& c = GetParam();
  const std::string path = std::string(FLAWSEEK_FIXTURES) + "/rules/" + c.fixture;
  const auto ours = our_places(path, c.rules, c.kind, c.columns);
  EXPECT_FALSE(ours.empty()) << "the fixture must show the rule at work";
  EXPECT_EQ(ours, gnat_style_places(path, c.switches, c.columns)) << c.fixture;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, GnatStyleWitness,
    ::testing::Values(
        WitnessCase{"word_case/word_case_tavik.adb", tavik_style_rules, StyleKind::BAD_KEYWORD, "-gnatyk", true},
        WitnessCase{"word_case/word_case_user.adb", tavik_style_rules, StyleKind::BAD_KEYWORD, "-gnatyk", true},
        WitnessCase{"line_length/line_brightmoor.adb", brightmoor_style_rules, StyleKind::LINE_TOO_LONG,
                    "-gnatyM120", false},
        WitnessCase{"end_names/end_names_tavik.adb", tavik_style_rules, StyleKind::IDENTIFIER_MISSING, "-gnatye",
                    false}),
    [](const ::testing::TestParamInfo<WitnessCase>& info) {
      std::string name = fs::path(info.param.fixture).stem().string();
      return name;
    });

}  // namespace
}  // namespace flawseek
