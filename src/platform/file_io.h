// Whole-file reading and writing on descriptors and paths: short transfers
// and interrupted calls are resumed, failures are told by errno, not thrown.
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

// Writes all of `data` to `fd`. On failure returns false with errno telling why
// (what was written before the failure stays written).
bool write_all(int fd, std::string_view data);

// Appends everything left to read from `fd` to `text`. On failure returns false
// with errno telling why; the bytes read before the failure stay appended.
bool read_all(int fd, std::string& text);

// Appends the whole contents of the file at `path` to `text`. Returns 0, or the
// errno of the failed open or read, in which case `text` is left as it was.
int read_whole_file(const std::string& path, std::string& text);

}  // namespace flawseek
