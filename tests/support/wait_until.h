// Polling for a state another thread brings about (the window's event loop,
// a search, a program started), for tests that drive them from outside.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace flawseek::testing {

// Polls until `ready` holds; false after `limit`.
inline bool wait_until(const std::function<bool()>& ready,
                       std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Runs a shell command and returns what it printed on standard output.
inline std::string program_output(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    ::pclose(pipe);
  }
  return output;
}

// A shell word quoting `text` (which holds no single quote).
inline std::string shell_quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace flawseek::testing
