// Temporary source trees for the walk and search tests.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../support/temporary_directory.h"

namespace flawseek::testing {

// A source tree in a temporary directory, removed with everything in it when
// the test ends.
class TempTree {
 public:
  TempTree() : root_(directory_.path().string()) {}

  const std::string& root() const { return root_; }
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }

  // Creates the file (and its directories) holding a line of Ada.
  void file(const std::string& relative) const {
    std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
    std::ofstream(path(relative)) << "-- " << relative << "\n";
  }
  void directory(const std::string& relative) const { std::filesystem::create_directories(path(relative)); }
  void read_only(const std::string& relative) const { ::chmod(path(relative).c_str(), 0444); }
  void symlink(const std::string& target, const std::string& relative) const {
    std::filesystem::create_symlink(target, path(relative));
  }

 private:
  TemporaryDirectory directory_{"walk"};
  std::string root_;
};

}  // namespace flawseek::testing
