// The bug checker as the per-file driver uses it: finding texts and places,
// failures that reach the driver, hostile input, and two checkers that never
// share state, used alternately or on two threads at once.
#include "bugcheck/bug_checker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../corpus/corpus_lines.h"
#include "../support/file_text.h"
#include "../support/temporary_directory.h"
#include "check_test_support.h"
#include "frontend/text_parser.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryDirectory;
using testing::write_file;
using testing_support::ChecksOffChecker;
using testing_support::RecordedFinding;
using testing_support::RecordingSink;
using testing_support::UnitFile;
using testing_support::UnitSettings;

UnitFile in_memory(std::string name, std::string text) { return {std::move(name), true, std::move(text)}; }

std::vector<RecordedFinding> check_alone(const std::vector<UnitFile>& files, const UnitSettings& settings) {
  RecordingSink sink(true);
  BugChecker checker;
  checker.start(0);
  testing_support::check_unit(checker, sink, files, settings);
  return sink.findings;
}

UnitSettings superfluous_marks_on() {
  UnitSettings settings;
  settings.scan.report_superfluous_marks = true;
  return settings;
}

TEST(BugChecker, AFindingCarriesTheTextOfItsLineWithoutTheComment) {
  const auto findings = check_alone(
      {in_memory("a.adb",
                 "procedure A is\n"
                 "begin\n"
                 "   loop\n"
                 "      exit;\tX := 1;  -- the comment is cut\n"
                 "   end loop;\n"
                 "end A;\n")},
      {});
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].kind, FindingKind(BugKind::CODE_NOT_REACHABLE));
  EXPECT_EQ(findings[0].line, 4);
  EXPECT_EQ(findings[0].column, 13);
  // The tab became a blank (a tab would stay), the comment is gone, and the
  // blanks are collapsed as every reason's are.
  EXPECT_EQ(findings[0].reason, "exit; X := 1;");
  EXPECT_EQ(findings[1].kind, FindingKind(StyleKind::NO_STYLE_CHECKS));
}

TEST(BugChecker, ATooLongLineIsQuotedUpTo410Characters) {
  const std::string line = "   X := 1; Y := " + std::string(590, '1') + ";--" + std::string(100, 'c');
  const auto findings = check_alone(
      {in_memory("a.adb", "procedure A is\nbegin\n" + line + "\n   return; X := 1;\nend A;\n")}, {});
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].kind, FindingKind(StyleKind::LINE_TOO_LONG));
  EXPECT_EQ(findings[0].line, 3);
  EXPECT_EQ(findings[0].column, 400);
  // Collapsed, the quote loses only its indentation.
  EXPECT_EQ(findings[0].reason, line.substr(3, 407));
}

TEST(BugChecker, CrLfLineEndsReadLikeLfLineEnds) {
  const std::string lf =
      "procedure A is\n-->STYLE: BRIGHTMOOR\nbegin\n   loop\n      exit; X := 1; -->NP: x\n   end loop;\nend;\n";
  std::string crlf;
  for (char c : lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  // A 400-character line stays within the limit whatever its line end.
  const std::string long_lf = "procedure A is\nbegin\n   X := 1;" + std::string(387, ' ') + "--\nend A;\n";
  std::string long_crlf = long_lf;
  for (std::size_t at = long_crlf.find('\n'); at != std::string::npos; at = long_crlf.find('\n', at + 2)) {
    long_crlf.insert(at, "\r");
  }
  EXPECT_EQ(check_alone({in_memory("a.adb", lf)}, superfluous_marks_on()),
            check_alone({in_memory("a.adb", crlf)}, superfluous_marks_on()));
  EXPECT_EQ(check_alone({in_memory("a.adb", long_lf)}, {}), check_alone({in_memory("a.adb", long_crlf)}, {}));
  EXPECT_EQ(check_alone({in_memory("a.adb", long_crlf)}, {}).size(), 1u);  // NO_STYLE_CHECKS only
}

TEST(BugChecker, RunCheckTellsWhetherAStyleCommandWasHonoured) {
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  checker.start(0);
  checker.begin_unit(false, {});
  const auto honoured = [&](const char* text) {
    checker.use_source_text(text);
    bool seen = false;
    EXPECT_EQ(checker.run_check({}, seen), CheckOutcome::Completed);
    return seen;
  };
  EXPECT_TRUE(honoured("-->STYLE: NONE\npackage P is\nend P;\n"));
  EXPECT_FALSE(honoured("-->STYLE: NOTHING\npackage P is\nend P;\n"));
  checker.set_style_checks(false);
  EXPECT_FALSE(honoured("-->STYLE: NONE\npackage P is\nend P;\n"));
}

TEST(BugChecker, AnOverLongLineWithStyleChecksOffFailsAtItsLine) {
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  checker.start(0);
  checker.use_source_text("procedure A is\n\nbegin\n   X := 1;" + std::string(395, '0') + ";\nend A;\n");
  bool seen = false;
  try {
    checker.run_check({}, seen);
    FAIL() << "the scanner accepted a 400-character line";
  } catch (const LineTooLong& failure) {
    EXPECT_STREQ(failure.what(), "Text_Parser.Line_Too_Long");
  }
  EXPECT_EQ(checker.current_line(), 4);
  checker.close_source();
  EXPECT_EQ(checker.current_line(), 4);
  EXPECT_TRUE(sink.findings.empty());
}

TEST(BugChecker, AFileThatCannotBeOpenedLeavesLineZero) {
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  bool seen = false;
  checker.use_source_text("package P is\nend P;\n");
  checker.run_check({}, seen);
  EXPECT_EQ(checker.current_line(), 2);
  std::string error;
  const std::string missing = (fs::temp_directory_path() / "flawseek-no-such-file.adb").string();
  EXPECT_FALSE(checker.open_source(missing, error));
  EXPECT_NE(error.find(missing), std::string::npos);
  EXPECT_EQ(checker.current_line(), 0);
  // Parsing the empty source reports nothing.
  EXPECT_NO_THROW(checker.run_check({}, seen));
  EXPECT_TRUE(sink.findings.empty());
}

// The room a source is read into is kept from file to file: a shorter file
// read after a longer one must be read alone, never with the longer one's
// tail behind it.
TEST(BugChecker, AShorterSourceAfterALongerOneIsReadAlone) {
  const TemporaryDirectory directory;
  std::string longer = "package Long is\n";
  for (int i = 0; i < 2000; ++i) longer += "   X" + std::to_string(i) + " : Integer := 1;\n";
  longer += "end Long;\n";
  write_file(directory.path() / "long.ads", longer);
  write_file(directory.path() / "short.ads", "package P is\nend P;\n");
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  checker.start(0);
  for (const char* name : {"long.ads", "short.ads"}) {
    std::string error;
    ASSERT_TRUE(checker.open_source((directory.path() / name).string(), error)) << error;
    bool seen = false;
    EXPECT_EQ(checker.run_check({}, seen), CheckOutcome::Completed);
    checker.close_source();
  }
  EXPECT_TRUE(sink.findings.empty()) << sink.findings.front().reason;
  EXPECT_EQ(checker.current_line(), 2) << "the short source has two lines";
}

TEST(BugChecker, ADirectoryIsNoSourceAndFailsCleanly) {
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  std::string error;
  const bool opened = checker.open_source(fs::temp_directory_path().string(), error);
  if (opened) {
    // Some systems let a directory be opened; it then reads as nothing.
    bool seen = false;
    EXPECT_NO_THROW(checker.run_check({}, seen));
  } else {
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(checker.current_line(), 0);
}

TEST(BugChecker, ASourceReadsFromItsStartOnEveryRun) {
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  checker.start(0);
  checker.begin_unit(false, {});
  checker.use_source_text("procedure A is\nbegin\n   return; X := 1;\nend A;\n");
  checker.run_preparation(false, default_ada_version);
  EXPECT_TRUE(sink.findings.empty()) << "the preparation pass reports nothing";
  bool seen = false;
  checker.run_check({}, seen);
  checker.run_check({}, seen);
  ASSERT_EQ(sink.findings.size(), 2u);
  EXPECT_EQ(sink.findings[0], sink.findings[1]);
}

TEST(BugChecker, SuperfluousMarksCountNothingTowardTheLimit) {
  RecordingSink sink;
  BugChecker checker;
  checker.set_finding_sink(sink);
  checker.start(1);
  checker.begin_unit(/*report_superfluous_marks=*/true, {});
  checker.use_source_text("package P is -->NP, UD: a\nend P; -->WG: b\n");
  bool seen = false;
  EXPECT_EQ(checker.run_check({}, seen), CheckOutcome::Completed);
  EXPECT_NO_THROW(checker.report_unused_marks());
  EXPECT_EQ(sink.findings.size(), 3u);
  EXPECT_EQ(checker.finding_count(), 0);
}

// Sources for the isolation tests: each leaves state behind that would change
// another file's findings if it leaked (marks, style selection, a parse
// abandoned inside a sequence after a transfer, a stopped file).
std::vector<UnitFile> varied_sources() {
  return {
      in_memory("reach.adb",
                "procedure Reach is\nbegin\n   loop\n      exit; X := 1; -->CNR, NP: x\n   end loop;\n"
                "   declare begin return; X := 2; end;\nend Reach;\n"),
      in_memory("broken.adb", "procedure Broken is\nbegin\n   loop\n      return;\n      X := 1 +;\n"),
      in_memory("style.adb",
                "-->STYLE: BRIGHTMOOR\nprocedure Style is\n   procedure Inner is begin null; end;\nbegin\n"
                "   X := 1;" + std::string(130, ' ') + "0;\nend;\n"),
      in_memory("after.adb",
                "procedure After is\nbegin\n   X := 1;\n   Y := 2; -->UU: never used\n   return;\n   return;\nend;\n"),
      in_memory("long.adb", "procedure Long is\nbegin\n" + std::string(402, ' ') + "x\n   return; X := 1;\nend;\n"),
      in_memory("ops.ads", "package Ops is\n   function \"+\" (L, R : T) return T renames \"-\"; -->IOR: ok\n"
                           "   function \"*\" (L, R : T) return T renames \"/\";\nend Ops;\n"),
  };
}

TEST(BugChecker, TwoCheckersUsedAlternatelyFindWhatEachFindsAlone) {
  const auto sources = varied_sources();
  const UnitSettings settings = superfluous_marks_on();
  std::vector<std::vector<RecordedFinding>> alone;
  for (const UnitFile& file : sources) alone.push_back(check_alone({file}, settings));

  RecordingSink sink_a(true), sink_b(true);
  BugChecker a, b;
  a.start(0);
  b.start(0);
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = 0; i < sources.size(); ++i) {
      // Even rounds give file i to A when i is even; odd rounds swap.
      const bool to_a = (i + round) % 2 == 0;
      RecordingSink& sink = to_a ? sink_a : sink_b;
      sink.findings.clear();
      testing_support::check_unit(to_a ? a : b, sink, {sources[i]}, settings);
      EXPECT_EQ(sink.findings, alone[i]) << sources[i].name << " in round " << round;
    }
  }
}

TEST(BugChecker, TwoCheckersOnTwoThreadsFindWhatEachFindsAlone) {
  const auto sources = varied_sources();
  const UnitSettings settings = superfluous_marks_on();
  std::vector<std::vector<RecordedFinding>> alone;
  for (const UnitFile& file : sources) alone.push_back(check_alone({file}, settings));

  auto worker = [&](std::size_t offset, std::vector<std::string>& mismatches) {
    RecordingSink sink(true);
    BugChecker checker;
    checker.start(0);
    for (int round = 0; round < 200; ++round) {
      const std::size_t i = (round + offset) % sources.size();
      sink.findings.clear();
      testing_support::check_unit(checker, sink, {sources[i]}, settings);
      if (sink.findings != alone[i]) mismatches.push_back(sources[i].name);
    }
  };
  std::vector<std::string> mismatches_1, mismatches_2;
  std::thread first(worker, 0, std::ref(mismatches_1));
  std::thread second(worker, 3, std::ref(mismatches_2));
  first.join();
  second.join();
  EXPECT_TRUE(mismatches_1.empty()) << mismatches_1.front();
  EXPECT_TRUE(mismatches_2.empty()) << mismatches_2.front();
}

// Hostile input: whatever the bytes, a check returns or throws a
// std::exception the driver turns into a finding; it never crashes.
TEST(BugChecker, HostileSourcesNeverCrashTheCheck) {
  std::vector<std::string> sources = {
      std::string(100000, '('),
      "procedure P is begin " + std::string(50000, '(') + "\n",
      [] {
        std::string s = "procedure P is begin\n";
        for (int i = 0; i < 5000; ++i) s += "if C then\n";
        return s;
      }(),
      [] {
        std::string s = "procedure P is begin\n";
        for (int i = 0; i < 5000; ++i) s += "declare begin\n";
        return s;
      }(),
      std::string(3000, '-') + ">" + std::string(3000, 'N'),
      "-->" + std::string(100000, ','),
      std::string("\0\0\0procedure\0P", 13),
      std::string(1 << 20, '\n'),
      "\"" + std::string(390, 'x'),
      "'\"'--\"\n'",
  };
  std::mt19937 random(20261208);
  const std::string base =
      "-->STYLE: TAVIK\nprocedure P (X : in out T) is\n   E : exception;\nbegin\n   if X = null then raise E; end if;\n"
      "   loop exit when X.all > 0; <<L>> X := X + 1; end loop;\n   return; -->CNR: x\nend P;\n";
  for (int i = 0; i < 300; ++i) {
    std::string s = base;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % s.size();
      switch (random() % 3) {
        case 0: s[at] = static_cast<char>(random() % 256); break;
        case 1: s.erase(at, random() % 12); break;
        default: {
          const std::string piece = base.substr(random() % base.size(), random() % 40);
          s = s.substr(0, at) + piece + s.substr(at);
          break;
        }
      }
      if (s.empty()) s.push_back('x');
    }
    sources.push_back(s);
  }
  for (const std::string& source : sources) {
    for (const bool style_checks : {true, false}) {
      RecordingSink sink(true);
      BugChecker checker;
      ChecksOffChecker checks_off_checker;
      BugChecker& used = style_checks ? checker : checks_off_checker;
      used.start(0);
      UnitSettings settings = superfluous_marks_on();
      settings.prepare = true;
      try {
        testing_support::check_unit(used, sink, {in_memory("h.adb", source)}, settings);
      } catch (...) {
        FAIL() << "an exception escaped the driver's handling for a source of " << source.size() << " bytes";
      }
    }
  }
}

// GNAT's library sources that GNAT accepts as Ada 95: each is checked without
// an internal error. Skips when the corpus was not built (no GNAT).
TEST(BugChecker, TheGnatCorpusIsCheckedWithoutInternalErrors) {
  const fs::path corpus = corpus::corpus_directory(FLAWSEEK_BINARY_DIR);
  if (!fs::exists(corpus / ".complete")) GTEST_SKIP() << "no GNAT corpus in " << corpus;
  std::ifstream names(corpus / "files.txt");
  std::string name;
  RecordingSink sink(false);
  BugChecker checker;
  checker.start(0);
  UnitSettings settings;
  settings.scan.gnat_extensions = true;
  int files = 0;
  std::vector<std::string> failures;
  while (std::getline(names, name)) {
    if (name.empty()) continue;
    ++files;
    sink.findings.clear();
    const auto outcome = testing_support::check_unit(checker, sink, {UnitFile{(corpus / name).string(), false, {}}}, settings);
    for (const auto& f : outcome.internal_errors) failures.push_back(name + ": " + f);
  }
  EXPECT_GT(files, 100);
  EXPECT_TRUE(failures.empty()) << failures.size() << " files failed, the first: " << failures.front();
}

}  // namespace
}  // namespace flawseek
