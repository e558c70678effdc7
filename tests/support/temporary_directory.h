// A fresh directory under the system's temporary directory for one test,
// removed with everything in it afterwards.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek::testing {

class TemporaryDirectory {
 public:
  // Named flawseek-<purpose>-XXXXXX, so a directory a crashed test left
  // behind tells which tests made it.
  explicit TemporaryDirectory(const std::string& purpose = "test") {
    std::string pattern = (std::filesystem::temp_directory_path() / ("flawseek-" + purpose + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    } else {
      ADD_FAILURE() << "cannot create a temporary directory from " << pattern;
    }
  }
  ~TemporaryDirectory() {
    if (!path_.empty()) remove_tree(AT_FDCWD, path_.c_str());
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  // Removes a tree relative to a directory descriptor, so paths beyond the
  // system's limit and directories or files a test made unreadable or
  // write-protected go too.
  static void remove_tree(int parent, const char* name) {
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
        for (const std::string& entry : names) remove_tree(::dirfd(dir), entry.c_str());
        ::closedir(dir);
      } else {
        ::close(fd);
      }
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
  }

  std::filesystem::path path_;
};

}  // namespace flawseek::testing
