// Input that holds nothing to analyse, or that a switch would accept: never
// passed over in silence. A name or pattern matching no Ada source fails, an
// empty folder warns, a dangling link is its file's internal error, and
// syntax errors over GNAT's attributes point to --gnat-extensions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "input_notes.h"
#include "program_runner.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::run_program;
using testing::ScratchDirectory;

constexpr const char* hint = " (Ada sources end in .ads, .adb, .ada or .adq)\n";

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(std::filesystem::exists(testing::flawseek_program())); }
  ScratchDirectory scratch_;
};

TEST_F(BadInput, ANameOrPatternMatchingNoAdaSourceFailsAndAnEmptyFolderWarns) {
  const auto tree = scratch_.copy_tree("pairing");
  // A pattern matching nothing, a name of nothing, a file that is no Ada source.
  for (const char* root : {"src/*.adx", "src/gone.adb", "src/notes.txt"}) {
    const ProgramResult run = run_program({"--report", "r.csv", root}, tree);
    EXPECT_EQ(run.status, 2) << root;
    EXPECT_EQ(run.err, std::string("flawseek: no Ada source matches '") + root + "'" + hint) << root;
    EXPECT_EQ(run.out, "") << root;
  }
  EXPECT_FALSE(std::filesystem::exists(tree / "r.csv"));

  // A folder may rightly be empty: the run succeeds, but says so, even with -q.
  std::filesystem::create_directories(tree / "empty/sub");
  std::ofstream(tree / "empty/sub/README") << "no sources here\n";
  const ProgramResult empty = run_program({"empty"}, tree);
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.err, std::string("flawseek: warning: no Ada source found in 'empty'") + hint +
                           " 0 potential bugs found in search of 0 files\n");
  const ProgramResult quiet = run_program({"-q", "empty"}, tree);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, std::string("flawseek: warning: no Ada source found in 'empty'") + hint);

  // Sources all skipped as read-only were found: no warning.
  std::ofstream(tree / "empty/only.adb") << "procedure Only is begin null; end Only;\n";
  std::filesystem::permissions(tree / "empty/only.adb", std::filesystem::perms::owner_read);
  const ProgramResult skipped = run_program({"--skip-read-only", "empty"}, tree);
  EXPECT_EQ(skipped.err, " 0 potential bugs found in search of 0 files ( 1 Read-Only file skipped )\n");
}

TEST_F(BadInput, ADanglingLinkIsItsFilesInternalErrorAndCounts) {
  const auto tree = scratch_.copy_tree("pairing");
  std::filesystem::create_symlink("gone.adb", tree / "src/dangling.adb");
  const ProgramResult run = run_program({"--format", "gnu", "src"}, tree);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "src/dangling.adb:1:1: error: the analysis of this file failed [internal-error]\n");
  EXPECT_EQ(run.err, " 1 potential bug found in search of 10 files\n");
  // Named alone, it is analysed (and fails) like any named file.
  const ProgramResult named = run_program({"--format", "gnu", "src/dangling.adb"}, tree);
  EXPECT_EQ(named.status, 1) << named.err;
  EXPECT_EQ(named.out, "src/dangling.adb:1:1: error: the analysis of this file failed [internal-error]\n");
}

TEST_F(BadInput, SyntaxErrorsOverGnatAttributesPointToTheSwitchOnce) {
  std::filesystem::create_directories(scratch_.path() / "src");
  std::ofstream(scratch_.path() / "src/show.adb") << "with Ada.Text_IO;\n"
                                                      "procedure Show (X : Integer) is\n"
                                                      "begin\n"
                                                      "   Ada.Text_IO.Put_Line (X'Img);\n"
                                                      "end Show;\n";
  std::ofstream(scratch_.path() / "src/grab.adb") << "procedure Grab is\n"
                                                      "   P : access Grab := Grab'Unrestricted_Access;\n"
                                                      "begin\n"
                                                      "   null;\n"
                                                      "end Grab;\n";
  const ProgramResult run = run_program({"--format", "gnu", "src"}, scratch_.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "flawseek: note: 2 syntax errors name attributes that only GNAT defines ('Unrestricted_Access, 'Img); "
            "--gnat-extensions accepts them\n"
            " 2 potential bugs found in search of 2 files\n");
  // With the switch, the attributes parse and nothing is noted; -q notes nothing.
  const ProgramResult gnat = run_program({"--gnat-extensions", "--format", "gnu", "src/show.adb"}, scratch_.path());
  EXPECT_EQ(gnat.err, " 0 potential bugs found in search of 1 file\n") << gnat.out;
  EXPECT_EQ(run_program({"-q", "src"}, scratch_.path()).err, "");
}

TEST(GnatAttributeNamed, OnlyAttributesThatTheLanguageLeavesOut) {
  EXPECT_EQ(gnat_attribute_named("Put_Line (Count'Img & X'Image (Y));"), "Img");
  EXPECT_EQ(gnat_attribute_named("P := X'unrestricted_access;"), "unrestricted_access");
  // Standard attributes, character literals and a tick at the end are not.
  EXPECT_EQ(gnat_attribute_named("A'First .. A'Last, Wide_Image"), "");
  EXPECT_EQ(gnat_attribute_named("C = 'I' or else C = 'M'"), "");
  EXPECT_EQ(gnat_attribute_named("Text'"), "");
}

}  // namespace
}  // namespace flawseek
