// The settings store: two roots (the user's and the machine's), each a JSON file
// of nested keys holding named string and integer values, with read-with-default
// that falls back to the machine's values and writes first-read defaults back.
//
// Files: the user root is $FLAWSEEK_USER_REGISTRY, else
// $XDG_CONFIG_HOME/flawseek/registry.json (default ~/.config/flawseek/...); the
// machine root is $FLAWSEEK_MACHINE_REGISTRY, else the first entry of
// $XDG_CONFIG_DIRS (default /etc/xdg) + /flawseek/registry.json.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

// Errors of the store (Windows.Registry.*). Every operation leaves the current
// root and key as they were when it fails.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// open_key: the key does not exist, or the file holding it cannot be read.
class KeyNotFound : public RegistryError {
 public:
  KeyNotFound() : RegistryError("Windows.Registry.Key_Not_Found") {}
};
// create_key / open_application_key: the key cannot be created (read-only
// settings file, unwritable directory, or a non-key value in the way).
class KeyCreationFailure : public RegistryError {
 public:
  KeyCreationFailure() : RegistryError("Windows.Registry.Key_Creation_Failure") {}
};
// get_*: no open key, or no value of that name in it.
class EntryNotFound : public RegistryError {
 public:
  EntryNotFound() : RegistryError("Windows.Registry.Entry_Not_Found") {}
};
// set_*: no open key, a read-only settings file, a failed write, or a string
// that is not valid UTF-8 (JSON cannot hold it, so it could never be read back).
class EntryCreationFailure : public RegistryError {
 public:
  EntryCreationFailure() : RegistryError("Windows.Registry.Entry_Creation_Failure") {}
};
// get_*: the value exists with the other kind (or a kind the store does not know).
class WrongType : public RegistryError {
 public:
  WrongType() : RegistryError("Windows.Registry.Wrong_Type") {}
};
// get_string / set_string: the string is longer than max_string_length.
class Overflow : public RegistryError {
 public:
  Overflow() : RegistryError("Windows.Registry.Overflow") {}
};

// The company folder of the application key path.
enum class Company { Brightmoor, Corvane };
// "Brightmoor" / "Corvane".
std::string_view company_folder(Company company);

enum class Root { CurrentUser, LocalMachine };

// None: absent, or any JSON value that is neither a string nor an integer in the
// signed 32-bit range.
enum class ValueKind { None, Integer, String };

// The two files that stand for the two roots.
struct SettingsFiles {
  std::filesystem::path user;
  std::filesystem::path machine;
};

// The files named by the environment (see the top of this file).
SettingsFiles settings_files_from_environment();

// True when the process has no controlling terminal, no graphical session
// (DISPLAY and WAYLAND_DISPLAY unset) and runs under a system account (uid
// below 1000): such a process keeps its settings in the machine root.
bool detect_is_service();

class SettingsStore {
 public:
  // Longest string value that can be stored or read (a Linux path).
  static constexpr std::size_t max_string_length = 4096;

  // Files from the environment, Is_Service detected.
  SettingsStore();
  // Explicit files and service flag, for tests and tools.
  SettingsStore(SettingsFiles files, bool is_service);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Records the company folder and application name of the application key.
  // Must precede open_application_key; calling it again replaces both.
  void initialize(Company company, std::string_view application_name);

  bool is_service() const;
  // LocalMachine for a service, CurrentUser otherwise.
  Root default_root() const;

  // Makes `root` current. The open key, if any, stays open (it belongs to the
  // root it was opened in) until the next open_*, create_key or close.
  void select_root(Root root);
  bool root_is_local_machine() const;

  // Selects the default root, creates Software\<company>\<application><sub_path>
  // there when missing and opens it as the current key. sub_path is "" or
  // begins with a separator ("\Options").
  void open_application_key(std::string_view sub_path = "");

  // Key paths are relative to the current root, words separated by "\" (the
  // form the rest of the program uses) or "/"; leading, trailing and doubled
  // separators are ignored, so "" and "\" name the root itself. Key names match
  // exactly, or failing that without regard to ASCII letter case (keys edited
  // by hand), as registry names do.

  // Opens an existing key as the current key; KeyNotFound when it is missing.
  void open_key(std::string_view path);
  // Creates the key (and the keys above it) when missing and opens it as the
  // current key; KeyCreationFailure when that is impossible.
  void create_key(std::string_view path);
  // The open key's full path below its root, "\"-separated (e.g.
  // "Software\Brightmoor\Flawseek\Options"; "" for the root itself): after
  // select_root of the same root, open_key(current_key_name()) reopens it.
  // Empty when no key is open.
  std::string current_key_name() const;
  bool has_open_key() const;
  // Closes the current key; later reads raise EntryNotFound, writes
  // EntryCreationFailure, until a key is opened again.
  void close();

  // Writes a value in the current key (replacing a value of either kind).
  void set_string(std::string_view name, std::string_view value);
  void set_integer(std::string_view name, std::int32_t value);

  // Removes a value of either kind from the current key (a later read finds
  // it absent, or the machine's); nothing when it is absent. Raises
  // EntryCreationFailure when the file cannot be written, as set_* does.
  void remove_value(std::string_view name);

  // Reads a value of the current key; EntryNotFound when absent, WrongType for
  // the other kind, Overflow for a string longer than max_string_length.
  std::string get_string(std::string_view name);
  std::int32_t get_integer(std::string_view name);

  // Never throws.
  ValueKind value_kind(std::string_view name);
  bool exists(std::string_view name);

  // Read with default: the current key's value; when absent and not a service,
  // the value under the same key path in the machine root (returned, not copied into the
  // user's key); otherwise `default_value` is written under `name` in the
  // current key and returned. A value of the wrong kind or too long, or a
  // default that cannot be written back (read-only file), still yields the
  // default, and a stored value is never overwritten: settings never stop the
  // program. The current root and key are left as they were.
  std::string get_string(std::string_view name, std::string_view default_value);
  std::int32_t get_integer(std::string_view name, std::int32_t default_value);

  // A store that never writes (for a run that must leave the settings as they
  // are): set_* and create_key of a missing key fail as on a read-only file,
  // reads with default do not write back, and open_application_key opens a
  // missing key as an empty one instead of creating it, so the machine-wide
  // values and the defaults still serve. A corrupt file is reported and left
  // where it is.
  void set_read_only(bool read_only);
  bool is_read_only() const;

  // True when the given root's file exists but cannot be written (no write
  // permission bit at all, or not writable by this process): keys open
  // read-only and writes raise EntryCreationFailure.
  bool root_is_read_only(Root root);

  const SettingsFiles& files() const;

  // Problems the store found on its own (a settings file that is not valid JSON
  // and was moved aside). Each is written once to standard error when found and
  // handed to the listener; without a listener they wait in a queue, and
  // setting a listener delivers the queue first. The log registers itself here.
  using WarningListener = std::function<void(const std::string& warning)>;
  void set_warning_listener(WarningListener listener);
  // The queued warnings (emptying the queue).
  std::vector<std::string> take_warnings();

 private:
  struct State;
  class Call;
  std::unique_ptr<State> state_;
};

// The process-wide store of the application (files from the environment,
// Is_Service detected on first use). Each call of the store is internally
// locked, but a sequence (select root, open key, read) is not: key operations
// of several threads must not interleave, as the program's threads arrange.
SettingsStore& settings_store();

}  // namespace flawseek
