// GNAT's own style checks as an independent witness where its rules and ours
// coincide: reserved words in lower case (-gnatyk), the line length
// (-gnatyM<n>) and names after END (-gnatye). Each case checks one fixture
// with both and compares the lines (and, for keywords, the columns) of the
// complaints; a last case does the same for keywords on real library code.
// Skipped when GNAT (or, for the last, the corpus) is not there.
//
// Accepted differences, left out of the comparison:
// - GNAT places a long line at the first character beyond the limit, we at
//   the limit itself; GNAT counts a line's comment toward its length, we do
//   not (so the fixtures compared hold no comment on a long line but a bare
//   "--", which BRIGHTMOOR does not exempt).
// - GNAT places a missing end name at END, we at the token after it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "../corpus/corpus_lines.h"
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
  BugChecker checker;
  checker.start(0);
  testing_support::UnitSettings settings;
  settings.scan.style_rules = rules;
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

// Real code with every reserved word turned to upper case (outside comments
// and strings): both must find every such word, at the same place. Files our
// parser rejects (newer Ada than 95) are left out.
TEST(GnatStyleWitnessOnCorpus, UpperCaseKeywordsAreFoundWhereGnatFindsThem) {
  if (!gnat_installed()) GTEST_SKIP() << "GNAT not installed";
  const fs::path corpus = corpus::corpus_directory(FLAWSEEK_BINARY_DIR);
  if (!fs::exists(corpus / ".complete")) GTEST_SKIP() << "no GNAT corpus in " << corpus;
  static const std::regex keyword(
      R"((^|[^A-Za-z0-9_'])(abort|abs|abstract|accept|access|aliased|all|and|array|at|begin|body|case|constant|)"
      R"(declare|delay|delta|digits|do|else|elsif|end|entry|exception|exit|for|function|generic|goto|if|in|is|)"
      R"(limited|loop|mod|new|not|null|of|or|others|out|package|pragma|private|procedure|protected|raise|range|)"
      R"(record|rem|renames|requeue|return|reverse|select|separate|subtype|tagged|task|terminate|then|type|)"
      R"(until|use|when|while|with|xor)(?![A-Za-z0-9_]))");
  const fs::path work = fs::temp_directory_path() / "flawseek_keyword_witness";
  fs::create_directories(work);
  int compared = 0;
  for (const char* name : {"x-a-calari.adb", "x-a-calcon.adb", "x-a-caldel.adb", "x-a-cgarso.adb", "x-a-chacon.adb", "x-a-clrefi.adb"}) {
    std::ifstream in(corpus / name, std::ios::binary);
    if (!in) continue;
    std::ostringstream upper;
    std::string line;
    while (std::getline(in, line)) {
      const std::size_t comment = line.find("--");
      std::string code = line.substr(0, comment);
      std::string rest = comment == std::string::npos ? std::string() : line.substr(comment);
      if (code.find('"') == std::string::npos) {
        std::string changed;
        std::sregex_iterator it(code.begin(), code.end(), keyword), end;
        std::size_t at = 0;
        for (; it != end; ++it) {
          const auto word = (*it)[2];
          changed.append(code, at, static_cast<std::size_t>(word.first - code.begin()) - at);
          for (char c : std::string(word)) {
            changed.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
          }
          at = static_cast<std::size_t>(word.second - code.begin());
        }
        changed.append(code, at);
        code = changed;
      }
      upper << code << rest << '\n';
    }
    const fs::path copy = work / name;
    std::ofstream(copy, std::ios::binary) << upper.str();
    testing_support::RecordingSink sink(false);
    BugChecker checker;
    checker.start(0);
    testing_support::UnitSettings settings;
    settings.scan.gnat_extensions = true;
    settings.scan.style_rules.keyword_case = CaseConvention::Lower;
    testing_support::check_unit(checker, sink, {{copy.string(), false, {}}}, settings);
    std::set<Place> ours;
    bool parsed = true;
    for (const auto& finding : sink.findings) {
      if (finding.kind == FindingKind(BugKind::SYNTAX_ERROR)) parsed = false;
      if (finding.kind == FindingKind(StyleKind::BAD_KEYWORD)) ours.insert({finding.line, finding.column});
    }
    if (!parsed) continue;
    EXPECT_FALSE(ours.empty()) << name;
    EXPECT_EQ(ours, gnat_style_places(copy.string(), "-gnatyk", true)) << name;
    ++compared;
  }
  fs::remove_all(work);
  EXPECT_GT(compared, 0) << "no corpus file was compared";
}

}  // namespace
}  // namespace flawseek
