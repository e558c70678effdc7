// Temporary source trees for the walk and search tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace flawseek::testing {

// A directory under the system's temporary directory, removed with everything
// in it when the test ends.
class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "flawseek-walk-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary directory";
    root_ = pattern;
  }
  ~TempTree() {
    std::error_code ec;
    // Give back permissions taken away by a test, so everything can go.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0755);
    std::filesystem::remove_all(root_, ec);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

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
  std::string root_;
};

}  // namespace flawseek::testing
