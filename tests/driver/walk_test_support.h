// Temporary source trees for the walk and search tests.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

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
  ~TempTree() { remove_at(AT_FDCWD, root_.c_str()); }
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
  // Removes a tree relative to a directory descriptor, so paths beyond the
  // system's limit and directories a test made unreadable go too.
  static void remove_at(int parent, const char* name) {
    struct stat info;
    if (::fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISDIR(info.st_mode)) {
      ::unlinkat(parent, name, 0);
      return;
    }
    ::fchmodat(parent, name, 0755, 0);
    int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0) {
      if (DIR* dir = ::fdopendir(fd)) {
        std::vector<std::string> names;
        while (const dirent* d = ::readdir(dir))
          if (std::string_view(d->d_name) != "." && std::string_view(d->d_name) != "..") names.emplace_back(d->d_name);
        for (const std::string& entry : names) remove_at(::dirfd(dir), entry.c_str());
        ::closedir(dir);
      } else {
        ::close(fd);
      }
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
  }

  std::string root_;
};

}  // namespace flawseek::testing
