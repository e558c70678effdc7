// The diagnostic log monitor: opening from the settings, header, records,
// rotation, and the process-wide log.
#include "platform/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include "platform/environment.h"
#include "platform/file_io.h"
#include "platform/settings_store.h"

namespace flawseek {

namespace {

// Seconds since local midnight with six fraction digits, appended to `line`.
void append_time_stamp(std::string& line) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  ::localtime_r(&now.tv_sec, &local);
  unsigned long seconds = static_cast<unsigned long>(local.tm_hour) * 3600 +
                          static_cast<unsigned long>(local.tm_min) * 60 + static_cast<unsigned long>(local.tm_sec);
  unsigned long micros = static_cast<unsigned long>(now.tv_nsec) / 1000;
  char text[32];
  char* end = std::to_chars(text, text + sizeof text, seconds).ptr;
  *end++ = '.';
  char fraction[8];
  char* fraction_end = std::to_chars(fraction, fraction + sizeof fraction, micros).ptr;
  for (long pad = 6 - (fraction_end - fraction); pad > 0; --pad) *end++ = '0';
  for (char* c = fraction; c < fraction_end; ++c) *end++ = *c;
  line.append(text, end);
}

// The key the log's settings live under, in either root.
std::string log_key_path() {
  return "Software\\" + std::string(company_folder(Company::Brightmoor)) + "\\" + std::string(product_name());
}

// "Log" and "Log Limit" of one root, when its key names a log file.
struct LogSettings {
  std::string file;
  std::optional<std::int32_t> limit;
};

std::optional<LogSettings> read_log_settings(SettingsStore& store, Root root) {
  try {
    store.select_root(root);
    store.open_key(log_key_path());
    LogSettings settings;
    settings.file = store.get_string("Log");
    if (store.value_kind("Log Limit") == ValueKind::Integer) settings.limit = store.get_integer("Log Limit");
    return settings;
  } catch (const RegistryError&) {
    return std::nullopt;
  }
}

}  // namespace

std::filesystem::path log_backup_file_name(const std::filesystem::path& log_file) {
  std::string name = log_file.string();
  std::size_t name_start = name.rfind('/');
  name_start = name_start == std::string::npos ? 0 : name_start + 1;
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot < name_start) {
    name += "_2";
  } else {
    name.insert(dot, "_2");
  }
  return name;
}

Log::~Log() {
  std::lock_guard lock(mutex_);
  if (listened_store_ != nullptr) listened_store_->set_warning_listener(nullptr);
  close_locked();
}

void Log::initialize(SettingsStore& store, bool flush_each_record) {
  std::lock_guard lock(mutex_);
  bool was_local_machine = store.root_is_local_machine();
  bool had_key = store.has_open_key();
  std::string key_name = store.current_key_name();

  std::optional<LogSettings> user = read_log_settings(store, Root::CurrentUser);
  std::optional<LogSettings> machine;
  if (!user || user->file.empty() || !user->limit) machine = read_log_settings(store, Root::LocalMachine);

  store.select_root(was_local_machine ? Root::LocalMachine : Root::CurrentUser);
  try {
    if (had_key) {
      store.open_key(key_name);
    } else {
      store.close();
    }
  } catch (const RegistryError&) {
    store.close();  // the key vanished meanwhile; nothing to return to
  }

  // The file comes from the user root when it names one; a limit missing
  // there may still come from the machine root, as other settings do.
  const LogSettings* chosen = (user && !user->file.empty()) ? &*user : nullptr;
  if (chosen == nullptr && machine && !machine->file.empty()) chosen = &*machine;
  if (chosen != nullptr) {
    std::optional<std::int32_t> limit = chosen->limit;
    if (!limit && machine) limit = machine->limit;
    // A negative count means nothing sensible; it gets the default.
    std::uint32_t limit_value = (limit && *limit >= 0) ? static_cast<std::uint32_t>(*limit) : default_limit;
    open_locked(chosen->file, limit_value, flush_each_record);
  }

  for (const std::string& warning : store.take_warnings()) put(warning);
  listened_store_ = &store;
  store.set_warning_listener([this](const std::string& warning) { put(warning); });
}

void Log::open(const std::filesystem::path& file, std::uint32_t limit, bool flush_each_record) {
  std::lock_guard lock(mutex_);
  open_locked(file, limit, flush_each_record);
}

void Log::open_locked(const std::filesystem::path& file, std::uint32_t limit, bool flush_each_record) {
  close_locked();
  warning_.clear();
  file_name_ = file;
  limit_ = limit;
  flush_each_record_ = flush_each_record;
  record_count_ = 0;
  // Non-blocking only while opening: a pipe nobody reads must not hang start-up.
  file_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
  if (file_ < 0) {
    int error = errno;
    disable("Log file " + file.string() + " cannot be created (" + std::strerror(error) + "); logging is disabled");
    return;
  }
  if (int flags = ::fcntl(file_, F_GETFL); flags >= 0) ::fcntl(file_, F_SETFL, flags & ~O_NONBLOCK);
  // A pipe or a device (/dev/null) is never moved aside nor given a backup:
  // rotating it would rename something that is not ours.
  struct stat info {};
  if (::fstat(file_, &info) == 0 && !S_ISREG(info.st_mode)) limit_ = 0;
  backup_file_name_.clear();
  if (limit_ != 0) {
    backup_file_name_ = log_backup_file_name(file);
    // A backup that cannot be deleted is replaced at the first rotation anyway.
    ::unlink(backup_file_name_.c_str());
  }
  enabled_ = true;
  write_record(std::string(product_name()) + " version " + std::string(product_version()));
  write_record("Log created " + date_and_time_image(local_time()));
}

void Log::put(std::string_view message) noexcept {
  try {
    std::lock_guard lock(mutex_);
    if (!enabled_) return;
    write_record(message);
  } catch (...) {
    // Out of memory while building a line: the record is lost, nothing else.
  }
}

void Log::put_exception(std::string_view place, const std::exception& error) noexcept {
  try {
    const char* description = error.what();
    if (description == nullptr || *description == '\0') {
      put(std::string(place) + ": Unknown Exception");
    } else {
      put(std::string(place) + ": Exception = " + description);
    }
  } catch (...) {
  }
}

void Log::put_exception(std::string_view place, std::exception_ptr error) noexcept {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& known) {
    put_exception(place, known);
    return;
  } catch (...) {
  }
  try {
    put(std::string(place) + ": Unknown Exception");
  } catch (...) {
  }
}

void Log::write_record(std::string_view message) {
  if (limit_ != 0 && record_count_ >= limit_ && !rotate()) return;
  line_.clear();
  append_time_stamp(line_);
  line_ += " (";
  line_ += thread_image();
  line_ += ") => ";
  std::size_t message_start = line_.size();
  line_ += message;
  for (std::size_t i = message_start; i < line_.size(); ++i) {
    if (line_[i] == '\n' || line_[i] == '\r') line_[i] = ' ';
  }
  line_ += '\n';
  if (!write_all(file_, line_)) {
    int error = errno;
    disable("Log file " + file_name_.string() + " cannot be written (" + std::strerror(error) +
            "); logging is disabled");
    return;
  }
  if (flush_each_record_) ::fdatasync(file_);
  ++record_count_;
}

bool Log::rotate() {
  ::close(file_);
  file_ = -1;
  // A file deleted meanwhile leaves nothing to move: a fresh file starts and
  // the records go on. Any other failed move would truncate records that were
  // never saved, so logging stops instead and the file keeps them.
  if (::rename(file_name_.c_str(), backup_file_name_.c_str()) != 0 && errno != ENOENT) {
    int error = errno;
    disable("Log file " + file_name_.string() + " cannot be moved to " + backup_file_name_.string() + " (" +
            std::strerror(error) + "); logging is disabled");
    return false;
  }
  file_ = ::open(file_name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  if (file_ < 0) {
    int error = errno;
    disable("Log file " + file_name_.string() + " cannot be created (" + std::strerror(error) +
            "); logging is disabled");
    return false;
  }
  record_count_ = 0;
  std::uint32_t limit = limit_;
  limit_ = 0;  // the notice itself must not rotate again
  write_record("The log file reached it's maximum size of " + std::to_string(limit) + " records");
  write_record("These records are now stored in the file " + backup_file_name_.string());
  limit_ = limit;
  return enabled_;
}

void Log::disable(std::string warning) {
  close_locked();
  warning_ = std::move(warning);
  std::fprintf(stderr, "flawseek: %s\n", warning_.c_str());
}

void Log::close_locked() {
  if (file_ >= 0) ::close(file_);
  file_ = -1;
  enabled_ = false;
}

void Log::close() {
  std::lock_guard lock(mutex_);
  close_locked();
}

bool Log::is_enabled() const {
  std::lock_guard lock(mutex_);
  return enabled_;
}

std::string Log::warning() const {
  std::lock_guard lock(mutex_);
  return warning_;
}

std::uint32_t Log::record_count() const {
  std::lock_guard lock(mutex_);
  return record_count_;
}

std::uint32_t Log::limit() const {
  std::lock_guard lock(mutex_);
  return limit_;
}

std::filesystem::path Log::file_name() const {
  std::lock_guard lock(mutex_);
  return file_name_;
}

std::filesystem::path Log::backup_file_name() const {
  std::lock_guard lock(mutex_);
  return backup_file_name_;
}

Log& process_log() {
  // The store is made first so that it outlives the log, which listens to it.
  settings_store();
  static Log log;
  return log;
}

}  // namespace flawseek
