// The outputs for CI and editors, end to end on the "outputs" fixture tree:
// GNU lines, JSON and SARIF against expected files, SARIF through
// Microsoft's validator, GNU lines through Vim's and Emacs's error parsers,
// baselines and --fail-on, valid UTF-8 from Latin-1 sources, a check cut
// short by a long line, and the rule catalog's own examples.
#include <gtest/gtest.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "findings/finding_id.h"
#include "output/rule_catalog.h"
#include "program_runner.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::read_file;
using testing::replace_all;
using testing::run_program;
using testing::ScratchDirectory;
using Lines = std::vector<std::string>;

// The job of the expected files: a superfluous mark and a goto besides the
// bug findings, and the finding a mark absorbed.
const Lines fixture_job = {"-q", "--style", "superfluous_code_mark,no_goto_statements", "--show-suppressed"};

Lines with_job(Lines more) {
  Lines arguments = fixture_job;
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

std::string expected_output(const std::string& name, const std::filesystem::path& root) {
  std::string text = read_file(std::filesystem::path(FLAWSEEK_FIXTURES) / "trees/outputs/expected" / name);
  replace_all(text, "@ROOT@", root.string());
  replace_all(text, "@VERSION@", FLAWSEEK_EXPECTED_VERSION);
  return text;
}

// The SARIF log with the rule objects reduced to their ids: the rule texts
// belong to the catalog, the expected file pins the rest.
nlohmann::json sarif_without_rule_texts(const std::string& text) {
  nlohmann::json log = nlohmann::json::parse(text);
  nlohmann::json& rules = log["runs"][0]["tool"]["driver"]["rules"];
  nlohmann::json ids = nlohmann::json::array();
  for (const nlohmann::json& rule : rules) ids.push_back(rule.at("id"));
  rules = ids;
  // When the run started and ended changes from run to run.
  for (nlohmann::json& invocation : log["runs"][0]["invocations"]) {
    invocation.erase("startTimeUtc");
    invocation.erase("endTimeUtc");
  }
  return log;
}

int shell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool on_path(const std::string& program) { return shell("command -v " + program + " >/dev/null 2>&1") == 0; }

class MachineOutputs : public ::testing::Test {
 protected:
  ScratchDirectory scratch_;
  std::filesystem::path tree_ = scratch_.copy_tree("outputs");
  std::filesystem::path root_ = tree_ / "src";
};

// ---------------------------------------------------------------------------
// The formats
// ---------------------------------------------------------------------------

TEST_F(MachineOutputs, GnuLinesAreInFileOrderWithSeverityIdAndTabExpandedColumns) {
  // The root is given relative, so are the file names.
  const ProgramResult run = run_program(with_job({"--format", "gnu", "src"}), tree_);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, expected_output("out.gnu", root_));
  // An absolute root keeps absolute names.
  const ProgramResult absolute = run_program(with_job({"--format", "gnu", root_.string()}), tree_);
  EXPECT_NE(absolute.out.find(root_.string() + "/tabs.adb:9:9: warning: "), std::string::npos) << absolute.out;
}

TEST_F(MachineOutputs, JsonDocumentHoldsTheJobAndEveryFinding) {
  const ProgramResult run = run_program(with_job({"--format", "json", "src"}), tree_);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(expected_output("out.json", root_)));
}

TEST_F(MachineOutputs, SarifLogHoldsRulesResultsAndSuppressions) {
  const ProgramResult run = run_program(with_job({"--format", "sarif", "src"}), tree_);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(sarif_without_rule_texts(run.out), nlohmann::json::parse(expected_output("out.sarif", root_)));
  // Every rule has the catalog's descriptions.
  const nlohmann::json log = nlohmann::json::parse(run.out);
  const nlohmann::json& rules = log["runs"][0]["tool"]["driver"]["rules"];
  ASSERT_EQ(rules.size(), static_cast<std::size_t>(FindingKind::count));
  for (const nlohmann::json& rule : rules) {
    EXPECT_FALSE(rule["shortDescription"]["text"].get<std::string>().empty()) << rule["id"];
    EXPECT_FALSE(rule["fullDescription"]["text"].get<std::string>().empty()) << rule["id"];
  }
}

// --statistics: a table in place of the findings, most first with ties by
// id, then the total; the documents keep their findings and add the counts.
TEST_F(MachineOutputs, StatisticsCountEachKindInTheTableAndTheDocuments) {
  const ProgramResult table = run_program(with_job({"--statistics", "--format", "gnu", "src"}), tree_);
  ASSERT_EQ(table.status, 1) << table.err;
  std::istringstream rows(table.out);
  std::int64_t previous = INT64_MAX;
  std::int64_t sum = 0;
  std::string last;
  for (std::string row; std::getline(rows, row);) {
    std::istringstream fields(row);
    std::int64_t count = 0;
    std::string id;
    ASSERT_TRUE(fields >> count >> id) << row;
    if (id == "total") {
      EXPECT_EQ(count, sum) << table.out;
    } else {
      EXPECT_TRUE(find_finding_id(id)) << row;
      EXPECT_LE(count, previous) << table.out;
      previous = count;
      sum += count;
    }
    last = id;
  }
  EXPECT_EQ(last, "total");
  EXPECT_GT(sum, 2);

  const ProgramResult json = run_program(with_job({"--statistics", "--format", "json", "src"}), tree_);
  const nlohmann::json document = nlohmann::json::parse(json.out);
  std::int64_t counted = 0;
  for (const nlohmann::json& row : document.at("statistics")) counted += row.at("count").get<std::int64_t>();
  std::int64_t unsuppressed = 0;
  for (const nlohmann::json& finding : document.at("findings")) unsuppressed += finding.at("suppressed") ? 0 : 1;
  EXPECT_EQ(counted, unsuppressed);
  EXPECT_EQ(counted, sum);
  const ProgramResult sarif = run_program(with_job({"--statistics", "--format", "sarif", "src"}), tree_);
  EXPECT_EQ(nlohmann::json::parse(sarif.out)["runs"][0]["properties"]["statistics"], document.at("statistics"));
}

TEST_F(MachineOutputs, ReportFormatFollowsTheExtensionAndDashIsStandardOutput) {
  const ProgramResult saved =
      run_program(with_job({"--report", "r.json", "--format", "gnu", "src"}), tree_);
  EXPECT_EQ(saved.status, 1) << saved.err;
  EXPECT_EQ(saved.out, expected_output("out.gnu", root_));
  EXPECT_EQ(nlohmann::json::parse(read_file(tree_ / "r.json")), nlohmann::json::parse(expected_output("out.json", root_)));
  ASSERT_EQ(run_program(with_job({"--report", "r.SARIF", "src"}), tree_).status, 1);
  EXPECT_EQ(sarif_without_rule_texts(read_file(tree_ / "r.SARIF")),
            nlohmann::json::parse(expected_output("out.sarif", root_)));

  // "-" is standard output, in the format --format names: nothing else is printed there.
  const ProgramResult dash = run_program(with_job({"--report", "-", "--format", "json", "src"}), tree_);
  EXPECT_EQ(nlohmann::json::parse(dash.out), nlohmann::json::parse(expected_output("out.json", root_)));
}

// ---------------------------------------------------------------------------
// Tools that read the outputs
// ---------------------------------------------------------------------------

// The validator from npm, found on PATH, in the build tree's cache, or
// installed there now; empty when none can be had.
std::string sarif_validator() {
  if (const char* given = std::getenv("FLAWSEEK_SARIF_MULTITOOL"); given != nullptr && *given != '\0') return given;
  if (on_path("sarif-multitool")) return "sarif-multitool";
  const std::string cache = std::string(FLAWSEEK_BINARY_DIR) + "/sarif-tool";
  const std::string tool = cache + "/node_modules/.bin/sarif-multitool";
  if (!std::filesystem::exists(tool) && on_path("npm")) {
    (void)shell("timeout 300 npm install --silent --no-audit --no-fund --prefix '" + cache +
                "' @microsoft/sarif-multitool >/dev/null 2>&1");
  }
  if (!std::filesystem::exists(tool)) return {};
  return shell("'" + tool + "' --version >/dev/null 2>&1") == 0 ? tool : std::string();
}

TEST_F(MachineOutputs, SarifPassesMicrosoftsValidator) {
  const std::string validator = sarif_validator();
  if (validator.empty()) GTEST_SKIP() << "sarif-multitool cannot be installed or run here";
  // Findings from column 1 too, whose region is their whole line.
  std::ofstream(root_ / "upper.adb") << "PROCEDURE Upper IS\nBEGIN\n   NULL;\nEND Upper;\n";
  const ProgramResult run = run_program(with_job({"--style", "all", "--list-unchecked-style", "--statistics", "--report",
                                                  (tree_ / "all.sarif").string(), "src"}),
                                        tree_);
  ASSERT_EQ(run.status, 1) << run.err;
  const std::filesystem::path verdict = tree_ / "verdict.sarif";
  ASSERT_EQ(shell("'" + validator + "' validate -o '" + verdict.string() + "' '" + (tree_ / "all.sarif").string() +
                  "' >/dev/null 2>&1"),
            0);
  // The validator's own log lists what it found at the error and warning levels.
  const nlohmann::json log = nlohmann::json::parse(read_file(verdict));
  for (const nlohmann::json& result : log["runs"][0]["results"]) {
    ADD_FAILURE() << result.value("level", "?") << " " << result.value("ruleId", "?") << ": " << result.dump();
  }
}

// The positions an editor lands on, as "file:line:column" lines, one per GNU
// line; the column counts a tab as one character, as the findings do.
struct Landing {
  std::string expected;
  std::string gnu_file;
};

Landing expected_landings(const std::filesystem::path& tree) {
  Landing landing;
  const ProgramResult json = run_program(with_job({"--format", "json", "src"}), tree);
  const nlohmann::json document = nlohmann::json::parse(json.out);
  for (const nlohmann::json& finding : document["findings"]) {
    if (finding["suppressed"].get<bool>()) continue;
    const int column = finding["column"].is_null() ? 1 : finding["column"].get<int>();
    const int line = std::max(1, finding["line"].get<int>());
    landing.expected += "src/" + finding["file"].get<std::string>() + ":" + std::to_string(line) + ":" +
                        std::to_string(column) + "\n";
  }
  const ProgramResult gnu = run_program(with_job({"--format", "gnu", "src"}), tree);
  landing.gnu_file = (tree / "out.gnu").string();
  std::ofstream(landing.gnu_file) << gnu.out;
  return landing;
}

// VS Code counts a tab as one character: the README's task, run with
// --columns chars, lands on every finding through its own problem matchers,
// whose regular expressions (JavaScript's, which ECMAScript regex reads
// alike here) are taken from the shipped file.
TEST_F(MachineOutputs, VsCodesProblemMatchersLandOnEveryFindingWithCharacterColumns) {
  const Landing landing = expected_landings(tree_);
  const nlohmann::json tasks =
      nlohmann::json::parse(read_file(std::filesystem::path(FLAWSEEK_SOURCE_DIR) / "data/vscode-tasks.json"));
  const nlohmann::json& task = tasks["tasks"][0];
  EXPECT_NE(task["command"].get<std::string>().find("--columns chars"), std::string::npos);
  const ProgramResult gnu = run_program(with_job({"--format", "gnu", "--columns", "chars", "src"}), tree_);
  std::string landed;
  std::istringstream lines(gnu.out);
  for (std::string line; std::getline(lines, line);) {
    int matched = 0;
    for (const nlohmann::json& matcher : task["problemMatcher"]) {
      const nlohmann::json& pattern = matcher["pattern"];
      std::smatch found;
      if (!std::regex_match(line, found, std::regex(pattern["regexp"].get<std::string>()))) continue;
      ++matched;
      const auto group = [&](const char* name) { return found[pattern[name].get<int>()].str(); };
      landed += group("file") + ":" + group("line") + ":" + group("column") + "\n";
      const std::string severity = pattern.contains("severity") ? group("severity") : matcher["severity"].get<std::string>();
      EXPECT_TRUE(severity == "error" || severity == "warning" || severity == "info") << line;
      EXPECT_TRUE(find_finding_id(group("code"))) << line;
    }
    EXPECT_EQ(matched, 1) << line;
  }
  EXPECT_EQ(landed, landing.expected);
}

TEST_F(MachineOutputs, VimsGnatErrorformatLandsOnEveryFinding) {
  if (!on_path("vim")) GTEST_SKIP() << "vim is not installed";
  const Landing landing = expected_landings(tree_);
  const std::string script = (tree_ / "landings.vim").string();
  std::ofstream(script) << "let s:out = []\n"
                           "for s:n in range(1, len(getqflist()))\n"
                           "  silent execute 'cc ' . s:n\n"
                           "  let s:entry = getqflist()[s:n - 1]\n"
                           "  call add(s:out, expand('%') . ':' . line('.') . ':' . col('.') . ':' . s:entry.type)\n"
                           "endfor\n"
                           "call writefile(s:out, 'landings.txt')\n"
                           "qall!\n";
  // The plugin's errorformat reads the column with %c, a byte count; GNU
  // tools and GNAT count a tab to the next multiple of 8, which is %v. The
  // plugin's own format must recognise every line, its kind and its line;
  // with %v for %c it lands on every column too. A missing token is placed
  // just past the line's end, where it must be typed: 'virtualedit=onemore'
  // lets Vim's cursor stand there.
  for (const bool screen_columns : {false, true}) {
    std::string command = "cd '" + tree_.string() +
                          "' && timeout 60 vim -N -u NONE -i NONE -n -es --cmd 'set virtualedit=onemore' --cmd 'compiler gnat'";
    if (screen_columns) command += " --cmd \"let &l:errorformat = substitute(&l:errorformat, '%c', '%v', 'g')\"";
    command += " -q '" + landing.gnu_file + "' -S '" + script + "' </dev/null >/dev/null 2>&1";
    std::filesystem::remove(tree_ / "landings.txt");
    ASSERT_EQ(shell(command), 0) << command;
    std::istringstream landed(read_file(tree_ / "landings.txt"));
    std::istringstream wanted(landing.expected);
    std::string got_line;
    std::string want_line;
    int lines = 0;
    while (std::getline(wanted, want_line)) {
      ASSERT_TRUE(std::getline(landed, got_line)) << "Vim read fewer findings than written";
      ++lines;
      const std::size_t type_at = got_line.rfind(':');
      const std::string position = got_line.substr(0, type_at);
      const std::string type = got_line.substr(type_at + 1);
      // e for error:, w for warning:, s for (style).
      EXPECT_TRUE(type == "e" || type == "w" || type == "s") << got_line;
      if (screen_columns) {
        EXPECT_EQ(position, want_line);
      } else {
        EXPECT_EQ(position.substr(0, position.rfind(':')), want_line.substr(0, want_line.rfind(':')));
      }
    }
    EXPECT_EQ(lines, 5);
  }
}

TEST_F(MachineOutputs, EmacsCompilationModeLandsOnEveryFinding) {
  if (!on_path("emacs")) GTEST_SKIP() << "emacs is not installed";
  const Landing landing = expected_landings(tree_);
  const std::string script = (tree_ / "landings.el").string();
  std::ofstream(script)
      << "(require 'compile)\n"
         "(let* ((errors \"" << landing.gnu_file << "\")\n"
         "       (dir \"" << tree_.string() << "/\")\n"
         "       (count (with-temp-buffer (insert-file-contents errors) (count-lines (point-min) (point-max))))\n"
         "       (results nil))\n"
         "  (with-current-buffer (find-file-noselect errors)\n"
         "    (setq default-directory dir)\n"
         "    (compilation-mode))\n"
         "  (dotimes (n count)\n"
         "    (with-current-buffer (find-file-noselect errors)\n"
         "      (goto-char (point-min))\n"
         "      (forward-line n)\n"
         "      (compile-goto-error)\n"
         "      (push (format \"%s:%d:%d\" (file-relative-name (buffer-file-name) dir)\n"
         "                    (line-number-at-pos) (1+ (- (point) (line-beginning-position))))\n"
         "            results)))\n"
         "  (with-temp-file (concat dir \"landings.txt\")\n"
         "    (dolist (line (nreverse results)) (insert line \"\\n\"))))\n";
  ASSERT_EQ(shell("cd '" + tree_.string() + "' && timeout 60 emacs --batch -Q -l '" + script + "' </dev/null >/dev/null 2>&1"),
            0);
  EXPECT_EQ(read_file(tree_ / "landings.txt"), landing.expected);
}

// ---------------------------------------------------------------------------
// CI: baselines and --fail-on
// ---------------------------------------------------------------------------

TEST_F(MachineOutputs, ARunAgainstItsOwnBaselineReportsNothing) {
  for (const std::string name : {"base.json", "base.sarif"}) {
    ASSERT_EQ(run_program(with_job({"--write-baseline", name, "src"}), tree_).status, 0);
    const ProgramResult again = run_program(with_job({"--baseline", name, "--format", "gnu", "src"}), tree_);
    EXPECT_EQ(again.status, 0) << name << again.err;
    EXPECT_EQ(again.out, "") << name;
  }
}

TEST_F(MachineOutputs, ABaselineKeepsMovedFindingsKnownAndLetsNewOnesThrough) {
  ASSERT_EQ(run_program(with_job({"--write-baseline", "base.sarif", "src"}), tree_).status, 0);
  // Three lines above every finding of tabs.adb, and a second (labelled)
  // return with the same unreachable statement after it: the moved findings are known,
  // the second copy is new (each baseline entry matches once).
  std::string tabs = read_file(root_ / "tabs.adb");
  tabs.insert(tabs.find("procedure"), "--  One.\n--  Two.\n--  Three.\n");
  replace_all(tabs, "\tX :=\t1;\n", "\tX :=\t1;\n<<Again>>\treturn;\n\tX :=\t1;\n");
  std::ofstream(root_ / "tabs.adb") << tabs;
  const ProgramResult run = run_program(with_job({"--baseline", "base.sarif", "--format", "gnu", "src"}), tree_);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "src/tabs.adb:14:9: warning: statement is never reached: X := 1; [code-not-reachable]\n");

  // The same through the JSON form, and the tree shows the new finding only.
  ASSERT_EQ(run_program(with_job({"--write-baseline", "base.json", "src"}), tree_).status, 0);
  std::ofstream(root_ / "extra.adb") << "procedure Extra is\nbegin\n   return;\n   null;\nend Extra;\n";
  const ProgramResult tree = run_program(with_job({"--baseline", "base.json", "--format", "csv", "src"}), tree_);
  EXPECT_EQ(tree.status, 1);
  EXPECT_EQ(tree.out, "Filename,Path,Reason,Line,Column\nextra.adb," + root_.string() + ",Code Not Reachable, 4, 4\n");
}

// Code scanning tracks a result by its fingerprint: lines inserted above a
// finding leave it as it was, a second identical finding gets another; the
// invocation says how the run ended; under a baseline each result is new or
// unchanged, and the baseline's findings the run no longer has are absent.
TEST_F(MachineOutputs, SarifFingerprintsSurviveMovedLinesAndTheInvocationTellsTheExit) {
  std::multiset<std::string> states;
  const auto fingerprints = [&](const Lines& more) {
    const ProgramResult run = run_program(with_job(more), tree_);
    const nlohmann::json log = nlohmann::json::parse(run.out);
    std::multiset<std::string> prints;
    states.clear();
    for (const nlohmann::json& result : log["runs"][0]["results"]) {
      prints.insert(result["partialFingerprints"]["flawseek/v1"].get<std::string>());
      const bool compared = std::find(more.begin(), more.end(), "--baseline") != more.end() && !result.contains("suppressions");
      EXPECT_EQ(result.contains("baselineState"), compared) << result.dump();
      if (result.contains("baselineState")) states.insert(result["baselineState"].get<std::string>() + " " + result["ruleId"].get<std::string>());
    }
    EXPECT_EQ(log["runs"][0]["invocations"][0]["exitCode"], run.status);
    EXPECT_FALSE(log["runs"][0]["invocations"][0].value("startTimeUtc", "").empty());
    return prints;
  };
  const auto before = fingerprints({"--format", "sarif", "src"});
  std::string tabs = read_file(root_ / "tabs.adb");
  tabs.insert(tabs.find("procedure"), "--  One.\n--  Two.\n");
  replace_all(tabs, "\tX :=\t1;\n", "\tX :=\t1;\n<<Again>>\treturn;\n\tX :=\t1;\n");
  std::ofstream(root_ / "tabs.adb") << tabs;
  const auto after = fingerprints({"--format", "sarif", "src"});
  EXPECT_EQ(after.size(), before.size() + 1);
  EXPECT_TRUE(std::includes(after.begin(), after.end(), before.begin(), before.end()));
  ASSERT_EQ(run_program(with_job({"--write-baseline", "old.sarif", "src"}), tree_).status, 0);
  std::ofstream(root_ / "new.adb") << "procedure Fresh is\nbegin\n   return;\n   null;\nend Fresh;\n";
  std::filesystem::remove(root_ / "broken.adb");
  // One of tabs.adb's two identical findings goes: one unchanged, one absent.
  replace_all(tabs, "<<Again>>\treturn;\n\tX :=\t1;\n", "");
  std::ofstream(root_ / "tabs.adb") << tabs;
  const auto against = fingerprints({"--format", "sarif", "--baseline", "old.sarif", "src"});
  EXPECT_EQ(states.count("new code-not-reachable"), 1u);        // new.adb
  EXPECT_EQ(states.count("absent syntax-error"), 1u);           // broken.adb, gone
  EXPECT_EQ(states.count("unchanged null-pointer"), 1u);        // tabs.adb
  EXPECT_EQ(states.count("unchanged code-not-reachable"), 1u);  // tabs.adb, the first
  EXPECT_EQ(states.count("absent code-not-reachable"), 1u);     // and the second
  // No two results of a log share a fingerprint.
  EXPECT_EQ(std::set<std::string>(against.begin(), against.end()).size(), against.size());
}

// Writing a baseline prints one line and passes; with a project file the
// baseline's names are relative to its directory, so any spelling of ROOT
// finds them; without one, a baseline that knows nothing says so.
TEST_F(MachineOutputs, ABaselineWrittenFromOneRootServesAnotherAndTheCountSaysWhatIsKnown) {
  std::ofstream(tree_ / ".flawseek.toml") << "show-suppressed = true\n";
  const ProgramResult written = run_program({"--write-baseline", "ci/base.sarif", "src"}, tree_);
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "");
  EXPECT_TRUE(written.err.ends_with(" written to ci/base.sarif\n")) << written.err;
  EXPECT_EQ(std::count(written.err.begin(), written.err.end(), '\n'), 1) << written.err;

  std::ofstream(root_ / "extra.adb") << "procedure Extra is\nbegin\n   return;\n   null;\nend Extra;\n";
  const ProgramResult from_top = run_program({"--baseline", "ci/base.sarif", "--format", "gnu", "."}, tree_);
  EXPECT_EQ(from_top.status, 1) << from_top.err;
  EXPECT_EQ(from_top.out, "src/extra.adb:4:4: warning: statement is never reached: null; [code-not-reachable]\n");
  EXPECT_TRUE(from_top.err.starts_with("1 new, ")) << from_top.err;
  EXPECT_NE(from_top.err.find(" known potential bugs found in search of "), std::string::npos) << from_top.err;

  // Without the project file, names are relative to ROOT's directory: from
  // src they are not the baseline's.
  std::filesystem::remove(tree_ / ".flawseek.toml");
  const ProgramResult elsewhere = run_program({"--baseline", "ci/base.sarif", "--format", "gnu", "src"}, tree_);
  EXPECT_NE(elsewhere.err.find("flawseek: warning: the baseline ci/base.sarif knows none of the "), std::string::npos)
      << elsewhere.err;
}

TEST_F(MachineOutputs, ABaselineThatIsNoReportIsAnErrorThatSaysWhy) {
  const std::pair<std::string, std::string> cases[] = {
      {"{\"hello\": 1}", "is JSON but neither a flawseek JSON report nor a SARIF log"},
      {"[1, 2, 3]", "is JSON but neither a flawseek JSON report nor a SARIF log"},
      {"{\"findings\": [",
       "is not JSON: parse error at line 1, column 15: syntax error while parsing value - unexpected end of input; "
       "expected '[', '{', or a literal"},
      {"{\"findings\": [{\"file\": \"a.adb\"}, {\"file\": 7}]}", "is not a baseline: finding 2: \"file\" is not a string"},
      {"{\"findings\": [{\"suppressed\": \"yes\"}]}", "is not a baseline: finding 1: \"suppressed\" is not true or false"},
      {"{\"findings\": [3]}", "is not a baseline: finding 1 is not an object"},
      {"{\"runs\": [{\"results\": [{\"ruleId\": 1}]}]}", "is not a baseline: result 1: \"ruleId\" is not a string"},
  };
  for (const auto& [text, reason] : cases) {
    std::ofstream(tree_ / "base.json") << text;
    const ProgramResult run = run_program(with_job({"--baseline", "base.json", "src"}), tree_);
    EXPECT_EQ(run.status, 2) << text;
    EXPECT_EQ(run.err, "flawseek: the baseline " + (tree_ / "base.json").string() + " " + reason + "\n") << text;
    EXPECT_EQ(run.out, "");
  }
  std::filesystem::create_directory(tree_ / "folder.json");
  for (const auto& [name, reason] : {std::pair<std::string, std::string>{"folder.json", "it is a directory"},
                                     {"missing.json", "No such file or directory"}}) {
    const ProgramResult run = run_program(with_job({"--baseline", name, "src"}), tree_);
    EXPECT_EQ(run.status, 2) << name;
    EXPECT_EQ(run.err, "flawseek: cannot read the baseline " + (tree_ / name).string() + ": " + reason + "\n");
  }
}

TEST_F(MachineOutputs, FailOnChoosesTheKindsThatMakeTheExitStatusOne) {
  // The tree has bug and style findings; the exit status follows the list.
  const std::vector<std::pair<std::string, int>> cases = {
      {"style", 1}, {"bug", 1}, {"none", 0}, {"null-pointer", 1}, {"Null Pointer", 1},
      {"recursive-entry-call,style/bad-keyword", 0}, {"wrong_granularity, style/no-goto-statements", 1}};
  for (const auto& [list, status] : cases) {
    const ProgramResult run = run_program(with_job({"--fail-on", list, "src"}), tree_);
    EXPECT_EQ(run.status, status) << list;
    EXPECT_FALSE(run.out.empty()) << list;  // the findings are printed whatever the status
  }
  const ProgramResult unknown = run_program({"--fail-on", "bugs", "src"}, tree_);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.err.starts_with("flawseek: unknown finding kind 'bugs' (see --list-rules)\n")) << unknown.err;
}

// Whether iconv, which knows nothing of flawseek, decodes `text` as UTF-8.
bool decodes_as_utf8(std::string text) {
  const iconv_t decoder = ::iconv_open("UTF-32LE", "UTF-8");
  if (decoder == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = text.data();
  std::size_t in_left = text.size();
  std::string room(4 * text.size() + 4, '\0');
  char* out = room.data();
  std::size_t out_left = room.size();
  const bool decoded = ::iconv(decoder, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
  ::iconv_close(decoder);
  return decoded && in_left == 0;
}

TEST(Utf8Outputs, LatinOneSourcesAndNamesComeOutAsUtf8InEveryFormat) {
  // A Latin-1 name ("caf\xe9") and a UTF-8 one ("\xc3\xbc", kept as it is),
  // each holding a syntax error on a line with a Latin-1 letter.
  ScratchDirectory scratch;
  const std::string source =
      "procedure P is\n   C_M\xd6X : Integer := 0;\nbegin\n   if C_M\xd6X = 1 loop\n      null;\n   end if;\nend P;\n";
  std::filesystem::create_directory(scratch.path() / "src");
  testing::write_file(scratch.path() / "src/caf\xe9.adb", source);
  testing::write_file(scratch.path() / "src/\xc3\xbc.adb", source);
  const std::string line = "C_M\xc3\x96X = 1 loop";
  const std::pair<std::string, Lines> cases[] = {
      {"tree", {"caf\xc3\xa9.adb", "/\xc3\xbc.adb", line}},
      {"gnu", {"caf\xc3\xa9.adb:4:", "/\xc3\xbc.adb:4:", line}},
      {"csv", {"caf\xc3\xa9.adb,", "\n\xc3\xbc.adb,"}},
      {"text", {"caf\xc3\xa9.adb\n", "/\xc3\xbc.adb\n", line}},
      {"json", {"caf\xc3\xa9.adb\"", "/\xc3\xbc.adb\"", line}},
      {"sarif", {"caf%C3%A9.adb", "\"%C3%BC.adb\"", line}},
  };
  for (const auto& [format, fragments] : cases) {
    const ProgramResult run = run_program({"-q", "--format", format, "src"}, scratch.path());
    EXPECT_EQ(run.status, 1) << format << run.err;
    EXPECT_TRUE(decodes_as_utf8(run.out)) << format << ":\n" << run.out;
    for (const std::string& fragment : fragments) EXPECT_NE(run.out.find(fragment), std::string::npos) << format << ": " << fragment;
  }
}

TEST(CutShortCheck, ALineTooLongToAnalyseIsNotedAndFailsTheRunWhateverFailOnNames) {
  // The null pointer after the long line goes unfound; in the pair, the
  // body goes unchecked with its specification.
  ScratchDirectory scratch;
  const std::string long_line = "   X : Integer := 1" + std::string(400, ' ') + ";\n";
  std::filesystem::create_directory(scratch.path() / "src");
  testing::write_file(scratch.path() / "src/p.adb", "procedure P is\n" + long_line + "begin\n   null.all;\nend P;\n");
  testing::write_file(scratch.path() / "src/q.ads", "package Q is\n   pragma Pure;\n" + long_line + "end Q;\n");
  testing::write_file(scratch.path() / "src/q.adb", "package body Q is\nend Q;\n");
  const std::string src = (scratch.path() / "src").string();
  const std::string notes = "flawseek: " + src + "/p.adb:2: line longer than 400 characters; the rest of the file was not checked\n"
                            "flawseek: " + src + "/q.ads:3: line longer than 400 characters; the rest of the file was not "
                            "checked, nor was its body " + src + "/q.adb\n";
  for (const std::string fail_on : {"all", "none", "bug", "null-pointer"}) {
    const ProgramResult run = run_program({"--fail-on", fail_on, "--format", "gnu", "src"}, scratch.path());
    EXPECT_EQ(run.status, 1) << fail_on;
    EXPECT_TRUE(run.err.starts_with(notes)) << fail_on << ":\n" << run.err;
    EXPECT_EQ(run.out.find("null-pointer"), std::string::npos) << run.out;
  }
}

// ---------------------------------------------------------------------------
// The rule catalog
// ---------------------------------------------------------------------------

TEST_F(MachineOutputs, ListRulesAndExplainCoverEveryKind) {
  const ProgramResult list = run_program({"--list-rules"}, tree_);
  EXPECT_EQ(list.status, 0);
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    const std::string id(finding_id(kind));
    EXPECT_NE(list.out.find("\n" + id + " "), std::string::npos) << id;
    const ProgramResult explained = run_program({"--explain", id}, tree_);
    EXPECT_EQ(explained.status, 0) << id;
    EXPECT_TRUE(explained.out.starts_with(id + ": " + kind.label() + " (")) << explained.out;
    for (const char* part : {"What it detects", "Why it matters", "How to suppress it"}) {
      EXPECT_NE(explained.out.find(part), std::string::npos) << id << " " << part;
    }
  }
  // Marks name their kinds too.
  EXPECT_EQ(run_program({"--explain", "-->NP:"}, tree_).out, run_program({"--explain", "null-pointer"}, tree_).out);
  EXPECT_NE(list.out.find("null-pointer "), std::string::npos);
  EXPECT_NE(list.out.find("-->NP:"), std::string::npos);
}

TEST_F(MachineOutputs, EveryCatalogExampleTriggersItsRule) {
  const std::filesystem::path examples = scratch_.path() / "catalog";
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    const std::string_view example = rule_descriptor(kind).example;
    if (example.empty()) continue;  // an internal error has no source that makes it
    const std::string id(finding_id(kind));
    const std::filesystem::path directory = examples / std::to_string(index);
    std::filesystem::create_directories(directory);
    // Files of a several-file example open with a comment naming them.
    std::map<std::string, std::string> files;
    std::string* current = &files["example.adb"];
    std::istringstream lines{std::string(example)};
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("--  ") && (line.ends_with(".ads") || line.ends_with(".adb"))) {
        files.erase("example.adb");
        current = &files[line.substr(4)];
        continue;
      }
      *current += line + "\n";
    }
    for (const auto& [name, text] : files) std::ofstream(directory / name, std::ios::binary) << text;
    // The extended rule book for the kinds the example's style command does
    // not switch on; the kinds a rule book leaves to the user, selected.
    const ProgramResult run =
        run_program({"-q", "--style", "all", "--style-set", "user_95", "--list-unchecked-style", "--format", "json",
                     directory.string()},
                    scratch_.path());
    bool found = false;
    const nlohmann::json document = nlohmann::json::parse(run.out);
    for (const nlohmann::json& finding : document["findings"]) found |= finding["id"] == id;
    EXPECT_TRUE(found) << id << "\n" << example << "\n" << run.out;
  }
}

}  // namespace
}  // namespace flawseek
