// The flawseek program end to end, on copies of the fixture trees: reports and
// output formats against expected files, exit statuses, roots and patterns,
// the pairing of specifications and bodies, read-only files, unreadable
// files, unwritable reports and Ctrl-C.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <thread>
#include <vector>

#include "../support/environment_variable.h"
#include "../support/log_messages.h"
#include "findings/finding.h"
#include "findings/finding_id.h"
#include "program_runner.h"
#include "program_texts.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::read_file;
using testing::replace_all;
using testing::run_program;
using testing::ScratchDirectory;
using Lines = std::vector<std::string>;

std::filesystem::path expected_file(const std::string& tree, const std::string& name) {
  return std::filesystem::path(FLAWSEEK_FIXTURES) / "trees" / tree / "expected" / name;
}

// The expected text with the tree's place and the build's facts filled in.
std::string expected_text(const std::string& tree, const std::string& name, const std::filesystem::path& root) {
  std::string text = read_file(expected_file(tree, name));
  replace_all(text, "@ROOT@", root.string());
  replace_all(text, "@VERSION@", FLAWSEEK_EXPECTED_VERSION);
  const std::string version = version_text();
  const std::size_t line_end = version.find('\n');
  replace_all(text, "@COPYRIGHT@", version.substr(line_end + 1, version.size() - line_end - 2));
  return text;
}

// The plain-text report with its date left out: the first line keeps its
// frame and gets the placeholder instead of the local date and time.
std::string without_date(std::string report) {
  const std::string opening = "Report created on ";
  const std::size_t by = report.find(" by ");
  if (report.starts_with(opening) && by != std::string::npos && by < report.find('\n')) {
    report.replace(opening.size(), by - opening.size(), "@DATE_AND_TIME@");
  }
  return report;
}

// The messages of the log's "Check:" and "Prepare:" records, in order, with
// the root left out.
Lines analysis_records(const std::filesystem::path& log, const std::filesystem::path& root) {
  Lines records;
  for (std::string message : testing::log_messages(log)) {
    if (!message.starts_with("Check: ") && !message.starts_with("Prepare: ")) continue;
    replace_all(message, root.string() + "/", "");
    records.push_back(message);
  }
  return records;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(testing::flawseek_program()));
    ASSERT_FALSE(scratch_.path().empty());
  }
  ScratchDirectory scratch_;
};

// ---------------------------------------------------------------------------
// Findings, reports and output formats
// ---------------------------------------------------------------------------

TEST_F(EndToEnd, ReportsAndTreeMatchTheExpectedFiles) {
  const auto tree = scratch_.copy_tree("findings");
  const auto root = tree / "src";
  const ProgramResult csv = run_program({"--report", "findings.csv", "src"}, tree);
  EXPECT_EQ(csv.status, 1) << csv.err;
  EXPECT_EQ(read_file(tree / "findings.csv"), expected_text("findings", "report.csv", root));
  EXPECT_EQ(csv.out, expected_text("findings", "tree.txt", root));
  EXPECT_EQ(csv.err, " 3 potential bugs found in search of 5 files\n");

  const ProgramResult text = run_program({"-q", "--report", "findings.txt", "src"}, tree);
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(without_date(read_file(tree / "findings.txt")), expected_text("findings", "report.txt", root));
  EXPECT_EQ(text.err, "");
}

TEST_F(EndToEnd, StandardOutputCarriesTheReportFormatsToo) {
  const auto tree = scratch_.copy_tree("findings");
  const auto root = tree / "src";
  const ProgramResult csv = run_program({"-q", "--format", "csv", "src"}, tree);
  EXPECT_EQ(csv.out, expected_text("findings", "report.csv", root));
  const ProgramResult text = run_program({"-q", "--format=text", "src"}, tree);
  EXPECT_EQ(without_date(text.out), expected_text("findings", "report.txt", root));
}

TEST_F(EndToEnd, AnUpperCaseCsvExtensionStillWritesTheTable) {
  const auto tree = scratch_.copy_tree("findings");
  const ProgramResult run = run_program({"-q", "--report", "out.CSV", "src"}, tree);
  EXPECT_EQ(read_file(tree / "out.CSV"), expected_text("findings", "report.csv", tree / "src"));
  const ProgramResult text = run_program({"-q", "--report", "out.csv.txt", "src"}, tree);
  EXPECT_TRUE(read_file(tree / "out.csv.txt").starts_with("Report created on "));
}

TEST_F(EndToEnd, GnuLinesShowMarksAndUncheckedFiles) {
  const auto tree = scratch_.copy_tree("findings");
  const auto root = tree / "src";
  const ProgramResult run = run_program(
      {"-q", "--style", "superfluous_code_mark", "--list-unchecked-style", "--format", "gnu", "--report", "m.csv", "src"},
      tree);
  EXPECT_EQ(run.status, 1);
  // The honoured mark hides the unreachable statement of marks.adb; the
  // other mark had nothing to hide; the file with a style command is checked.
  EXPECT_EQ(run.out, expected_text("findings", "marks.gnu", root));
  EXPECT_EQ(read_file(tree / "m.csv"), expected_text("findings", "marks.csv", root));
}

TEST_F(EndToEnd, NothingFoundExitsWithZeroAndAnEmptyTable) {
  const auto tree = scratch_.copy_tree("pairing");
  const ProgramResult run = run_program({"--format", "csv", "--report", "r.csv", "src"}, tree);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(read_file(tree / "r.csv"), "");
  EXPECT_EQ(run.err, " 0 potential bugs found in search of 9 files\n");
}

// ---------------------------------------------------------------------------
// Roots and the pairing of files
// ---------------------------------------------------------------------------

TEST_F(EndToEnd, SpecificationsAndBodiesArePairedByTheirNames) {
  const auto tree = scratch_.copy_tree("pairing");
  const ProgramResult run = run_program({"--preparation-phase", "--log", "trace.log", "src"}, tree);
  EXPECT_EQ(run.status, 0) << run.err;
  // a_.ada gives way to a_.adq, so a.ada (whose specification a_.ada exists)
  // is analysed by no one; notes.txt is no Ada source.
  const Lines expected = {"Prepare: a_.adq",           "Prepare: b_.ada",
                          "Prepare: c_.adq",           "Prepare: x.ads",
                          "Prepare: sub/y.ads",        "Check: a_.adq",
                          "Check: b_.ada & b.ada",     "Check: c_.adq & c.adq",
                          "Check: lone.adb",           "Check: x.ads & x.adb",
                          "Check: sub/y.ads"};
  EXPECT_EQ(analysis_records(tree / "trace.log", tree / "src"), expected);
}

TEST_F(EndToEnd, NoSubfoldersSearchesTheRootDirectoryOnly) {
  const auto tree = scratch_.copy_tree("pairing");
  const ProgramResult run = run_program({"--no-subfolders", "src"}, tree);
  EXPECT_EQ(run.err, " 0 potential bugs found in search of 8 files\n");
}

TEST_F(EndToEnd, APatternRootPicksFilesAtEveryLevel) {
  const auto tree = scratch_.copy_tree("pairing");
  // Relative to the current directory, like every relative root.
  const ProgramResult run = run_program({"--log", "trace.log", "src/*.ads"}, tree);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(analysis_records(tree / "trace.log", tree / "src"), (Lines{"Check: x.ads & x.adb", "Check: sub/y.ads"}));
  EXPECT_EQ(run.err, " 0 potential bugs found in search of 3 files\n");

  const ProgramResult one = run_program({"--log", "one.log", "--no-subfolders", "src/lone.adb"}, tree);
  EXPECT_EQ(analysis_records(tree / "one.log", tree / "src"), (Lines{"Check: lone.adb"}));

  // A final "/" names the directory itself.
  const ProgramResult slash = run_program({"src/"}, tree);
  EXPECT_EQ(slash.err, " 0 potential bugs found in search of 9 files\n");
}

TEST_F(EndToEnd, TheDefaultRootIsTheCurrentDirectory) {
  const auto tree = scratch_.copy_tree("findings");
  const ProgramResult run = run_program({"-q", "--format", "csv"}, tree / "src");
  EXPECT_EQ(run.out, expected_text("findings", "report.csv", tree / "src"));
}

TEST_F(EndToEnd, ReadOnlyFilesAreSkippedAndCounted) {
  const auto tree = scratch_.copy_tree("pairing");
  // A read-only specification still goes with its writable body.
  std::filesystem::permissions(tree / "src/x.ads", std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::group_read |
                                                       std::filesystem::perms::others_read);
  std::filesystem::permissions(tree / "src/lone.adb", std::filesystem::perms::owner_read);
  const ProgramResult run = run_program({"--skip-read-only", "--log", "trace.log", "src"}, tree);
  EXPECT_EQ(run.status, 0) << run.err;
  const Lines records = analysis_records(tree / "trace.log", tree / "src");
  EXPECT_NE(std::find(records.begin(), records.end(), "Check: x.ads & x.adb"), records.end());
  EXPECT_EQ(std::find(records.begin(), records.end(), "Check: lone.adb"), records.end());
  EXPECT_EQ(run.err, " 0 potential bugs found in search of 8 files ( 1 Read-Only file skipped )\n");

  const ProgramResult all = run_program({"src"}, tree);
  EXPECT_EQ(all.err, " 0 potential bugs found in search of 9 files\n");
}

// ---------------------------------------------------------------------------
// Trouble: usage, roots, reference paths, unreadable files, reports
// ---------------------------------------------------------------------------

TEST_F(EndToEnd, ARootThatNamesNothingIsAnError) {
  const auto tree = scratch_.copy_tree("findings");
  for (const char* root : {"missing", "src/missing", "src/nothing_like_it"}) {
    const ProgramResult run = run_program({"--report", "r.csv", root}, tree);
    EXPECT_EQ(run.status, 2) << root;
    EXPECT_EQ(run.err, "flawseek: File or Root Directory not found: " + std::string(root) + "\n") << root;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(tree / "r.csv"));
}

TEST_F(EndToEnd, AnInvalidReferencePathIsAnError) {
  const auto tree = scratch_.copy_tree("findings");
  const ProgramResult run =
      run_program({"--relaxed-styles", "--reference-path", "src;no/such/dir", "src"}, tree);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "flawseek: Invalid directory found in reference path\nflawseek: not a directory: no/such/dir\n");

  const ProgramResult alone = run_program({"--reference-path", "src", "src"}, tree);
  EXPECT_EQ(alone.status, 2);
  EXPECT_TRUE(alone.err.starts_with("flawseek: option '--reference-path' has no effect without '--relaxed-styles'\n"))
      << alone.err;
  EXPECT_EQ(alone.out, "");

  const ProgramResult valid = run_program({"-q", "--relaxed-styles", "--reference-path", " src/* ; src ", "src"}, tree);
  EXPECT_EQ(valid.status, 1) << valid.err;
}

// The "relaxed" tree: the units of src use a vendor's specification that
// lies two levels below specs/ and spells its names its own way. Both carry
// aspects, and shop.ads names the vendor's unit in a private with.
TEST_F(EndToEnd, RelaxedStylesAcceptTheSpellingsOfTheWithedSpecificationsOnly) {
  const auto tree = scratch_.copy_tree("relaxed");
  const ProgramResult run =
      run_program({"--relaxed-styles", "--reference-path", "specs/*", "--log", "trace.log", "--format", "gnu", "src"},
                  tree);
  ASSERT_EQ(run.status, 1) << run.err;
  Lines survey;
  for (std::string message : testing::log_messages(tree / "trace.log")) {
    replace_all(message, (tree / "src").string() + "/", "");
    for (const char* opening : {"Tavik_Unit.", "Irregular ", "NQS: ", "Check: "}) {
      if (message.starts_with(opening)) survey.push_back(message);
    }
  }
  EXPECT_EQ(survey, (Lines{
                        // A library subprogram body is a unit of its own.
                        "Tavik_Unit.Analyse (runner.adb, )",
                        "Irregular Specification Name => getPrice",
                        "Check: runner.adb",
                        // A pair: the body's list holds the specification's too.
                        "Tavik_Unit.Analyse (shop.adb, )",
                        "Irregular Specification Name => xmlNode",
                        "Irregular Implementation Name => xmlNode",
                        "Irregular Implementation Name => getPrice",
                        "Check: shop.ads & shop.adb",
                        // A package body whose specification is nowhere.
                        "Tavik_Unit.Analyse (tool.adb, )",
                        "NQS: Specification for \"tool.adb\" not found!",
                        "Check: tool.adb",
                    }));
  // The check accepts what the survey found: getPrice and, in the pair,
  // xmlNode pass; myCount and tempValue are declared nowhere in that form;
  // tool.adb, without a specification, gains nothing. (The other rules of
  // TAVIK have their say too; this test is about the spellings alone.)
  const auto spelling_findings = [&](const std::string& out) {
    std::string kept;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      if (!line.ends_with(" [style/bad-identifier]")) continue;
      // The message names the word and its spelling: only the place and the line are compared.
      const std::size_t message = line.find(": (style) identifier `");
      const std::size_t message_end = line.find("`: ", message);
      if (message != std::string::npos && message_end != std::string::npos) line.erase(message + 2, message_end + 1 - message);
      kept += line + "\n";
    }
    replace_all(kept, "src/", "");
    replace_all(kept, " [style/bad-identifier]", "");
    return kept;
  };
  const std::string findings = spelling_findings(run.out);
  EXPECT_EQ(findings,
            "runner.adb:6:4: tempValue : constant Integer := Price;\n"
            "runner.adb:8:7: if tempValue > 0 then\n"
            "shop.adb:4:7: myCount : constant Integer := Vendor_API.getPrice (Integer (Node));\n"
            "shop.adb:6:14: return myCount;\n"
            "tool.adb:5:4: lastNode : Vendor_API.xmlNode := 0;\n"
            "tool.adb:5:26: lastNode : Vendor_API.xmlNode := 0;\n");

  // Without the reference path nothing is accepted: three more findings.
  const ProgramResult strict =
      run_program({"--relaxed-styles", "--log", "strict.log", "--format", "gnu", "src"}, tree);
  ASSERT_EQ(strict.status, 1) << strict.err;
  for (const std::string& message : testing::log_messages(tree / "strict.log")) {
    EXPECT_FALSE(message.starts_with("Irregular ")) << message;
  }
  const std::string strict_findings = spelling_findings(strict.out);
  EXPECT_EQ(std::count(strict_findings.begin(), strict_findings.end(), '\n'), 9) << strict.out;
  EXPECT_NE(strict.out.find("shop.adb:4:48: (style) identifier `getPrice` must be `Getprice`: "), std::string::npos) << strict.out;
}

TEST_F(EndToEnd, AJsonReportAndABaselineBesideTheTreeSayWhatAStyleRuleWants) {
  // The tree shows no style finding's words; the files written beside it do.
  const auto root = scratch_.path() / "src";
  std::filesystem::create_directories(root);
  std::ofstream(root / "m.adb") << "procedure M is\nBEGIN\n   null;\nend M;\n";
  const ProgramResult run =
      run_program({"-q", "--style-set", "TAVIK", "--report", "r.json", "--write-baseline", "b.sarif", "src"}, scratch_.path());
  EXPECT_EQ(run.status, 0) << run.err;  // writing a baseline is bookkeeping
  for (const char* file : {"r.json", "b.sarif"}) {
    EXPECT_NE(read_file(scratch_.path() / file).find("reserved word `BEGIN` must be `begin`"), std::string::npos) << file;
  }
}

// --settings starts from the window's stored job: without a ROOT its Search
// Root, and its List Unchecked Style. (The store reads the user's file, or
// the machine's when the program runs as a service: both name one file here.)
TEST_F(EndToEnd, SettingsReproduceTheWindowsJob) {
  const auto tree = scratch_.copy_tree("findings");
  const auto registry = scratch_.path() / "registry.json";
  std::ofstream(registry) << nlohmann::json{{"Software", {{"Brightmoor", {{"Flawseek", {{"Search Root", (tree / "src").string()},
                                                                              {"Options", {{"List Unchecked Style", 1}}}}}}}}}}
                                 .dump();
  const testing::EnvironmentVariable user("FLAWSEEK_USER_REGISTRY", registry.c_str());
  const testing::EnvironmentVariable machine("FLAWSEEK_MACHINE_REGISTRY", registry.c_str());
  const std::string before = read_file(registry);
  const ProgramResult run = run_program({"--settings", "--format", "gnu"}, scratch_.path());
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.out.find((tree / "src").string() + "/shapes.adb:"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("[style/no-style-checks]"), std::string::npos) << run.out;
  EXPECT_EQ(read_file(registry), before);  // read, never written
}

TEST_F(EndToEnd, UsageErrorsExitWithTwo) {
  const auto tree = scratch_.copy_tree("findings");
  for (const Lines& arguments : {Lines{"--format", "xml"}, Lines{"--no-such-flag"}, Lines{"a", "b"}, Lines{"--report"}}) {
    const ProgramResult run = run_program(arguments, tree);
    EXPECT_EQ(run.status, 2) << arguments.front();
    EXPECT_TRUE(run.err.starts_with("flawseek: ")) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(EndToEnd, AFileThatCannotBeReadIsAnInternalErrorAndTheSearchGoesOn) {
  if (!std::filesystem::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc";
  const auto tree = scratch_.copy_tree("pairing");
  // Reading this file fails even for root: nothing is mapped at its offset 0.
  std::filesystem::create_symlink("/proc/self/mem", tree / "src/mem.adb");
  // A link to nothing cannot be read either: the same finding, and counted.
  std::filesystem::create_symlink("gone.adb", tree / "src/dangling.adb");
  // A body whose specification cannot be read is checked alone: its with
  // clause and its unit are not unused for want of a specification.
  std::filesystem::create_symlink("/proc/self/mem", tree / "src/pair.ads");
  std::ofstream(tree / "src/pair.adb") << "with Ada.Text_IO;\npackage body Pair is\n   procedure Run is\n   begin\n"
                                          "      null;\n   end Run;\nend Pair;\n";
  const ProgramResult run = run_program({"--format", "gnu", "src"}, tree);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out,
            "src/dangling.adb:1:1: error: cannot read the file: No such file or directory [internal-error]\n"
            "src/mem.adb:1:1: error: cannot read the file: Input/output error [internal-error]\n"
            "src/pair.ads:1:1: error: cannot read the file: Input/output error [internal-error]\n");
  EXPECT_TRUE(run.err.ends_with(" 0 potential bugs found in search of 13 files, 3 paths could not be read\n")) << run.err;
}

// An output never replaces a source of the run, nor a file a planted link
// points at; the run stops before it writes anything, and both stay.
TEST_F(EndToEnd, AnOutputOverASourceOrThroughALinkToAFileIsRefused) {
  const auto tree = scratch_.copy_tree("findings");
  std::ofstream(tree / "precious.txt") << "keep me";
  std::filesystem::create_symlink(tree / "precious.txt", tree / "link.json");
  std::filesystem::create_symlink(tree / "nothing.txt", tree / "dangling.log");
  const std::string source = read_file(tree / "src/broken.adb");
  const char* link = "it is a symbolic link (name the file itself)";
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"--report", "src/broken.adb", "it is an Ada source, which the run reads"},
      {"--write-baseline", "link.json", link},
      {"--log", "dangling.log", link},
  };
  for (const auto& [option, path, reason] : cases) {
    const ProgramResult run = run_program({option, path, "src"}, tree);
    EXPECT_EQ(run.status, 2) << option;
    EXPECT_EQ(run.err, "flawseek: will not write " +
                           std::string(option == "--report" ? "the report" : option == "--log" ? "the log" : "the baseline") +
                           " to " + path + ": " + reason + "\n");
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(read_file(tree / "src/broken.adb"), source);
  EXPECT_EQ(read_file(tree / "precious.txt"), "keep me");
  EXPECT_FALSE(std::filesystem::exists(tree / "nothing.txt"));
  // A link to a device is written through: the report goes where it points.
  const ProgramResult device = run_program({"-q", "--report", "/dev/stdout", "--format", "gnu", "src"}, tree);
  EXPECT_EQ(device.status, 1) << device.err;
  EXPECT_NE(device.out.find("Report created on "), std::string::npos) << device.out;
}

TEST_F(EndToEnd, AReportThatCannotBeWrittenIsAnErrorButTheFindingsArePrinted) {
  const auto tree = scratch_.copy_tree("findings");
  // A folder that is missing is made; one that cannot be (a file is in the
  // way) fails the run, which still prints the findings.
  ASSERT_EQ(run_program({"-q", "--report", "build/reports/r.csv", "src"}, tree).status, 1);
  EXPECT_TRUE(std::filesystem::exists(tree / "build/reports/r.csv"));
  std::ofstream(tree / "blocker") << "a file\n";
  const ProgramResult run = run_program({"--report", "blocker/r.txt", "src"}, tree);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, expected_text("findings", "tree.txt", tree / "src"));
  EXPECT_NE(run.err.find("flawseek: cannot create the folder "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("blocker/r.txt: Not a directory"), std::string::npos) << run.err;
}

TEST_F(EndToEnd, FindingsThatCannotBeWrittenAreAnError) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const auto tree = scratch_.copy_tree("findings");
  const ProgramResult run = run_program({"--format", "csv", "--report", "kept.csv", "src"}, tree, {}, "/dev/full");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("flawseek: cannot write the findings to standard output\n"), std::string::npos) << run.err;
  // The report does not depend on standard output.
  EXPECT_EQ(read_file(tree / "kept.csv"), expected_text("findings", "report.csv", tree / "src"));
}

TEST_F(EndToEnd, EveryAnswerThatCannotBeWrittenIsAnError) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const auto tree = scratch_.copy_tree("findings");
  for (const char* action : {"--help", "--version", "--show-job"}) {
    const ProgramResult run = run_program({action}, tree, {}, "/dev/full");
    EXPECT_EQ(run.status, 2) << action;
    EXPECT_EQ(run.err, "flawseek: cannot write to standard output\n") << action;
  }
}

// A closed standard output must not let the log take its descriptor: the
// findings would be written into the log and the run would pass for clean.
TEST_F(EndToEnd, AClosedStandardOutputIsAnErrorAndTheLogKeepsOnlyTheTrace) {
  const auto tree = scratch_.copy_tree("findings");
  const ProgramResult run = run_program({"--log", "trace.log", "--format", "gnu", "src"}, tree, {}, testing::closed_output);
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("flawseek: cannot write the findings to standard output\n"), std::string::npos) << run.err;
  const std::string trace = read_file(tree / "trace.log");
  EXPECT_NE(trace.find("Flawseek Started"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("Code Not Reachable"), std::string::npos) << trace;
}

TEST_F(EndToEnd, ALogThatCannotBeCreatedIsReportedAndTheRunGoesOn) {
  const auto tree = scratch_.copy_tree("findings");
  const ProgramResult run = run_program({"--log", "no/such/dir/trace.log", "--format", "csv", "src"}, tree);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, expected_text("findings", "report.csv", tree / "src"));
  EXPECT_NE(run.err.find("trace.log"), std::string::npos) << run.err;
}

// ---------------------------------------------------------------------------
// The bundled examples
// ---------------------------------------------------------------------------

TEST_F(EndToEnd, TheExamplesShowEveryRuleThatWorks) {
  const std::filesystem::path examples = std::filesystem::canonical(FLAWSEEK_EXAMPLES_DIR);
  const std::string root = "examples/src";  // the ROOT is given relative
  const ProgramResult run = run_program({"-q", "--style", "superfluous_code_mark", "--format", "gnu", "examples"},
                                        examples.parent_path());
  EXPECT_EQ(run.status, 1) << run.err;
  // More rules may add findings to these files; these must stay.
  for (const std::string& line :
       {root + "/tally.ada:7:16: error: then expected: if Count > 2 [syntax-error]",
        root + "/vectors.adb:15:7: warning: statement is never reached: Result := 0; [code-not-reachable]",
        root + "/marks.adb:16:24: (style) suppression mark suppresses nothing [style/superfluous-code-mark]"}) {
    EXPECT_NE(run.out.find(line + "\n"), std::string::npos) << line << "\n" << run.out;
  }
  EXPECT_NE(run.out.find(root + "/vectors.ads:11:"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(" [illogical-operator-rename]\n"), std::string::npos) << run.out;
  // The honoured mark hides the unreachable statement in marks.adb.
  EXPECT_EQ(run.out.find(root + "/marks.adb:11:"), std::string::npos) << run.out;
  // Every bug kind but the internal error has its example.
  for (int index = 1; index < bug_kind_count; ++index) {
    const std::string id(finding_id(static_cast<BugKind>(index)));
    EXPECT_NE(run.out.find(" [" + id + "]\n"), std::string::npos) << id << "\n" << run.out;
  }
  // And every style kind, with all of them selected.
  const ProgramResult styled =
      run_program({"-q", "--style", "all", "--list-unchecked-style", "--format", "gnu", "examples"},
                  examples.parent_path());
  EXPECT_EQ(styled.status, 1) << styled.err;
  for (int index = 0; index < style_kind_count; ++index) {
    const std::string id(finding_id(static_cast<StyleKind>(index)));
    EXPECT_NE(styled.out.find(" [" + id + "]\n"), std::string::npos) << id << "\n" << styled.out;
  }
}

// ---------------------------------------------------------------------------
// Ctrl-C
// ---------------------------------------------------------------------------

TEST_F(EndToEnd, CtrlCTermAndHangUpStopTheSearchAndTheReportHoldsWhatWasFound) {
  // A tree big enough that the search is still running when the signal comes.
  const auto root = scratch_.path() / "many";
  std::filesystem::create_directories(root);
  const std::string body = read_file(std::filesystem::path(FLAWSEEK_FIXTURES) / "trees/findings/src/broken.adb");
  for (int number = 0; number < 10000; ++number) {
    std::string name = "p";  // built step by step: GCC 12 warns falsely on "p" + ...
    name += std::to_string(number);
    name += ".adb";
    std::ofstream(root / name) << body;
  }
  const auto log = scratch_.path() / "trace.log";
  // Each signal with other outputs: every one of them says the search stopped.
  struct Case {
    int signal;
    const char* format;
    const char* report;
  };
  for (const Case& c : {Case{SIGINT, "csv", "r.csv"}, Case{SIGTERM, "json", "r.sarif"}, Case{SIGHUP, "text", "r.txt"}}) {
    std::filesystem::remove(log);
    const ProgramResult run =
        run_program({"--log", log.string(), "--format", c.format, "--report", c.report, root.string()}, scratch_.path(),
                    [&](pid_t child) {
                      // The first file's record says the search is under way.
                      for (int tries = 0; tries < 2000 && read_file(log).find("Check: ") == std::string::npos; ++tries) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                      }
                      ::kill(child, c.signal);
                    });
    EXPECT_EQ(run.status, 130) << c.signal << run.err;
    EXPECT_TRUE(run.err.ends_with("Search aborted by user\n")) << c.signal << run.err;
    const std::string saved = read_file(scratch_.path() / c.report);
    const auto lines = std::count(saved.begin(), saved.end(), '\n');
    EXPECT_GT(lines, 1) << c.signal;
    if (c.signal == SIGINT) {
      // Every finding so far is printed and saved, and there are fewer than all.
      EXPECT_EQ(saved, run.out);
      EXPECT_LT(lines, 10001);
    } else if (c.signal == SIGTERM) {
      EXPECT_EQ(nlohmann::json::parse(run.out)["complete"], false);
      const nlohmann::json sarif = nlohmann::json::parse(saved);
      EXPECT_EQ(sarif["runs"][0]["invocations"][0]["executionSuccessful"], false);
      EXPECT_FALSE(sarif["runs"][0]["invocations"][0]["toolExecutionNotifications"].empty());
    } else {
      const std::string stopped = "Search stopped before its end: the files not reached are not in these findings.\n";
      EXPECT_TRUE(run.out.ends_with(stopped)) << run.out.substr(run.out.size() > 200 ? run.out.size() - 200 : 0);
      EXPECT_TRUE(saved.ends_with(stopped));
    }
  }
}

}  // namespace
}  // namespace flawseek
