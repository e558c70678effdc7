// Whole-file reading and writing on descriptors and paths.
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

int read_whole_file(const std::string& path, std::string& text) {
  // O_NONBLOCK: opening a FIFO for reading would wait for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return S_ISDIR(info.st_mode) ? EISDIR : not_a_regular_file;
  }
  const std::size_t old_size = text.size();
  // The size is only a hint (the file may grow); it spares the string its
  // regrowth on large sources.
  if (info.st_size > 0) text.reserve(old_size + static_cast<std::size_t>(info.st_size));
  int error = read_all(fd, text) ? 0 : errno;
  ::close(fd);
  if (error != 0) text.resize(old_size);
  return error;
}

std::string file_error_text(int error) {
  if (error == not_a_regular_file) return "not a regular file";
  return std::strerror(error);
}

}  // namespace flawseek
