// --fix and --diff from the command line: every fixable kind mended as its
// fixture's twin says, the diff that patch applies to the same result, a
// second run that changes nothing, the files that must stay untouched, and
// the mends the machine-readable outputs carry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "program_runner.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::run_program;
using testing::ScratchDirectory;
using testing::write_file;

const fs::path fix_fixtures = fs::path(FLAWSEEK_FIXTURES) / "fix";
const char* const fixture_names[] = {"letter_case.adb", "end_names.adb", "package_names.adb"};

fs::path copy_fix_fixtures(const ScratchDirectory& scratch, const std::string& name) {
  const fs::path tree = scratch.path() / name;
  fs::create_directories(tree);
  for (const char* file : fixture_names) fs::copy_file(fix_fixtures / file, tree / file);
  return tree;
}

TEST(FixCommand, MendsEveryFixableKindAsItsTwinSaysAndTheDiffPatchesTheSame) {
  ScratchDirectory scratch;
  const fs::path tree = copy_fix_fixtures(scratch, "tree");
  fs::permissions(tree / "letter_case.adb", fs::perms(0640));

  const auto diff = run_program({"--diff", "."}, tree);
  EXPECT_EQ(diff.status, 1) << diff.err;
  EXPECT_NE(diff.err.find("would fix 30 findings in 3 files; 3 would remain"), std::string::npos) << diff.err;
  for (const char* file : fixture_names) {
    EXPECT_EQ(read_file(tree / file), read_file(fix_fixtures / file)) << "--diff wrote " << file;
    EXPECT_NE(diff.out.find(std::string("--- ") + file + "\n+++ " + file + "\n"), std::string::npos) << file;
  }

  const auto fixed = run_program({"--fix", "--format", "gnu", "."}, tree);
  EXPECT_EQ(fixed.status, 1) << fixed.err;  // three findings remain that no fix removes
  EXPECT_NE(fixed.err.find("fixed 30 findings in 3 files; 3 remain"), std::string::npos) << fixed.err;
  EXPECT_NE(fixed.err.find("  style/identifier-missing: 7 fixed, 0 remain\n"), std::string::npos) << fixed.err;
  EXPECT_EQ(fixed.out.find("[style/bad-keyword]"), std::string::npos) << fixed.out;
  EXPECT_NE(fixed.out.find("[style/bad-prefix]"), std::string::npos) << fixed.out;
  for (const char* file : fixture_names) {
    EXPECT_EQ(read_file(tree / file), read_file(fix_fixtures / (std::string(file) + ".fixed"))) << file;
  }
  EXPECT_EQ(fs::status(tree / "letter_case.adb").permissions(), fs::perms(0640));

  const auto again = run_program({"--fix", "--format", "gnu", "."}, tree);
  EXPECT_NE(again.err.find("fixed 0 findings in 0 files; 3 remain"), std::string::npos) << again.err;
  EXPECT_EQ(again.out, fixed.out);

  if (std::system("command -v patch >/dev/null 2>&1") != 0) GTEST_SKIP() << "no patch program";
  const fs::path patched = copy_fix_fixtures(scratch, "patched");
  write_file(scratch.path() / "fix.diff", diff.out);
  const std::string command = "cd '" + patched.string() + "' && patch -s -p0 < ../fix.diff";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* file : fixture_names) EXPECT_EQ(read_file(patched / file), read_file(tree / file)) << file;
}

TEST(FixCommand, LeavesReadOnlyAndBrokenFilesAloneAndFixesOnlyWhatIsSelected) {
  ScratchDirectory scratch;
  const fs::path tree = scratch.path() / "tree";
  fs::create_directories(tree);
  const std::string body = "-->STYLE: TAVIK\nprocedure P is\n   total_count : INTEGER := 0;\nBEGIN\n   null;\nend P;\n";
  const std::string broken = "-->STYLE: TAVIK\nprocedure Q is\nBEGIN\n   if then;\nend Q;\n";
  // Carriage returns and no final line end come through as they were.
  const std::string dos = "-->STYLE: TAVIK\r\nprocedure R is\r\nBEGIN\r\n   null;\r\nend R;";
  write_file(tree / "p.adb", body);
  write_file(tree / "q.adb", broken);
  write_file(tree / "r.adb", dos);
  write_file(tree / "s.adb", body);
  fs::permissions(tree / "s.adb", fs::perms(0444));

  const auto run = run_program({"--fix", "--select", "style/bad-keyword", "--format", "gnu", "."}, tree);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("flawseek: q.adb: not fixed: it has a syntax error\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("flawseek: s.adb: not fixed: the file is read-only\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("fixed 2 findings in 2 files; 2 remain"), std::string::npos) << run.err;
  std::string expected = body;
  testing::replace_all(expected, "BEGIN", "begin");
  EXPECT_EQ(read_file(tree / "p.adb"), expected);  // the identifier was not selected
  std::string expected_dos = dos;
  testing::replace_all(expected_dos, "BEGIN", "begin");
  EXPECT_EQ(read_file(tree / "r.adb"), expected_dos);
  EXPECT_EQ(read_file(tree / "q.adb"), broken);
  EXPECT_EQ(read_file(tree / "s.adb"), body);
  // The syntax error was looked for, not selected: it is not shown.
  EXPECT_EQ(run.out.find("syntax-error"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("q.adb:3:1:"), std::string::npos) << run.out;
}

TEST(FixOutputs, JsonAndSarifCarryTheReplacementAndItsRange) {
  ScratchDirectory scratch;
  const fs::path tree = copy_fix_fixtures(scratch, "tree");
  const auto json_run = run_program({"--format", "json", "end_names.adb"}, tree);
  const auto document = nlohmann::json::parse(json_run.out);
  int fixes = 0;
  for (const auto& finding : document["findings"]) {
    if (!finding.contains("fix")) {
      EXPECT_EQ(finding["id"], "style/handle-task-exceptions");
      continue;
    }
    ++fixes;
    const auto& fix = finding["fix"];
    EXPECT_EQ(fix["line"], finding["line"]);
    EXPECT_EQ(fix["column"], finding["column"]);
    if (finding["id"] == "style/identifier-missing" && finding["line"] == 13) {
      EXPECT_EQ(fix["replacement"], " Run");
      EXPECT_EQ(fix["endColumn"], fix["column"]);
    }
  }
  EXPECT_EQ(fixes, 8);  // seven end names and an Integer upper-cased

  const auto sarif_run = run_program({"--format", "sarif", "letter_case.adb"}, tree);
  const auto log = nlohmann::json::parse(sarif_run.out);
  bool keyword_seen = false;
  for (const auto& result : log["runs"][0]["results"]) {
    if (result["ruleId"] != "style/bad-keyword" || result["locations"][0]["physicalLocation"]["region"]["startLine"] != 7)
      continue;
    if (keyword_seen) break;
    keyword_seen = true;
    const auto& replacement = result["fixes"][0]["artifactChanges"][0]["replacements"][0];
    EXPECT_EQ(replacement["deletedRegion"], nlohmann::json({{"startLine", 7}, {"startColumn", 1}, {"endColumn", 10}}));
    EXPECT_EQ(replacement["insertedContent"]["text"], "procedure");
    EXPECT_EQ(result["fixes"][0]["artifactChanges"][0]["artifactLocation"]["uri"], "letter_case.adb");
  }
  EXPECT_TRUE(keyword_seen);
}

}  // namespace
}  // namespace flawseek
