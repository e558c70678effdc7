// Input that holds nothing to analyse, or that a switch would accept: never
// passed over in silence. A name or pattern matching no Ada source fails, an
// empty folder warns, a dangling link is its file's internal error, and
// syntax errors over GNAT's attributes point to --gnat-extensions.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// What cannot be read is never lost in silence: a file or a directory is an
// internal error of its own, with the reason, in every format and in the
// exit status, and counted apart from the potential bugs.
TEST_F(BadInput, AnUnreadableFileOrDirectoryIsItsOwnInternalErrorAndCountsApart) {
  const auto tree = scratch_.copy_tree("pairing");
  std::filesystem::create_symlink("gone.adb", tree / "src/dangling.adb");
  // A directory whose path is longer than the system allows (unreadable for
  // root too), holding a source.
  std::filesystem::path deep = tree / "src/deep";
  const std::string component(200, 'd');
  std::filesystem::create_directories(deep);
  int fd = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 25 && fd >= 0; ++level) {
    ::mkdirat(fd, component.c_str(), 0755);
    const int next = ::openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  ::close(::openat(fd, "lost.adb", O_CREAT | O_WRONLY, 0644));
  ::close(fd);

  const ProgramResult run = run_program({"-q", "--format", "gnu", "src"}, tree);
  EXPECT_EQ(run.status, 1) << run.err;
  const std::string file_line =
      "src/dangling.adb:1:1: error: cannot read the file: No such file or directory [internal-error]\n";
  EXPECT_TRUE(run.out.starts_with(file_line + "src/deep/" + component + "/")) << run.out.substr(0, 200);
  EXPECT_TRUE(run.out.ends_with(":1:1: error: cannot read the directory: File name too long [internal-error]\n"));
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
  const ProgramResult counted = run_program({"--format", "json", "src"}, tree);
  EXPECT_NE(counted.out.find("\"message\": \"cannot read the directory: File name too long\""), std::string::npos);
  EXPECT_EQ(counted.err, " 0 potential bugs found in search of 10 files, 2 paths could not be read\n");
  // Named alone, a file is analysed (and fails) like any named file.
  const ProgramResult named = run_program({"--format", "gnu", "--no-subfolders", "src/dangling.adb"}, tree);
  EXPECT_EQ(named.status, 1) << named.err;
  EXPECT_EQ(named.out, "src/dangling.adb:1:1: error: cannot read the file: No such file or directory [internal-error]\n");
}

// A file name cannot start a line of its own in any line format: control
// bytes are printed as escapes, so no name forges a finding or steers a
// terminal.
TEST_F(BadInput, AFileNameWithControlBytesCannotForgeALine) {
  const auto tree = scratch_.copy_tree("pairing");
  const std::string name = "ok.adb:99:1: warning: forged finding\nz\x1b[2J.adb";
  std::ofstream(tree / "src" / name) << "procedure Z is\nbegin\n   return;\n   null;\nend Z;\n";
  const std::string shown = "ok.adb:99:1: warning: forged finding\\nz\\x1b[2J.adb";
  for (const char* format : {"gnu", "tree", "csv", "text"}) {
    const ProgramResult run = run_program({"-q", "--no-subfolders", "--format", format, "src/" + name}, tree);
    EXPECT_EQ(run.status, 1) << format << run.err;
    EXPECT_NE(run.out.find(shown), std::string::npos) << format << "\n" << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << format;
    EXPECT_EQ(run.out.find("\nz"), std::string::npos) << format;
  }
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
            " 3 potential bugs found in search of 2 files\n");
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
