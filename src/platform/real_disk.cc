// The real file system behind the disk face: listings by readdir, statuses
// by stat, sources read relative to the directory of the one before, and
// files written beside their place and renamed in.
#include "platform/real_disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <streambuf>

#include "platform/file_io.h"

namespace flawseek {

namespace {

FileKind kind_of_entry(unsigned char type) {
  switch (type) {
    case DT_REG: return FileKind::Regular;
    case DT_DIR: return FileKind::Directory;
    case DT_LNK: return FileKind::Link;
    case DT_UNKNOWN: return FileKind::Unknown;
    default: return FileKind::Other;
  }
}

FileKind kind_of_mode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Directory;
  return FileKind::Other;
}

// A stream buffer on a file descriptor that remembers the errno of the first
// failed write, so the message can say why ("No space left on device").
class DescriptorBuffer final : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return drain() ? 0 : -1; }

 private:
  bool drain() {
    if (error_ == 0 && !write_all(fd_, std::string_view(pbase(), static_cast<std::size_t>(pptr() - pbase())))) {
      error_ = errno;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0;
  }

  int fd_;
  int error_ = 0;
  char buffer_[1 << 16];
};

// Runs the writer on an open descriptor; 0 or the errno of the failure (EIO
// when the writer failed the stream on its own).
int write_to(int fd, const FileWriter& writer) {
  DescriptorBuffer buffer(fd);
  std::ostream out(&buffer);
  writer(out);
  out.flush();
  if (buffer.error() != 0) return buffer.error();
  return out ? 0 : EIO;
}

// A device, pipe or other special file (/dev/stdout, /dev/full) cannot be
// replaced by renaming: it is written in place.
int write_in_place(const std::string& path, const FileWriter& writer) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  try {
    error = write_to(fd, writer);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

// Writes a temporary file beside `target` and renames it over `target` only
// when complete; the temporary file never outlives a failure.
int write_beside_and_rename(const std::string& target, const FileWriter& writer) {
  mode_t mode = 0666;  // narrowed by the umask for a new file
  struct stat existing;
  const bool replacing = ::stat(target.c_str(), &existing) == 0;
  if (replacing) {
    // Renaming would get past a write-protected file; refuse as opening would.
    if (::access(target.c_str(), W_OK) != 0) return errno;
    mode = existing.st_mode & 07777;
  }

  static std::atomic<unsigned> serial{0};
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) return errno;
  }
  if (fd < 0) return EEXIST;
  if (replacing) ::fchmod(fd, mode);  // the umask must not narrow an existing file's mode

  int error = 0;
  try {
    error = write_to(fd, writer);
  } catch (...) {
    ::close(fd);
    ::unlink(temporary.c_str());
    throw;
  }
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temporary.c_str());
  return error;
}

}  // namespace

ListingOutcome RealDisk::list_directory(const std::string& path, EntryVisitor& visitor) {
  ListingOutcome outcome;
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) {
    outcome.open_error = errno;
    return outcome;
  }
  try {
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir);
      if (entry == nullptr) {
        outcome.read_error = errno;
        break;
      }
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      visitor.on_entry(name, kind_of_entry(entry->d_type));
    }
  } catch (...) {
    ::closedir(dir);
    throw;
  }
  ::closedir(dir);
  return outcome;
}

int RealDisk::status(const std::string& path, PathStatus& status) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return errno;
  status.kind = kind_of_mode(info.st_mode);
  status.writable = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  status.device = info.st_dev;
  status.inode = info.st_ino;
  status.modified_seconds = info.st_mtim.tv_sec;
  status.modified_nanoseconds = info.st_mtim.tv_nsec;
  return 0;
}

int RealDisk::read_file(const std::string& path, std::string& text) { return read_whole_file(path, text); }

// Sources come directory by directory, and opening each by its full path
// looks up every directory on the way again: the room keeps the directory of
// its last source open and a source of the same directory is opened relative
// to it, one name to look up. A source that cannot be opened so is opened by
// its path after all, so any failure is the one the path itself gives.
int RealDisk::open_in_kept_directory(const std::string& path, FileRoom& room, int& fd) {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash + 1 < path.size()) {
    const std::string_view directory(path.data(), slash + 1);
    if (directory != room.kept_directory_) {
      room.release();
      room.kept_directory_fd_ = ::open(std::string(directory).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
      if (room.kept_directory_fd_ >= 0) room.kept_directory_.assign(directory);
    }
    if (room.kept_directory_fd_ >= 0) {
      fd = ::openat(room.kept_directory_fd_, path.c_str() + slash + 1, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
      if (fd >= 0) return 0;
    }
  }
  return open_for_reading(path, fd);
}

int RealDisk::read_into_room(const std::string& path, FileRoom& room) {
  room.length = 0;
  int fd = -1;
  if (const int error = open_in_kept_directory(path, room, fd); error != 0) return error;
  int error = 0;
  try {
    error = read_open_file_into_room(fd, room.bytes, room.length);
  } catch (...) {
    // No room for the text (a file larger than memory): the descriptor
    // must not outlive the failure.
    ::close(fd);
    room.length = 0;
    throw;
  }
  ::close(fd);
  if (error != 0) room.length = 0;
  return error;
}

int RealDisk::write_file(const std::string& path, const FileWriter& writer) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    if (std::filesystem::is_directory(status)) return EISDIR;
    return write_in_place(path, writer);
  }
  // A symbolic link is replaced at its target, so the link stays.
  std::string target = path;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved.string();
  }
  return write_beside_and_rename(target, writer);
}

void FileRoom::release() noexcept {
  if (kept_directory_fd_ >= 0) ::close(kept_directory_fd_);
  kept_directory_fd_ = -1;
  kept_directory_.clear();
}

}  // namespace flawseek
