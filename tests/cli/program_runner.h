// Running the built flawseek program for end-to-end tests: in a chosen
// directory, with its standard output and standard error kept apart, and
// temporary copies of the fixture trees to run it on.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../support/file_text.h"
#include "../support/temporary_directory.h"

namespace flawseek::testing {

inline std::string flawseek_program() { return std::string(FLAWSEEK_BINARY_DIR) + "/app/cli/flawseek"; }

inline void replace_all(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// A temporary directory that can hold copies of the fixture trees.
class ScratchDirectory : public TemporaryDirectory {
 public:
  ScratchDirectory() : TemporaryDirectory("e2e") {}

  // Copies a fixture tree (tests/fixtures/trees/<name>) into this directory
  // under the same name and returns the copy's path.
  std::filesystem::path copy_tree(const std::string& name) const {
    const std::filesystem::path target = path() / name;
    std::filesystem::copy(std::filesystem::path(FLAWSEEK_FIXTURES) / "trees" / name, target,
                          std::filesystem::copy_options::recursive);
    return target;
  }
};

struct ProgramResult {
  int status = -1;     // exit status, or -1 when it did not exit normally
  std::string out;     // standard output
  std::string err;     // standard error
};

// The output_file of run_program that starts the program with its standard
// output closed.
inline const std::string closed_output = "<closed>";

// Runs flawseek with `arguments` in `directory`. `while_running`, when given,
// is called with the child's process id after it has started. Standard
// output goes to `output_file` when one is named (result.out stays empty).
inline ProgramResult run_program(const std::vector<std::string>& arguments, const std::filesystem::path& directory,
                                 const std::function<void(pid_t)>& while_running = {},
                                 const std::string& output_file = {}) {
  ProgramResult result;
  ScratchDirectory streams;
  const std::string out_file = output_file.empty() ? (streams.path() / "out").string() : output_file;
  const std::string err_file = (streams.path() / "err").string();
  const std::string program = flawseek_program();

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) return result;
  if (child == 0) {
    const bool closed = output_file == closed_output;
    const int out = closed ? -1 : ::open(out_file.c_str(), O_WRONLY | O_CREAT | (output_file.empty() ? O_TRUNC : 0), 0644);
    const int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if ((out < 0 && !closed) || err < 0 || ::chdir(directory.c_str()) != 0) ::_exit(127);
    ::dup2(err, STDERR_FILENO);
    if (closed) {
      ::close(STDOUT_FILENO);
    } else {
      ::dup2(out, STDOUT_FILENO);
    }
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  if (while_running) while_running(child);
  int raw = 0;
  while (::waitpid(child, &raw, 0) < 0) {
  }
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  if (output_file.empty() || output_file == closed_output) result.out = read_file(out_file);
  result.err = read_file(err_file);
  return result;
}

}  // namespace flawseek::testing
