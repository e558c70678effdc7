// The process's list of temporary files, under a lock of its own.
#include "platform/temporary_files.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace flawseek {

namespace {

std::mutex& files_lock() {
  static std::mutex lock;
  return lock;
}

std::vector<std::string>& files() {
  static std::vector<std::string> tracked;
  return tracked;
}

}  // namespace

void track_temporary_file(const std::string& path) {
  std::lock_guard lock(files_lock());
  files().push_back(path);
}

void forget_temporary_file(const std::string& path) {
  std::lock_guard lock(files_lock());
  auto& tracked = files();
  if (const auto found = std::find(tracked.begin(), tracked.end(), path); found != tracked.end()) tracked.erase(found);
}

void remove_temporary_files() noexcept {
  std::lock_guard lock(files_lock());
  for (const std::string& path : files()) ::unlink(path.c_str());
  files().clear();
}

}  // namespace flawseek
