// Writing reports safely to disk.
#include "findings/report_writers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <streambuf>
#include <string>

#include "platform/file_io.h"

namespace flawseek {

namespace {

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

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
  throw ReportWriteError("Cannot write the report " + path.string() + ": " + std::strerror(error));
}

// Runs the writer on an open descriptor; returns 0 or the errno of the failure.
int write_to(int fd, const ReportWriter& writer) {
  DescriptorBuffer buffer(fd);
  std::ostream out(&buffer);
  try {
    writer(out);
    check_report_stream(out);
  } catch (const ReportWriteError&) {
    return buffer.error() != 0 ? buffer.error() : EIO;
  }
  return buffer.error();
}

}  // namespace

void check_report_stream(std::ostream& out) {
  out.flush();
  if (!out) throw ReportWriteError("The report could not be written");
}

void save_report(const FindingsList& findings, const std::filesystem::path& path, std::string_view date_and_time,
                 const FindingsReportFormat& format) {
  save_written_report(path, [&](std::ostream& out) { format(findings, date_and_time, out); });
}

void save_written_report(const std::filesystem::path& path, const ReportWriter& writer) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(path, ec);

  // A device, pipe or other special file (/dev/stdout, /dev/full) is written
  // in place: it cannot be replaced by renaming.
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    if (std::filesystem::is_directory(status)) fail(path, EISDIR);
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) fail(path, errno);
    int error = write_to(fd, writer);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) fail(path, error);
    return;
  }

  // A regular file (or a new one): write a temporary file beside the final
  // one and rename it into place. A symbolic link is replaced at its target.
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved;
  }
  mode_t mode = 0666;  // narrowed by the umask for a new file
  struct stat existing;
  bool replacing = ::stat(target.c_str(), &existing) == 0;
  if (replacing) {
    // Renaming would get past a write-protected report; refuse as opening would.
    if (::access(target.c_str(), W_OK) != 0) fail(path, errno);
    mode = existing.st_mode & 07777;
  }

  static std::atomic<unsigned> serial{0};
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) fail(path, errno);
  }
  if (fd < 0) fail(path, EEXIST);
  if (replacing) ::fchmod(fd, mode);  // the umask must not narrow an existing file's mode

  int error = write_to(fd, writer);
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    fail(path, error);
  }
}

}  // namespace flawseek
