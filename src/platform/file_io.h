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

// Reads the whole contents of the regular file at `path` into the start of
// `room`, and sets `length` to the number of bytes read. `room` grows when too
// small but is never shrunk or cleared (its size is the room, not the text),
// so one room serves file after file without being allocated and zeroed
// again. Returns 0, or the failure as read_whole_file returns it (`length`
// is then 0).
// Each thread keeps the directory of the last file it read so open (see
// file_io.cc): the next file of that directory is found by its name alone.
int read_whole_file_into_room(const std::string& path, std::string& room, std::size_t& length);

// Closes the directory the calling thread keeps open for
// read_whole_file_into_room, so that no directory stays busy after a search
// (a drive holding it could not be unmounted). A thread's directory is
// closed when the thread ends anyway.
void forget_source_directory() noexcept;

// A readable text for a failure of read_whole_file.
std::string file_error_text(int error);

}  // namespace flawseek
