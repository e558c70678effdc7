// One settings file on disk (one root of the settings store): a JSON document
// that is cached, re-read when the file changes, and changed only by
// read-modify-write under an advisory lock with an atomic rename, so concurrent
// processes never lose each other's values and a crash never leaves half a file.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace flawseek {

using SettingsDocument = nlohmann::ordered_json;

class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }

  // A store opened only to read leaves a corrupt file where it is: it is
  // reported and counts as empty and read-only, but never moved aside.
  void set_keep_in_place(bool keep) noexcept { keep_in_place_ = keep; }

  // The document as the file holds it now (an empty object when the file does
  // not exist). A file that is not a JSON object is moved aside to
  // "<file>.corrupt-<time>" and a warning is appended to `warnings`; the
  // document is then empty. A pipe or device is neither read nor moved: it
  // counts as empty and read-only. Never throws.
  const SettingsDocument& document(std::vector<std::string>& warnings);

  // True when the file exists but cannot be replaced: it has no write
  // permission bit at all, this process may not write it or its directory, or
  // it could not be read or moved aside (writing would destroy what it holds).
  bool is_read_only(std::vector<std::string>& warnings);

  enum class UpdateResult { Written, Unchanged, Failed };
  // Locks the file, reads it afresh, lets `change` edit the document (it
  // returns false when it changed nothing) and writes the result through a
  // temporary file renamed into place. Failed when the file is read-only or any
  // step of the write fails; the file is then as it was. An exception thrown by
  // `change` propagates and nothing is written.
  UpdateResult update(const std::function<bool(SettingsDocument&)>& change, std::vector<std::string>& warnings);

 private:
  // Identity of the file's contents as stat reports them.
  struct Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified_ns = 0;
    bool operator==(const Stamp&) const = default;
  };

  static Stamp stamp_of(const struct stat& info);
  void refresh(std::vector<std::string>& warnings, bool force);
  void load(std::vector<std::string>& warnings);
  void move_aside(std::vector<std::string>& warnings);
  // Waits for the lock that every writer of this file holds while it reads,
  // changes and replaces it; invalid when it cannot be had.
  int lock_for_writing() const;
  bool write_atomically(const std::string& text);

  std::filesystem::path path_;
  SettingsDocument document_ = SettingsDocument::object();
  Stamp stamp_;
  bool loaded_ = false;
  // The file exists but its contents could not be taken over (unreadable, or
  // corrupt and not movable): it must never be replaced.
  bool untouchable_ = false;
  bool keep_in_place_ = false;
  // update() holds the writers' lock: a corrupt file met then is moved
  // aside under that lock, not under a second one.
  bool holding_lock_ = false;
};

}  // namespace flawseek
