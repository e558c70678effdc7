// flawseek-gui's command line: what each line asks for, and the answers the
// program gives without a window, where there is no display at all.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gui_arguments.h"
#include "support/file_text.h"
#include "support/temporary_directory.h"

namespace flawseek {
namespace {

TEST(GuiArguments, EachLineAsksForWhatItSaysAndARootIsMadeAbsolute) {
  testing::TemporaryDirectory directory{"gui-arguments"};
  const std::string here = directory.path().string();
  std::filesystem::create_directories(directory.path() / "src");
  std::filesystem::create_directories(directory.path() / "-odd");
  using Action = GuiArguments::Action;
  struct Case {
    std::vector<std::string> line;
    Action action;
    std::optional<std::string> root;
    bool search;
    std::string message;
    bool with_usage = false;
    bool qt_option = false;
  };
  const std::vector<Case> cases = {
      {{}, Action::Run, std::nullopt, false, ""},
      {{"src/", "--search"}, Action::Run, here + "/src", true, ""},
      {{"--screenshot", "p.png", "./src/../src/*.adb"}, Action::Run, here + "/src/*.adb", false, ""},
      {{"--", "-odd"}, Action::Run, here + "/-odd", false, ""},
      {{"missing", "--help", "--bogus"}, Action::Help, std::nullopt, false, ""},
      {{"--version", "--bogus"}, Action::Version, std::nullopt, false, ""},
      {{"--bogus"}, Action::Fail, std::nullopt, false, "unknown option '--bogus'", true},
      {{"-platform", "offscreen"}, Action::Fail, std::nullopt, false, "unknown option '-platform'", true, true},
      {{"--style=fusion"}, Action::Fail, std::nullopt, false, "unknown option '--style=fusion'", true, true},
      {{"src", "src"}, Action::Fail, std::nullopt, false, "one DIR only: 'src' and 'src'", true},
      {{"--screenshot"}, Action::Fail, std::nullopt, false, "--screenshot needs a FILE", true},
      {{"missing"}, Action::Fail, std::nullopt, false, "'missing' does not exist: no directory to search"},
  };
  for (const Case& one : cases) {
    std::string shown;
    for (const std::string& word : one.line) shown += word + " ";
    SCOPED_TRACE(shown);
    const GuiArguments parsed = parse_gui_arguments(one.line, here);
    EXPECT_EQ(parsed.action, one.action);
    EXPECT_EQ(parsed.root, one.root);
    EXPECT_EQ(parsed.search, one.search);
    EXPECT_EQ(parsed.message, one.message);
    EXPECT_EQ(parsed.with_usage, one.with_usage);
    EXPECT_EQ(parsed.qt_option, one.qt_option);
  }
}

struct Answer {
  int status = -1;
  std::string out;
  std::string err;
};

Answer run(const std::string& command, const std::filesystem::path& err_file) {
  Answer answer;
  if (FILE* pipe = ::popen((command + " 2>'" + err_file.string() + "'").c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) answer.out.append(buffer, n);
    const int status = ::pclose(pipe);
    answer.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  answer.err = testing::read_file(err_file);
  return answer;
}

TEST(GuiProgram, AnswersHelpVersionAndWrongLinesWithoutADisplay) {
  testing::TemporaryDirectory directory{"gui-program"};
  const std::filesystem::path err_file = directory.path() / "stderr";
  // The version reads as the command line's, under the window's name.
  const std::string cli_version = run(FLAWSEEK_BINARY_DIR "/app/cli/flawseek --version", err_file).out;
  ASSERT_NE(cli_version.find(' '), std::string::npos) << cli_version;
  const std::string version = "flawseek-gui" + cli_version.substr(cli_version.find(' '));
  struct Case {
    std::string arguments;
    int status;
    std::string out;  // the whole of standard output
    std::string err;  // and of standard error
  };
  const std::vector<Case> cases = {
      {"--version", 0, version, ""},
      {"--help", 0, gui_usage_text(), ""},
      {"--bogus", 2, "", "flawseek-gui: unknown option '--bogus'\n\n" + gui_usage_text()},
      {"/no/such/dir", 2, "", "flawseek-gui: '/no/such/dir' does not exist: no directory to search\n"},
  };
  const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " FLAWSEEK_BINARY_DIR
                              "/app/gui/flawseek-gui ";
  for (const Case& one : cases) {
    SCOPED_TRACE(one.arguments);
    const Answer answer = run(program + one.arguments, err_file);
    EXPECT_EQ(answer.status, one.status);
    EXPECT_EQ(answer.out, one.out);
    EXPECT_EQ(answer.err, one.err);
  }
}

}  // namespace
}  // namespace flawseek
