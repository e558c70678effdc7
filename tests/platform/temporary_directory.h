// A fresh directory under /tmp for one test, removed with everything in it
// afterwards, and small file helpers the platform tests share.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace flawseek::testing {

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    char pattern[] = "/tmp/flawseek-platform-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made != nullptr ? made : "/tmp";
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

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
