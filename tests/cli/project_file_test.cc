// The project file end to end: found from the search root upwards, its keys
// read as the long options, the command line winning, --no-config and
// --config, and a file that is wrong in form, key or value.
#include "project_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>

#include "program_runner.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::read_file;
using testing::run_program;
using testing::ScratchDirectory;

void write(const std::filesystem::path& file, const std::string& text) { std::ofstream(file) << text; }

class ProjectFileRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(testing::flawseek_program()));
    tree_ = scratch_.copy_tree("findings");
  }
  std::filesystem::path project_file() const { return tree_ / ".flawseek.toml"; }

  ScratchDirectory scratch_;
  std::filesystem::path tree_;
};

TEST_F(ProjectFileRun, IsFoundAboveTheRootAndItsKeysSetTheRun) {
  write(project_file(),
        "# the project's usual run\n"
        "format = \"gnu\"\n"
        "style = [\"superfluous_code_mark\", \"no_goto_statements\"]\n"
        "list-unchecked-style = false\n"
        "ada-version = 2005\n"
        "report = \"reports/findings.csv\"\n");
  std::filesystem::create_directories(tree_ / "reports");
  // Run from the source folder: the file lies in its parent, and the
  // report's name is taken from the file's directory, not from here.
  const ProgramResult job = run_program({"--show-job"}, tree_ / "src");
  ASSERT_EQ(job.status, 0) << job.err;
  EXPECT_NE(job.out.find("Style: No Goto Statements, Superfluous Code Mark\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("Ada Version: 2005\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("Project File: " + project_file().string() + "\n"), std::string::npos) << job.out;

  const ProgramResult run = run_program({"-q"}, tree_ / "src");
  EXPECT_EQ(run.status, 1) << run.err;
  // GNU lines open with the file (named from here, as no root was given),
  // the tree with a kind.
  EXPECT_TRUE(run.out.starts_with("broken.adb:")) << run.out;
  EXPECT_NE(run.out.find("marks.adb:"), std::string::npos) << run.out;
  EXPECT_TRUE(read_file(tree_ / "reports/findings.csv").starts_with("Filename,Path,Reason,")) << "no report written";

  // The search starts at the root, wherever the program runs: from the
  // scratch directory, the file of findings/ is still found for findings/src.
  const ProgramResult elsewhere = run_program({"--show-job", "findings/src"}, scratch_.path());
  EXPECT_NE(elsewhere.out.find("Project File: " + project_file().string() + "\n"), std::string::npos)
      << elsewhere.out;
}

TEST_F(ProjectFileRun, TheCommandLineWinsAndNoConfigIgnoresTheFile) {
  write(project_file(), "style-set = \"tavik\"\nstyle = [\"bad_keyword\"]\nformat = \"csv\"\n");
  const ProgramResult job = run_program({"--show-job", "--style", "no_goto_statements", "--style-set=user", "src"}, tree_);
  ASSERT_EQ(job.status, 0) << job.err;
  // A list given on the command line replaces the file's, not adds to it.
  EXPECT_NE(job.out.find("Style: No Goto Statements\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("Default Rule Book: User\n"), std::string::npos) << job.out;
  // Every setting of the run is shown, and where each came from; a value
  // after its option is no ROOT.
  EXPECT_NE(job.out.find("Format: csv\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("Jobs: one per core\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("From The Project File: format\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("From The Command Line: show-job, style, style-set, ROOT\n"), std::string::npos) << job.out;
  EXPECT_NE(job.out.find("From The Stored Settings: nothing\n"), std::string::npos) << job.out;

  // --no-config: neither the settings nor the faults of the file count.
  write(project_file(), "style = [\"bad_keyword\"]\nformat = \"csv\n");
  const ProgramResult ignored = run_program({"--show-job", "--no-config", "src"}, tree_);
  EXPECT_EQ(ignored.status, 0) << ignored.err;
  EXPECT_NE(ignored.out.find("Style: none\n"), std::string::npos) << ignored.out;
  EXPECT_NE(ignored.out.find("Project File: none (--no-config)\n"), std::string::npos) << ignored.out;

  // --config names a file anywhere; without any, --show-job says so.
  std::filesystem::remove(project_file());
  write(scratch_.path() / "ci.toml", "style = \"bad_keyword\"\n");
  const ProgramResult named = run_program({"--show-job", "--config", "../ci.toml", "src"}, tree_);
  EXPECT_NE(named.out.find("Style: Bad Keyword\n"), std::string::npos) << named.out << named.err;
  EXPECT_NE(named.out.find("Project File: " + (scratch_.path() / "ci.toml").string() + "\n"), std::string::npos);
  const ProgramResult none = run_program({"--show-job", "src"}, tree_);
  EXPECT_NE(none.out.find("Project File: none\n"), std::string::npos) << none.out;
}

// The findings tree holds a syntax error, an unreachable statement and an
// illogical renaming: select and ignore narrow them in every output, the
// count and the exit status.
TEST_F(ProjectFileRun, SelectAndIgnoreNarrowTheKindsReported) {
  const auto kinds_of = [](const std::string& out) {
    std::string kinds;
    for (const std::string_view id : {"[syntax-error]", "[code-not-reachable]", "[illogical-operator-rename]"}) {
      if (out.find(id) != std::string::npos) kinds += std::string(id);
    }
    return kinds;
  };
  write(project_file(), "format = \"gnu\"\nselect = [\"bug\"]\nignore = [\"Syntax Error\", \"-->IOR:\"]\n");
  const ProgramResult narrowed = run_program({"src"}, tree_);
  EXPECT_EQ(narrowed.status, 1) << narrowed.err;
  EXPECT_EQ(kinds_of(narrowed.out), "[code-not-reachable]") << narrowed.out;
  EXPECT_NE(narrowed.err.find(" 1 potential bug found "), std::string::npos) << narrowed.err;

  // The command line's list replaces the file's; a run left with nothing
  // to report passes.
  const ProgramResult replaced = run_program({"--ignore", "code-not-reachable", "src"}, tree_);
  EXPECT_EQ(kinds_of(replaced.out), "[syntax-error][illogical-operator-rename]") << replaced.out;
  const ProgramResult nothing = run_program({"--select", "style", "src"}, tree_);
  EXPECT_EQ(nothing.status, 0) << nothing.out << nothing.err;
  EXPECT_EQ(kinds_of(nothing.out), "");
}

// Globs of the project file are read from its own directory, wherever the
// program runs; an excluded specification leaves its body to stand alone,
// and the final count says how many sources were left out.
TEST_F(ProjectFileRun, ExcludesAndPerPathIgnoresAreTakenFromTheProjectFilesDirectory) {
  write(project_file(),
        "format = \"gnu\"\n"
        "exclude = [\"src/broken.*\"]\n"
        "[per-path-ignores]\n"
        "\"**/shapes.ads\" = [\"illogical-operator-rename\"]\n");
  const ProgramResult run = run_program({"findings/src"}, scratch_.path());
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out.find("broken.adb"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("[illogical-operator-rename]"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("shapes.adb:14:7: warning: statement is never reached"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find(" 1 potential bug found in search of 4 files ( 1 file excluded )"), std::string::npos)
      << run.err;

  // The command line's globs are read from the current directory.
  const ProgramResult spec_left_out = run_program({"--no-config", "--format", "gnu", "--exclude", "src/shapes.ads", "src"}, tree_);
  EXPECT_EQ(spec_left_out.out.find("shapes.ads"), std::string::npos) << spec_left_out.out;
  EXPECT_NE(spec_left_out.out.find("shapes.adb:14:7:"), std::string::npos) << spec_left_out.out;
  const ProgramResult malformed = run_program({"--no-config", "--per-path-ignore", "tests/**", "src"}, tree_);
  EXPECT_EQ(malformed.status, 2);
  EXPECT_NE(malformed.err.find("'--per-path-ignore' needs GLOB=LIST"), std::string::npos) << malformed.err;
}

TEST_F(ProjectFileRun, AFileWrongInFormKeyOrValueIsNamedWithItsLineAndExitsWithTwo) {
  const std::string where = project_file().string();
  struct Case {
    std::string text;
    std::string first_line;
  };
  const Case cases[] = {
      {"format = \"gnu\"\nstyle = [\"bad_keyword\"\n",
       where + ":3: the project file is not valid TOML\n"},
      {"format = \"gnu\"\nquiet = yes\n", where + ":2: key 'quiet': the project file is not valid TOML\n"},
      {"format = \"gnu\"\n\ncolour = true\n",
       where + ":3: unknown key 'colour' (keys are the long options' names without \"--\")\n"},
      {"[output]\nformat = \"gnu\"\n", where + ":1: unknown key 'output' (keys are the long options' names without \"--\")\n"},
      {"quiet = \"yes\"\n", where + ":1: key 'quiet' takes true or false\n"},
      {"report = true\n", where + ":1: key 'report' takes a value (a string), not true or false\n"},
      {"format = \"xml\"\n", where + ":1: key 'format': unknown format 'xml' (tree, gnu, csv, text, json or sarif)\n"},
      {"ada-version = 83\n", where + ":1: key 'ada-version': unknown Ada version '83' (95, 2005, 2012 or 2022)\n"},
      {"help = true\n", where + ":1: key 'help' belongs on the command line, not in a project file\n"},
      // Nesting deep enough to overflow the reader's stack is refused first.
      {"# [\n\nstyle = " + std::string(100000, '['), where + ":3: arrays or tables nested more than 64 deep\n"},
      // What would make the TOML reader read past its text, or take minutes.
      {"format = 'gnu'\nx = '\xff'\n", where + ":2: byte 6 of the line is not UTF-8 (a project file is UTF-8 text)\n"},
      {"x = '''\xf2'''\n", where + ":1: byte 8 of the line is not UTF-8 (a project file is UTF-8 text)\n"},
      {"style = [" + std::string(20000, ' ') + "]\n", where + ":1: a line longer than 16384 characters\n"},
      {"\n[a" + std::string(100, '.') + "]\n", where + ":2: a key or table name of more than 64 parts\n"},
      {"# " + std::string(2 * 1024 * 1024, 'x'),
       "cannot read the project file " + where + ": larger than 1024 KB, which no project file needs\n"},
  };
  for (const Case& bad : cases) {
    write(project_file(), bad.text);
    const ProgramResult run = run_program({"--report", "r.csv", "src"}, tree_);
    EXPECT_EQ(run.status, 2) << bad.text;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "flawseek: " + bad.first_line) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(tree_ / "r.csv"));
  // --help still answers: the file is read only for a run.
  EXPECT_EQ(run_program({"--help"}, tree_).status, 0);

  // A named file that is not there is an error too, never a silent default.
  std::filesystem::remove(project_file());
  const ProgramResult missing = run_program({"--config", "nowhere.toml", "src"}, tree_);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "flawseek: cannot read the project file " + (tree_ / "nowhere.toml").string() +
                             ": No such file or directory\n");
}

// A file found by the upward search that somebody else could have put there
// is ignored with a warning naming it; named with --config it is read.
TEST_F(ProjectFileRun, AFileOthersCouldHavePlantedIsIgnoredWithAWarningUnlessNamed) {
  namespace fs = std::filesystem;
  const std::string settings = "style = [\"bad_keyword\"]\nfail-on = \"none\"\n";
  struct Case {
    const char* name;
    std::function<bool()> plant;  // false: the case cannot be made here
    std::string reason;
  };
  const Case cases[] = {
      {"owned by another user",
       [&] { return ::geteuid() == 0 && ::chown(project_file().c_str(), 65534, 65534) == 0; },
       "it belongs to another user (uid 65534)"},
      {"writable by all",
       [&] {
         fs::permissions(project_file(), fs::perms::others_write, fs::perm_options::add);
         return true;
       },
       "other users may write to it"},
      {"in a directory all may write to",
       [&] {
         fs::permissions(tree_, fs::perms::others_write, fs::perm_options::add);
         return true;
       },
       "other users may write to its directory"},
  };
  for (const Case& planted : cases) {
    write(project_file(), settings);
    fs::permissions(tree_, fs::perms::others_write, fs::perm_options::remove);
    if (!planted.plant()) continue;
    const ProgramResult found = run_program({"--show-job", "src"}, tree_);
    EXPECT_EQ(found.status, 0) << planted.name;
    EXPECT_NE(found.out.find("Project File: none\n"), std::string::npos) << planted.name << found.out;
    EXPECT_NE(found.out.find("Style: none\n"), std::string::npos) << planted.name << found.out;
    EXPECT_EQ(found.err, "flawseek: ignoring the project file " + project_file().string() + ": " + planted.reason +
                             "; name it with --config to use it\n");
    const ProgramResult named = run_program({"--show-job", "--config", ".flawseek.toml", "src"}, tree_);
    EXPECT_NE(named.out.find("Style: Bad Keyword\n"), std::string::npos) << planted.name << named.out << named.err;
    fs::remove(project_file());
  }
  // A directory others may write to but not rename in (the sticky bit, as
  // /tmp has) keeps the user's own file trusted.
  write(project_file(), settings);
  fs::permissions(tree_, fs::perms::others_write | fs::perms::sticky_bit, fs::perm_options::add);
  const ProgramResult sticky = run_program({"--show-job", "src"}, tree_);
  EXPECT_NE(sticky.out.find("Style: Bad Keyword\n"), std::string::npos) << sticky.out << sticky.err;
  fs::permissions(tree_, fs::perms::others_write | fs::perms::sticky_bit, fs::perm_options::remove);
}

TEST_F(ProjectFileRun, TheSearchStopsAtTheUsersHome) {
  write(project_file(), "style = [\"bad_keyword\"]\n");
  const char* saved = std::getenv("HOME");
  const std::string home = saved == nullptr ? "" : saved;
  ::setenv("HOME", (tree_ / "src").c_str(), 1);
  const ProgramResult below = run_program({"--show-job"}, tree_ / "src");
  ::setenv("HOME", tree_.c_str(), 1);
  const ProgramResult at = run_program({"--show-job"}, tree_ / "src");
  if (saved == nullptr) {
    ::unsetenv("HOME");
  } else {
    ::setenv("HOME", home.c_str(), 1);
  }
  EXPECT_NE(below.out.find("Project File: none\n"), std::string::npos) << below.out;
  EXPECT_NE(at.out.find("Project File: " + project_file().string() + "\n"), std::string::npos) << at.out;
}

TEST(ProjectFileArguments, KeysBecomeLongOptionsAndPathsAreTakenFromTheFilesDirectory) {
  ScratchDirectory scratch;
  write(scratch.path() / "p.toml",
        "gnat-extensions = true\nno-subfolders = false\nstyle = [\"bad_keyword\", \"bad_pragma\"]\n"
        "log = \"logs/run.log\"\nreport = \"-\"\nreference-path = \"specs/*; /opt/ada ;\"\nstyle-set = \"tavik\"\n"
        "ada-version = \"95\"\n");
  const ProjectFile file = read_project_file(scratch.path() / "p.toml");
  ASSERT_EQ(file.error, "");
  // Brackets in strings and comments are no nesting.
  write(scratch.path() / "q.toml", "# " + std::string(80, '[') + "\nlog = \"" + std::string(80, '[') +
                                       "\"\nreport = '''\n" + std::string(80, '{') + "'''\n");
  EXPECT_EQ(read_project_file(scratch.path() / "q.toml").error, "");
  const std::string base = scratch.path().string();
  std::vector<std::string> arguments;
  for (const ProjectSetting& setting : file.settings) {
    arguments.insert(arguments.end(), setting.arguments.begin(), setting.arguments.end());
  }
  EXPECT_EQ(arguments, (std::vector<std::string>{"--gnat-extensions", "--style=bad_keyword,bad_pragma",
                                                 "--log=" + base + "/logs/run.log", "--report=-",
                                                 "--reference-path=" + base + "/specs/*;/opt/ada",
                                                 "--style-set=tavik", "--ada-version=95"}));

  const std::string_view command_line[] = {"--style", "all", "--", "--style-set=user"};
  EXPECT_EQ(arguments_with_project_file(file.settings, command_line),
            (std::vector<std::string>{"--gnat-extensions", "--log=" + base + "/logs/run.log", "--report=-",
                                      "--reference-path=" + base + "/specs/*;/opt/ada", "--style-set=tavik",
                                      "--ada-version=95", "--style", "all", "--", "--style-set=user"}));
}

}  // namespace
}  // namespace flawseek
