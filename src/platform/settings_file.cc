// One settings file on disk: cached reading, corrupt-file handling, locked
// read-modify-write with an atomic rename.
#include "platform/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/file_io.h"

namespace flawseek {

namespace {

// A file descriptor closed on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close succeeded (a failed close can mean
  // the data never reached the disk).
  bool close_checked() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string local_time_suffix() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// The directory that holds `path` ("." for a bare name).
std::filesystem::path directory_of(const std::filesystem::path& path) {
  std::filesystem::path parent = path.parent_path();
  return parent.empty() ? std::filesystem::path(".") : parent;
}

// Settings files are a few levels deep; copying and writing a document recurse,
// so a hostile file nested thousands deep is refused like a corrupt one.
constexpr std::size_t max_nesting = 64;

// Members of one object (or elements of one array) beyond which a file is
// no settings file: the document keeps an object's members in the file's
// order and looks every new key up among those before it, so a file of
// tens of thousands of values would take seconds to read.
constexpr std::size_t max_members = 4096;

// Whether the document stays within both bounds; it is read first in a form
// that looks keys up by sorting, so that the bounds cost nothing to check.
bool within_limits(const nlohmann::json& document) {
  std::vector<std::pair<const nlohmann::json*, std::size_t>> pending{{&document, 1}};
  while (!pending.empty()) {
    auto [value, depth] = pending.back();
    pending.pop_back();
    if (!value->is_structured()) continue;
    if (depth > max_nesting || value->size() > max_members) return false;
    for (const nlohmann::json& member : *value) pending.emplace_back(&member, depth + 1);
  }
  return true;
}

// The file a write replaces: the end of a chain of symbolic links, so that a
// settings file kept elsewhere and linked into place stays linked. A dangling
// link is replaced like a missing file.
std::filesystem::path write_target(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path resolved = std::filesystem::canonical(path, error);
  return error ? path : resolved;
}

}  // namespace

SettingsFile::Stamp SettingsFile::stamp_of(const struct stat& info) {
  Stamp stamp;
  stamp.exists = true;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modified_ns = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

SettingsFile::SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

const SettingsDocument& SettingsFile::document(std::vector<std::string>& warnings) {
  refresh(warnings, false);
  return document_;
}

bool SettingsFile::is_read_only(std::vector<std::string>& warnings) {
  refresh(warnings, false);
  if (untouchable_) return true;
  if (!stamp_.exists) return false;
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return false;
  // No write bit at all marks a file its owner wants left alone; root passes
  // access() checks, so the bits are what makes read-only hold for everyone.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  if (::access(path_.c_str(), W_OK) != 0) return true;
  // Replacing the file means renaming into its directory.
  return ::access(directory_of(write_target(path_)).c_str(), W_OK) != 0;
}

void SettingsFile::refresh(std::vector<std::string>& warnings, bool force) {
  struct stat info {};
  Stamp now;
  int status_error = 0;
  if (::stat(path_.c_str(), &info) == 0) {
    now = stamp_of(info);
  } else if (errno != ENOENT) {
    status_error = errno;  // a loop of links, a directory that may not be searched
  }
  // A forced re-read guards against a change the stamp missed; an unreadable
  // file that has not changed is not read (and reported) again.
  if (loaded_ && now == stamp_ && (!force || untouchable_)) return;
  stamp_ = now;
  loaded_ = true;
  untouchable_ = false;
  document_ = SettingsDocument::object();
  if (status_error != 0) {
    // Not missing, only unreachable: passing it over in silence would leave
    // the user wondering why the settings do not take.
    untouchable_ = true;
    warnings.push_back("Settings file " + path_.string() + " cannot be read (" + file_error_text(status_error) +
                       "); its settings are not used and it is left unchanged");
    return;
  }
  if (!now.exists) return;
  // A pipe would block the read and a device (/dev/null, named to run with
  // defaults) would be moved aside as corrupt: neither is read nor replaced.
  if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
    untouchable_ = true;
    warnings.push_back("Settings file " + path_.string() +
                       " is not a regular file; its settings are not used and it is left unchanged");
    return;
  }
  load(warnings);
}

void SettingsFile::load(std::vector<std::string>& warnings) {
  std::string text;
  if (int error = read_whole_file(path_.string(), text); error != 0) {
    untouchable_ = true;
    warnings.push_back("Settings file " + path_.string() + " cannot be read (" + file_error_text(error) +
                       "); its settings are not used and it is left unchanged");
    return;
  }
  const nlohmann::json probe = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (probe.is_object() && within_limits(probe)) {
    document_ = SettingsDocument::parse(text, nullptr, /*allow_exceptions=*/false);
    return;
  }
  if (keep_in_place_) {
    untouchable_ = true;
    warnings.push_back("Settings file " + path_.string() +
                       " is not a valid settings file (a JSON object); default settings are used and the file"
                       " is left unchanged");
    return;
  }
  move_aside(warnings);
}

int SettingsFile::lock_for_writing() const {
  // The lock lives in a file of its own: the settings file is replaced by
  // rename, so a lock on it would guard an inode nobody opens any more.
  // Beside the file a write replaces, so that writers through a link and
  // through its target share it.
  std::string lock_name = write_target(path_).string() + ".lock";
  int fd = ::open(lock_name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return -1;
    }
  }
  return fd;
}

void SettingsFile::move_aside(std::vector<std::string>& warnings) {
  // Under the writers' lock, and only if the file is still the one that was
  // read: another process may have just replaced it with good settings.
  FileDescriptor lock(holding_lock_ ? -1 : lock_for_writing());
  struct stat now {};
  if (::stat(path_.c_str(), &now) != 0 || !(stamp_of(now) == stamp_)) {
    untouchable_ = true;
    stamp_ = Stamp{};  // read it afresh next time
    warnings.push_back("Settings file " + path_.string() +
                       " changed while it was read; default settings are used this time");
    return;
  }
  std::string base = path_.string() + ".corrupt-" + local_time_suffix();
  std::string target = base;
  for (int attempt = 1; attempt < 100; ++attempt) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) break;
    target = base + "-" + std::to_string(attempt);
  }
  // link + unlink would keep the target from being replaced, but rename with a
  // fresh name is enough: the name was checked just above.
  if (::rename(path_.c_str(), target.c_str()) == 0) {
    warnings.push_back("Settings file " + path_.string() +
                       " is not a valid settings file (a JSON object); it was moved to " + target +
                       " and default settings are used");
    stamp_ = Stamp{};
    return;
  }
  int error = errno;
  untouchable_ = true;
  warnings.push_back("Settings file " + path_.string() +
                     " is not a valid settings file (a JSON object) and cannot be moved aside (" +
                     std::strerror(error) + "); default settings are used and the file is left unchanged");
}

SettingsFile::UpdateResult SettingsFile::update(const std::function<bool(SettingsDocument&)>& change,
                                                std::vector<std::string>& warnings) {
  std::error_code ignored;
  std::filesystem::create_directories(directory_of(path_), ignored);

  FileDescriptor lock(lock_for_writing());
  if (!lock.valid()) return UpdateResult::Failed;
  struct Held {
    bool& flag;
    explicit Held(bool& f) : flag(f) { flag = true; }
    ~Held() { flag = false; }
  } held(holding_lock_);

  refresh(warnings, true);
  if (is_read_only(warnings)) return UpdateResult::Failed;

  SettingsDocument changed = document_;
  if (!change(changed)) return UpdateResult::Unchanged;

  std::string text;
  try {
    text = changed.dump(2) + "\n";
  } catch (const nlohmann::json::exception&) {
    return UpdateResult::Failed;  // text JSON cannot hold; callers check first
  }
  if (!write_atomically(text)) return UpdateResult::Failed;
  document_ = std::move(changed);
  // Remember the stamp of what we wrote, so the next read need not parse it.
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0) {
    stamp_ = stamp_of(info);
  } else {
    loaded_ = false;
  }
  return UpdateResult::Written;
}

bool SettingsFile::write_atomically(const std::string& text) {
  const std::filesystem::path target = write_target(path_);
  std::string temporary = target.string() + ".tmp-" + std::to_string(::getpid());
  mode_t mode = 0644;
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) mode = info.st_mode & 07777;

  FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (!file.valid()) return false;
  bool ok =
      write_all(file.get(), text) && ::fchmod(file.get(), mode) == 0 && ::fsync(file.get()) == 0;
  ok = file.close_checked() && ok;
  if (ok && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace flawseek
