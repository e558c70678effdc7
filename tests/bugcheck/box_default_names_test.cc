// The preparation pass's box-default names across the specifications of a
// run: they exempt units of that exact name from UNUSED_UNIT in every later
// check of the run, and a new run starts without them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "bugcheck/declarations/box_default_names.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

using testing_support::RecordingSink;
using testing_support::UnitFile;
using testing_support::UnitSettings;

const char* const sorting_spec =
    "generic\n"
    "   type T is private;\n"
    "   with function \"=\" (L, R : T) return Boolean is <>;\n"
    "   with procedure Visit (X : T) is <>;\n"
    "package Sorting is\n"
    "end Sorting;\n";
const char* const searching_spec =
    "generic\n"
    "   type T is private;\n"
    "   with function \"=\" (L, R : T) return Boolean is <>;\n"
    "package Searching is\n"
    "end Searching;\n";

// Pairs whose bodies declare a Visit never called, spelled as the formal is
// and spelled otherwise: only the exact spelling is exempt.
const std::vector<UnitFile> walker = {
    {"walker.ads", true, "package Walker is\n   procedure Run;\nend Walker;\n"},
    {"walker.adb", true,
     "package body Walker is\n"
     "   procedure Visit (X : Integer) is\n"
     "   begin\n"
     "      null;\n"
     "   end Visit;\n"
     "   procedure Run is\n"
     "   begin\n"
     "      null;\n"
     "   end Run;\n"
     "end Walker;\n"},
};
const std::vector<UnitFile> shouting_walker = {
    {"shouting.ads", true, "package Shouting is\n   procedure Run;\nend Shouting;\n"},
    {"shouting.adb", true,
     "package body Shouting is\n"
     "   procedure VISIT (X : Integer) is\n"
     "   begin\n"
     "      null;\n"
     "   end VISIT;\n"
     "   procedure Run is\n"
     "   begin\n"
     "      null;\n"
     "   end Run;\n"
     "end Shouting;\n"},
};

int unused_units(const RecordingSink& sink) {
  int count = 0;
  for (const auto& finding : sink.findings) count += finding.kind == FindingKind(BugKind::UNUSED_UNIT);
  return count;
}

void prepare(BugChecker& checker, const char* text) {
  checker.use_source_text(text);
  checker.run_preparation(false, default_ada_version);
  checker.close_source();
}

TEST(BoxDefaultNames, ExemptTheExactNameInEveryCheckOfTheRunOnly) {
  RecordingSink sink;
  BugChecker checker;
  checker.start(0);
  prepare(checker, sorting_spec);
  prepare(checker, searching_spec);
  const UnitSettings settings;

  testing_support::check_unit(checker, sink, walker, settings);
  EXPECT_EQ(unused_units(sink), 0) << "Visit is a box-default formal of Sorting";

  sink.findings.clear();
  testing_support::check_unit(checker, sink, shouting_walker, settings);
  EXPECT_EQ(unused_units(sink), 1) << "VISIT is not spelled as the formal is";

  // A new run forgets what the last one prepared.
  sink.findings.clear();
  checker.start(0);
  testing_support::check_unit(checker, sink, walker, settings);
  ASSERT_EQ(unused_units(sink), 1);
  EXPECT_EQ(sink.findings[0].line, 2);
}

// The preparation leaves a source unparsed only when parsing it could have
// neither found a box nor failed: a box outside a generic formal part still
// counts, and a line too long still fails the file wherever it stands.
TEST(BoxDefaultNames, ASourceIsPreparedWheneverItsParseCouldFindABoxOrFail) {
  RecordingSink sink;
  BugChecker checker;
  checker.start(0);
  prepare(checker, "package Odd is\n   procedure Visit is <>;\nend Odd;\n");
  testing_support::check_unit(checker, sink, walker, UnitSettings{});
  EXPECT_EQ(unused_units(sink), 0) << "Visit was written with a box in Odd";

  BugChecker fresh;
  fresh.set_finding_sink(sink);
  fresh.start(0);
  const std::string long_line = "   X : Integer := " + std::string(382, '1') + ";";  // 401 characters
  ASSERT_EQ(long_line.size(), 401u);
  for (const int short_lines : {0, 1, 7, 40}) {
    std::string text = "package Long is\n";
    for (int i = 0; i < short_lines; ++i) text += "   Y" + std::to_string(i) + " : Integer;\n";
    for (const std::string& end : {std::string("\nend Long;\n"), std::string()}) {
      fresh.use_source_text(text + long_line + end);
      EXPECT_ANY_THROW(fresh.run_preparation(false, default_ada_version)) << short_lines << " short lines before it";
      fresh.close_source();
    }
  }
}

// The filter that spares most specifications the preparation's parse: it
// may let through a text without box defaults, never hold back one with.
TEST(BoxDefaultNames, OnlyATextWhereABoxMayFollowIsIsParsed) {
  for (const char* with_default : {
           "with procedure Visit is <>;",
           "with function F return T IS\r\n\t<>;",
           "with procedure Visit is -- the caller's\n   -- own\n\n   <>;",
           "with procedure Visit is\x0c<>;",
           "type T is range <>; with procedure Visit is <>;",
           "with procedure P is\xa0<>;",  // not ASCII: the scanner decides
       }) {
    EXPECT_TRUE(may_hold_box_default(with_default)) << ::testing::PrintToString(with_default);
  }
  for (const char* without : {
           "",
           "<>",
           "type Index is range <>;",
           "type Discrete is (<>);",
           "type Vector is array (Index range <>) of Integer;",
           "X : constant String := \"<>\";",
           "with procedure Analysis <>;",
           "type T is new Basis <>;",
           "with procedure This<>;",
           "-- is\n",
       }) {
    EXPECT_FALSE(may_hold_box_default(without)) << ::testing::PrintToString(without);
  }
}

}  // namespace
}  // namespace flawseek
