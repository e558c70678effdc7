// Where the harnesses write the files a run needs: memory-backed when the
// system has /dev/shm, since reports and settings are synced to disk on
// every write and a disk would make the fuzzer crawl.
#pragma once

#include <filesystem>
#include <system_error>

namespace flawseek::fuzzing {

inline std::filesystem::path scratch_root() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

}  // namespace flawseek::fuzzing
