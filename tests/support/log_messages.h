// The messages of a log file's records (the text after "(thread) => "), for
// tests that check what a run logged without caring when or on which thread.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "file_text.h"

namespace flawseek::testing {

inline std::vector<std::string> log_messages(const std::filesystem::path& log) {
  std::vector<std::string> messages;
  for (const std::string& line : read_lines(log)) {
    const std::size_t arrow = line.find(") => ");
    if (arrow != std::string::npos) messages.push_back(line.substr(arrow + 5));
  }
  return messages;
}

}  // namespace flawseek::testing
