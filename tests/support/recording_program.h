// A program that only writes down how it was started: a test's stand-in for
// an editor or another program the code under test starts.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/wait_until.h"

namespace flawseek::testing {

// Writes at `program` a shell script that puts its arguments, one a line,
// into `arguments` (whole or not at all: a reader never sees half).
inline void write_recording_program(const std::filesystem::path& program, const std::filesystem::path& arguments) {
  const std::string part = arguments.string() + ".part";
  std::ofstream(program) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << shell_quoted(part) << "\nmv "
                         << shell_quoted(part) << " " << shell_quoted(arguments.string()) << "\n";
  ::chmod(program.c_str(), 0755);
}

}  // namespace flawseek::testing
