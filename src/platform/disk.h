// The face of the file system that the walk, the source readers and the report
// writer see: a few whole-file and whole-directory operations, so tests can
// put an in-memory tree with failures of their choosing behind it.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/file_io.h"  // not_a_regular_file, file_error_text

namespace flawseek {

// What a directory entry or a path is. A listing may say Link or Unknown
// (some file systems tell no kinds); a status, which follows links, never does.
enum class FileKind : std::uint8_t { Regular, Directory, Link, Other, Unknown };

// What a path leads to, symbolic links followed.
struct PathStatus {
  FileKind kind = FileKind::Other;
  bool writable = false;  // some write permission bit is set
  // Together they tell one directory reached by two paths.
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  // The last change, for caches of listings.
  std::int64_t modified_seconds = 0;
  std::int64_t modified_nanoseconds = 0;
};

// Hears a directory's entries, in the order the directory gives them.
class EntryVisitor {
 public:
  virtual ~EntryVisitor() = default;
  virtual void on_entry(std::string_view name, FileKind kind) = 0;
};

// How a listing went: 0, or the errno of the directory that could not be
// opened (nothing listed) or of the listing that broke off (what came before
// was listed).
struct ListingOutcome {
  int open_error = 0;
  int read_error = 0;
};

// Where a reader's files land, one after another. The bytes grow when a file
// is larger than any before but are never shrunk or cleared (their size is
// the room, not the text), so one room serves file after file without being
// allocated and zeroed again. The real disk also keeps here the directory of
// the last file read, so that the next file of it is found by its name alone;
// that directory stays open until the room is released or destroyed.
class FileRoom {
 public:
  FileRoom() = default;
  FileRoom(const FileRoom&) = delete;
  FileRoom& operator=(const FileRoom&) = delete;
  ~FileRoom() { release(); }

  std::string_view text() const { return {bytes.data(), length}; }
  // Closes the directory kept open, so that nothing stays busy (a drive
  // holding it could not be unmounted) while the room waits for more files.
  void release() noexcept;

  std::string bytes;
  std::size_t length = 0;  // of the last file read into the start of bytes

 private:
  friend class RealDisk;
  std::string kept_directory_;  // with its final '/'
  int kept_directory_fd_ = -1;
};

// Writes a file's contents to its stream; it tells a failure of its own by
// leaving the stream failed.
using FileWriter = std::function<void(std::ostream&)>;

class Disk {
 public:
  virtual ~Disk() = default;

  // Tells `visitor` each entry of the directory at `path` but "." and "..".
  virtual ListingOutcome list_directory(const std::string& path, EntryVisitor& visitor) = 0;

  // 0 with `status` filled, or the errno of the failure.
  virtual int status(const std::string& path, PathStatus& status) = 0;

  // Appends the whole contents of the regular file at `path` to `text`.
  // 0, or the errno of the failed open or read, or not_a_regular_file; `text`
  // is then left as it was. A FIFO that nobody writes never hangs the caller.
  virtual int read_file(const std::string& path, std::string& text) = 0;

  // Reads the whole regular file at `path` into the start of `room`. 0, or
  // the failure as read_file tells it (the room's length is then 0).
  virtual int read_into_room(const std::string& path, FileRoom& room) = 0;

  // Writes what `writer` writes to `path`: a regular file (or a new one) is
  // written beside its final place and renamed over it only when complete,
  // so a failure never destroys what was there; a link is replaced at its
  // target, and a device or pipe is written in place. 0, or the errno of the
  // failure (EIO when the writer failed on its own).
  virtual int write_file(const std::string& path, const FileWriter& writer) = 0;
};

// The disk every reader and writer uses: the real file system unless a test
// has put another in its place. One instance for the process rather than a
// reference handed down: the readers sit in four layers (the walk, the
// parser's line reader, the checker, the report writer), and a program only
// ever has one file system.
Disk& disk() noexcept;

// Puts `replacement` in the place of the disk for the life of this object (a
// test's). Swapped before the threads that use the disk start, never under
// them.
class ScopedDisk {
 public:
  explicit ScopedDisk(Disk& replacement) noexcept;
  ScopedDisk(const ScopedDisk&) = delete;
  ScopedDisk& operator=(const ScopedDisk&) = delete;
  ~ScopedDisk();

 private:
  Disk* previous_;
};

}  // namespace flawseek
