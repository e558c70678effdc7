// Whole-file helpers for tests: a file's bytes or lines as they are on disk,
// writing a file's text, and the names in a directory with a given prefix.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace flawseek::testing {

// The file's bytes as they are on disk; empty when it cannot be read.
inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

inline std::vector<std::string> read_lines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Names in `directory` that begin with `prefix`.
inline std::vector<std::filesystem::path> files_starting_with(const std::filesystem::path& directory,
                                                              const std::string& prefix) {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) found.push_back(entry.path());
  }
  return found;
}

}  // namespace flawseek::testing
