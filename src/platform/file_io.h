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

// The failure of read_whole_file for a path that is no regular file once open
// (a FIFO, socket or device put there after the walk looked at it).
inline constexpr int not_a_regular_file = -1;

// Appends the whole contents of the regular file at `path` to `text`. Returns
// 0, or the errno of the failed open or read, or not_a_regular_file; `text` is
// then left as it was. The file is opened without blocking, so a FIFO that
// nobody writes never hangs the caller.
int read_whole_file(const std::string& path, std::string& text);

// Opens `path` for reading without waiting (opening a FIFO for reading would
// wait for a writer). 0, or the errno of the failed open.
int open_for_reading(const std::string& path, int& fd);

// Reads the regular file open on `fd` into the start of `room`, and sets
// `length` to the number of bytes read. `room` grows when too small but is
// never shrunk. 0, or the failure as read_whole_file tells it (`length` is
// then meaningless). A pipe, device or directory is refused as by
// read_whole_file.
int read_open_file_into_room(int fd, std::string& room, std::size_t& length);

// A readable text for a failure of read_whole_file.
std::string file_error_text(int error);

}  // namespace flawseek
