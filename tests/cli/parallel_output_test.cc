// The same search on one thread and on four must leave the same traces (see
// parallel_traces.h) on a large tree built from the repository's own Ada
// sources, with every check, every output format and relaxed styles.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "parallel_traces.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;
using testing::ProgramResult;
using testing::run_program;
using testing::expect_same_traces;

// A generic whose formal Visit has a box default, and a pair whose body
// declares a Visit never called: UNUSED_UNIT unless the preparation pass has
// seen the generic. The copies put the generic and the pairs in different
// directories, so different workers prepare and check them.
void write_box_default_units(const fs::path& directory) {
  fs::create_directories(directory / "generics");
  fs::create_directories(directory / "users");
  testing::write_file(directory / "generics" / "sorting.ads",
                      "generic\n   type T is private;\n   with procedure Visit (X : T) is <>;\n"
                      "package Sorting is\nend Sorting;\n");
  testing::write_file(directory / "users" / "walker.ads", "package Walker is\n   procedure Run;\nend Walker;\n");
  testing::write_file(directory / "users" / "walker.adb",
                      "package body Walker is\n   procedure Visit (X : Integer) is\n   begin\n      null;\n"
                      "   end Visit;\n   procedure Run is\n   begin\n      null;\n   end Run;\nend Walker;\n");
}

// Names the walk reaches in another order than their paths sort: the root's
// files before its subdirectories, "m/" before "m-n/" and "m.d/" (which
// sort before it), bodies before their specifications.
void write_order_traps(const fs::path& directory) {
  for (const char* name : {"a.adb", "m.adb", "z.adb", "p.ads", "p.adb", "q.ada", "q_.ada", "m/x.adb", "m/y/deep.adb",
                           "m-n/k.adb", "m.d/j.ads", "m.d/j.adb"}) {
    fs::create_directories((directory / name).parent_path());
    testing::write_file(directory / name, "PROCEDURE Trap IS\nBEGIN\n   NULL;\nEND Trap;\n");
  }
}

// `copies` copies of every Ada source of examples/ and tests/fixtures, each
// under copy_<n>/ with its relative path kept (so pairs stay pairs), and the
// box-default units in every fifth copy.
fs::path build_large_tree(const fs::path& root, int copies) {
  const fs::path fixtures = FLAWSEEK_FIXTURES;
  const std::vector<std::pair<fs::path, std::string>> sources = {{FLAWSEEK_EXAMPLES_DIR, "examples"},
                                                                 {fixtures, "fixtures"}};
  for (int copy = 0; copy < copies; ++copy) {
    const fs::path target = root / ("copy_" + std::to_string(copy));
    for (const auto& [source, name] : sources) {
      for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file()) continue;
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension != ".ads" && extension != ".adb" && extension != ".ada" && extension != ".adq") continue;
        const fs::path copied = target / name / fs::relative(entry.path(), source);
        fs::create_directories(copied.parent_path());
        fs::copy_file(entry.path(), copied);
      }
    }
    if (copy % 5 == 0) write_box_default_units(target / "box");
    write_order_traps(target / "m");
  }
  return root;
}

class ParallelOutput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new testing::ScratchDirectory;
    tree_ = build_large_tree(scratch_->path() / "tree", 20);
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  static std::vector<std::string> every_check(const std::string& format) {
    return {"--format", format, "--gnat-extensions", "--preparation-phase", "--style", "all", "--list-unchecked-style",
            tree_.string()};
  }

  static testing::ScratchDirectory* scratch_;
  static fs::path tree_;
};

testing::ScratchDirectory* ParallelOutput::scratch_ = nullptr;
fs::path ParallelOutput::tree_;

TEST_F(ParallelOutput, EveryFormatAndReportIsTheSameOnFourThreads) {
  expect_same_traces(scratch_->path(), every_check("tree"), "report.csv");
  expect_same_traces(scratch_->path(), every_check("gnu"), "report.txt");
  expect_same_traces(scratch_->path(), every_check("csv"), "report.csv");
  expect_same_traces(scratch_->path(), every_check("text"), "report.txt");
}

// Without a report or a baseline the findings are written while the search
// goes on; they must come out exactly as a run that writes them at its end.
TEST_F(ParallelOutput, FindingsWrittenDuringTheSearchComeOutAsWrittenAtTheEnd) {
  const std::string report = (scratch_->path() / "whole.csv").string();
  for (const std::string format : {"gnu", "json", "sarif"}) {
    std::vector<std::string> streamed = every_check(format);
    streamed.insert(streamed.begin(), {"-q", "--jobs", "4", "--show-suppressed"});
    std::vector<std::string> whole = streamed;
    whole.insert(whole.begin(), {"--report", report});
    const ProgramResult during = run_program(streamed, scratch_->path());
    const ProgramResult at_end = run_program(whole, scratch_->path());
    EXPECT_EQ(during.status, 1) << format;
    EXPECT_EQ(during.status, at_end.status) << format;
    EXPECT_GT(during.out.size(), 100000u) << format;
    EXPECT_TRUE(testing::without_creation_time(during.out) == testing::without_creation_time(at_end.out))
        << format << ": the outputs differ";
  }
}

TEST_F(ParallelOutput, TheDefaultJobAndRelaxedStylesAreTheSameOnFourThreads) {
  expect_same_traces(scratch_->path(), {"--format", "gnu", tree_.string()}, "report.csv");
  const fs::path specs = tree_ / "copy_0" / "fixtures" / "trees" / "relaxed" / "specs";
  expect_same_traces(scratch_->path(),
                     {"--format", "gnu", "--relaxed-styles", "--reference-path", specs.string() + "/*", "--style",
                      "bad_identifier", tree_.string()},
                     "report.csv");
}

TEST_F(ParallelOutput, WhatOneWorkerPreparedExemptsUnitsAnotherChecks) {
  const auto unused_visits = [](const ProgramResult& run) {
    int count = 0;
    for (std::size_t at = run.out.find("walker.adb"); at != std::string::npos; at = run.out.find("walker.adb", at + 1)) {
      const std::size_t end = run.out.find('\n', at);
      if (run.out.substr(at, end - at).find("[unused-unit]") != std::string::npos) ++count;
    }
    return count;
  };
  const ProgramResult unprepared = run_program({"-q", "--jobs", "4", "--format", "gnu", tree_.string()}, tree_);
  const ProgramResult prepared =
      run_program({"-q", "--jobs", "4", "--preparation-phase", "--format", "gnu", tree_.string()}, tree_);
  EXPECT_EQ(unused_visits(unprepared), 4);  // one in every fifth of 20 copies
  EXPECT_EQ(unused_visits(prepared), 0);
}

}  // namespace
}  // namespace flawseek
