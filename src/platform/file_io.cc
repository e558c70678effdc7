// Whole-file reading and writing on descriptors and paths.
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace flawseek {

bool write_all(int fd, std::string_view data) {
  const char* next = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

bool read_all(int fd, std::string& text) {
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

int open_for_reading(const std::string& path, int& fd) {
  fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  return fd < 0 ? errno : 0;
}

namespace {

// Reads what is left of `fd` straight into `text` from `size` on (a bounce
// buffer would copy every byte twice), moving `size` to the end of what was
// read. `text` grows when full but never shrinks: its bytes past `size` are
// left as they were. `expected` (the size the file had when opened) is only
// where to start; a file that grows is read on.
bool read_into(int fd, std::string& text, std::size_t& size, std::size_t expected) {
  // One byte of room beyond the expected end, so that the end of the file is
  // seen without growing the text.
  constexpr std::size_t least_room = 4096;
  if (text.size() < size + expected + 1) text.resize(size + std::max(expected + 1, least_room));
  const std::size_t start = size;
  for (;;) {
    // Full: the file grew since it was opened (or told no size).
    if (size == text.size()) text.resize(size + std::max(size, least_room));
    const std::size_t asked = text.size() - size;
    const ssize_t got = ::read(fd, text.data() + size, asked);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    size += static_cast<std::size_t>(got);
    // A regular file that gave less than asked, and exactly the length it
    // had when opened, is at its end: asking again would only hear so.
    if (static_cast<std::size_t>(got) < asked && size - start == expected) return true;
  }
}

// The size of the regular file open on `fd`: 0, or the errno of the failed
// fstat, or not_a_regular_file (EISDIR for a directory).
int regular_file_size(int fd, std::size_t& size) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return S_ISDIR(info.st_mode) ? EISDIR : not_a_regular_file;
  size = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
  return 0;
}

// Opens the regular file at `path` for reading into `fd`: 0, or the failure
// as open_for_reading or regular_file_size tells it.
int open_regular_file(const std::string& path, int& fd, std::size_t& size) {
  if (const int error = open_for_reading(path, fd); error != 0) return error;
  if (const int error = regular_file_size(fd, size); error != 0) {
    ::close(fd);
    return error;
  }
  return 0;
}

// Reads the file at `path` into `text` from `size` on; `size` ends at the
// end of what was read. The descriptor is closed however the read ends.
int read_file_into(const std::string& path, std::string& text, std::size_t& size) {
  int fd = -1;
  std::size_t expected = 0;
  if (const int error = open_regular_file(path, fd, expected); error != 0) return error;
  int error = 0;
  try {
    error = read_into(fd, text, size, expected) ? 0 : errno;
  } catch (...) {
    // No room for the text (a file larger than memory): the descriptor
    // must not outlive the failure.
    ::close(fd);
    throw;
  }
  ::close(fd);
  return error;
}

}  // namespace

int read_whole_file(const std::string& path, std::string& text) {
  const std::size_t old_size = text.size();
  std::size_t end = old_size;
  int error = 0;
  try {
    error = read_file_into(path, text, end);
  } catch (...) {
    text.resize(old_size);
    throw;
  }
  text.resize(error == 0 ? end : old_size);
  return error;
}

// Sources are read by the thousand, and nearly every one fits the room the
// files before it left: a read that comes back short and one that hears the
// end then tell the whole story, which saves asking the file's kind and size
// (an fstat costs more than the second read). Anything else (a full room,
// nothing read, a failure) is asked about as any file is, so pipes, devices
// and directories are refused as before, and a regular file is read on from
// where the quick reads left it.
int read_open_file_into_room(int fd, std::string& room, std::size_t& length) {
  length = 0;
  constexpr std::size_t least_room = 65536;
  if (room.size() < least_room) room.resize(least_room);
  const ssize_t got = ::read(fd, room.data(), room.size());
  if (got > 0) length = static_cast<std::size_t>(got);
  if (got > 0 && length < room.size()) {
    const ssize_t more = ::read(fd, room.data() + length, room.size() - length);
    if (more == 0) return 0;
    if (more > 0) length += static_cast<std::size_t>(more);
  }
  std::size_t size = 0;
  if (const int error = regular_file_size(fd, size); error != 0) return error;
  return read_into(fd, room, length, size > length ? size - length : 0) ? 0 : errno;
}

std::string file_error_text(int error) {
  if (error == not_a_regular_file) return "not a regular file";
  return std::strerror(error);
}

}  // namespace flawseek
