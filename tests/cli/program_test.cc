// The flawseek program as a user meets it: texts, exit status, --settings.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../support/environment_variable.h"
#include "../support/file_text.h"
#include "../support/temporary_directory.h"
#include "platform/label.h"
#include "program_texts.h"
#include "style/style_kind.h"

namespace flawseek {
namespace {

struct ProgramRun {
  int status = -1;
  std::string output;  // standard output and standard error together
};

ProgramRun run_flawseek(const std::string& arguments) {
  const std::string command = std::string(FLAWSEEK_BINARY_DIR) + "/app/cli/flawseek " + arguments + " 2>&1";
  ProgramRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

TEST(ProgramTexts, UsageNamesEveryOptionAndKind) {
  const std::string usage = usage_text();
  for (const char* option : {"--gnat-extensions", "--preparation-phase", "--skip-read-only", "--no-subfolders",
                             "--relaxed-styles", "--reference-path", "--style KIND", "--style-set", "--ada-version LEVEL",
                             "--list-unchecked-style",
                             "--format", "--report", "--log", "--settings", "-q", "--help", "--version",
                             "--show-suppressed", "--list-rules", "--explain ID", "--fail-on LIST", "--baseline FILE",
                             "--write-baseline FILE", "[OPTIONS] [ROOT]"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    EXPECT_NE(usage.find(image(kind)), std::string::npos) << image(kind);
  }
  EXPECT_EQ(usage.find("NO_STYLE_CHECKS"), std::string::npos);
}

TEST(ProgramTexts, VersionNamesTheProduct) {
  const std::string version = version_text();
  EXPECT_TRUE(version.starts_with("Flawseek " FLAWSEEK_EXPECTED_VERSION "\n")) << version;
  EXPECT_NE(version.find("Copyright"), std::string::npos);
}

TEST(Program, HelpAndVersionSucceed) {
  const ProgramRun help = run_flawseek("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output, usage_text());
  const ProgramRun version = run_flawseek("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, version_text());
}

TEST(Program, UsageErrorsExitWithTwoAndAHint) {
  const ProgramRun run = run_flawseek("--style no_such_kind");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output,
            "flawseek: unknown style kind 'no_such_kind' (see --help for the list)\n"
            "Try 'flawseek --help' for more information.\n");
  const ProgramRun server = run_flawseek("lsp --port 9");
  EXPECT_EQ(server.status, 2);
  EXPECT_EQ(server.output,
            "flawseek: the language server takes no argument but --stdio, not '--port'\n"
            "Try 'flawseek --help' for more information.\n");
}

TEST(Program, ShowJobPrintsTheJobTheFlagsDescribe) {
  const ProgramRun run = run_flawseek("--show-job --no-subfolders --style-set tavik --ada-version=95 /srv/ada");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("Ada Version: 95\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Search Root: /srv/ada\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Search Subfolders: off\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Default Rule Book: Tavik\n"), std::string::npos) << run.output;
}

class ProgramWithSettings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(directory_.path().empty()); }
  // A process without a terminal under a system account (a CI runner) keeps
  // its settings in the machine file, an interactive user in the user file:
  // the same text goes into both so either kind of run reads it.
  void write_settings(const std::string& text) {
    std::ofstream(user_file_) << text;
    std::ofstream(machine_file_) << text;
  }
  testing::TemporaryDirectory directory_{"cli"};
  const std::filesystem::path user_file_ = directory_ / "registry.json";
  const std::filesystem::path machine_file_ = directory_ / "machine.json";
  testing::EnvironmentVariable user_variable_{"FLAWSEEK_USER_REGISTRY", user_file_.c_str()};
  testing::EnvironmentVariable machine_variable_{"FLAWSEEK_MACHINE_REGISTRY", machine_file_.c_str()};
};

TEST_F(ProgramWithSettings, StoredJobIsReadFlagsWinAndNothingIsSaved) {
  write_settings(R"({"Software":{"Brightmoor":{"Flawseek":{
      "Search Root":"/stored/root",
      "Options":{"Gnat Extensions":1,"Search Subfolders":1,"Default Rule Book":0,"Ada Version":"2005"},
      "Style":{"No Goto Statements":1}}}}})");
  const ProgramRun run = run_flawseek("--settings --show-job --no-subfolders");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Search Root: /stored/root\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Gnat Extensions: on\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Search Subfolders: off\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Default Rule Book: None\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Ada Version: 2005\n"), std::string::npos) << run.output;
  // The flag reached neither file.
  for (const auto& file : {user_file_, machine_file_}) {
    const std::string text = testing::read_file(file);
    EXPECT_EQ(text.find("\"Search Subfolders\": 0"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"Search Subfolders\":0"), std::string::npos) << text;
  }
}

TEST_F(ProgramWithSettings, WithoutTheFlagTheStoreIsNotTouched) {
  const ProgramRun run = run_flawseek("--show-job");
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(std::filesystem::exists(user_file_));
  EXPECT_FALSE(std::filesystem::exists(machine_file_));
}

TEST_F(ProgramWithSettings, ReadingAFreshStoreCreatesNoFiles) {
  const ProgramRun run = run_flawseek("--settings --show-job");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_FALSE(std::filesystem::exists(user_file_));
  EXPECT_FALSE(std::filesystem::exists(machine_file_));
}

TEST_F(ProgramWithSettings, ABrokenSettingsFileIsReportedAndTheRunGoesOn) {
  write_settings("{ not json");
  const ProgramRun run = run_flawseek("--settings --show-job");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Search Subfolders: on\n"), std::string::npos) << run.output;
  // --settings only reads: the broken file is reported and left where it is.
  EXPECT_NE(run.output.find("is not a valid settings file (a JSON object); default settings are used and the file"
                            " is left unchanged"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(testing::read_file(user_file_), "{ not json");
  for (const auto& entry : std::filesystem::directory_iterator(directory_.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".corrupt-"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace flawseek
