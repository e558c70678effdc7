// The diagnostic log: a monitor every thread may call, writing one record per
// line ("<seconds since local midnight> (<thread>) => <message>") to the file
// the settings name, with a header and record-count rotation into one backup.
#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace flawseek {

class SettingsStore;

// The backup of a log file: "_2" inserted before the last "." of the file's
// name ("run.log" -> "run_2.log"), or appended when the name has none
// ("trace" -> "trace_2"). Dots in directory names do not count.
std::filesystem::path log_backup_file_name(const std::filesystem::path& log_file);

class Log {
 public:
  // Lines per file when the settings name none.
  static constexpr std::uint32_t default_limit = 100000;

  // Disabled until initialize or open.
  Log() = default;
  ~Log();
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;

  // Reads "Log" (the file) and "Log Limit" under the key
  // Software\Brightmoor\<product name>, first in the user root, then in the
  // machine root (the key is opened, never created; a missing "Log Limit" gives
  // default_limit and is not written back); the store's current root and key
  // are restored afterwards. Without a "Log" value logging stays disabled,
  // silently. Then opens as open() does, logs the warnings the store has
  // queued and keeps logging the store's warnings (the store must outlive
  // this log).
  void initialize(SettingsStore& store, bool flush_each_record = false);

  // Creates (truncates) `file`, deletes an old backup when `limit` is not 0
  // (0 = unlimited) and writes the header. A file that cannot be created
  // leaves logging disabled and sets warning(); nothing is thrown. A pipe or
  // device is logged into without limit: it is never moved aside.
  void open(const std::filesystem::path& file, std::uint32_t limit, bool flush_each_record = false);

  // Appends one record; nothing when disabled. Line breaks in `message`
  // become blanks so that one record stays one line. Never throws: a log that
  // can no longer be written disables itself with a warning.
  void put(std::string_view message) noexcept;

  // "<place>: Exception = <what()>", or "<place>: Unknown Exception" when the
  // error has no description.
  void put_exception(std::string_view place, const std::exception& error) noexcept;
  // The same for whatever `error` holds (for catch (...) handlers).
  void put_exception(std::string_view place, std::exception_ptr error) noexcept;

  bool is_enabled() const;
  // Why logging is disabled although a log file was named ("" otherwise), so
  // the window can show it; also written once to standard error.
  std::string warning() const;
  std::uint32_t record_count() const;
  std::uint32_t limit() const;
  std::filesystem::path file_name() const;
  // Empty when the limit is 0.
  std::filesystem::path backup_file_name() const;

  // Closes the file; logging is disabled until the next open.
  void close();

 private:
  void open_locked(const std::filesystem::path& file, std::uint32_t limit, bool flush_each_record);
  void write_record(std::string_view message);
  bool rotate();
  void disable(std::string warning);
  void close_locked();

  // Recursive: the store's warnings reach put() through a listener, which may
  // run while initialize() holds the monitor.
  mutable std::recursive_mutex mutex_;
  std::filesystem::path file_name_;
  std::filesystem::path backup_file_name_;
  int file_ = -1;
  std::uint32_t record_count_ = 0;
  std::uint32_t limit_ = default_limit;
  bool enabled_ = false;
  bool flush_each_record_ = false;
  std::string warning_;
  SettingsStore* listened_store_ = nullptr;
  std::string line_;  // reused for every record
};

// The process-wide log of the application.
Log& process_log();

}  // namespace flawseek
