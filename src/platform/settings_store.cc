// The settings store: roots, keys and values over two settings files, the
// read-with-default with its machine-wide fallback, and the process-wide store.
#include "platform/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <mutex>

#include "platform/settings_file.h"

namespace flawseek {

namespace {

constexpr std::size_t root_index(Root root) { return root == Root::LocalMachine ? 1 : 0; }

// Key path words, separated by "\" or "/"; empty words are dropped.
std::vector<std::string> split_key_path(std::string_view path) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) words.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 0x20;
    if (y >= 'a' && y <= 'z') y -= 0x20;
    if (x != y) return false;
  }
  return true;
}

// The member of `object` called `name`: the exact name, else the first that
// matches without regard to ASCII case. Null when there is none.
template <typename Json>
Json* find_member(Json& object, std::string_view name) {
  if (!object.is_object()) return nullptr;
  auto exact = object.find(std::string(name));
  if (exact != object.end()) return &*exact;
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (equal_ignoring_ascii_case(it.key(), name)) return &*it;
  }
  return nullptr;
}

// The key object at `path` below the root document, or null.
const SettingsDocument* find_key(const SettingsDocument& root, const std::vector<std::string>& path) {
  const SettingsDocument* key = &root;
  for (const std::string& word : path) {
    key = find_member(*key, word);
    if (key == nullptr || !key->is_object()) return nullptr;
  }
  return key;
}

// The key object at `path`, creating missing keys. Null when a value that is
// not a key is in the way: it belongs to someone and is never replaced.
SettingsDocument* make_key(SettingsDocument& root, const std::vector<std::string>& path, bool& created) {
  SettingsDocument* key = &root;
  for (const std::string& word : path) {
    SettingsDocument* next = find_member(*key, word);
    if (next == nullptr) {
      next = &((*key)[word] = SettingsDocument::object());
      created = true;
    }
    if (!next->is_object()) return nullptr;
    key = next;
  }
  return key;
}

bool is_int32(const SettingsDocument& value) {
  if (value.is_number_integer() && !value.is_number_unsigned()) {
    std::int64_t v = value.get<std::int64_t>();
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
  }
  if (value.is_number_unsigned()) {
    return value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  }
  return false;
}

ValueKind kind_of(const SettingsDocument* value) {
  if (value == nullptr) return ValueKind::None;
  if (value->is_string()) return ValueKind::String;
  if (is_int32(*value)) return ValueKind::Integer;
  return ValueKind::None;
}

// Whether JSON can hold the text (it must be well-formed UTF-8).
bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length;
    std::uint32_t code;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      length = 2;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::string home_directory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return "/";
}

}  // namespace

std::string_view company_folder(Company company) { return company == Company::Corvane ? "Corvane" : "Brightmoor"; }

SettingsFiles settings_files_from_environment() {
  SettingsFiles files;
  if (const char* user = std::getenv("FLAWSEEK_USER_REGISTRY"); user != nullptr && *user != '\0') {
    files.user = user;
  } else {
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    // Relative entries are to be ignored, as the base-directory rules say.
    std::filesystem::path base = (config_home != nullptr && *config_home == '/')
                                     ? std::filesystem::path(config_home)
                                     : std::filesystem::path(home_directory()) / ".config";
    files.user = base / "flawseek" / "registry.json";
  }
  if (const char* machine = std::getenv("FLAWSEEK_MACHINE_REGISTRY"); machine != nullptr && *machine != '\0') {
    files.machine = machine;
  } else {
    std::filesystem::path base = "/etc/xdg";
    if (const char* dirs = std::getenv("XDG_CONFIG_DIRS"); dirs != nullptr) {
      std::string_view list(dirs);
      std::string_view first = list.substr(0, list.find(':'));
      if (!first.empty() && first.front() == '/') base = std::string(first);
    }
    files.machine = base / "flawseek" / "registry.json";
  }
  return files;
}

bool detect_is_service() {
  int terminal = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
  if (terminal >= 0) {
    ::close(terminal);
    return false;
  }
  if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) return false;
  return ::getuid() < 1000;
}

// ---------------------------------------------------------------------------
// State

struct SettingsStore::State {
  explicit State(SettingsFiles f, bool service)
      : files(std::move(f)), is_service(service), roots{SettingsFile(files.user), SettingsFile(files.machine)} {
    current_root = service ? Root::LocalMachine : Root::CurrentUser;
  }

  std::mutex mutex;
  SettingsFiles files;
  bool is_service;
  SettingsFile roots[2];

  Company company = Company::Brightmoor;
  std::string application_name;

  Root current_root;
  bool read_only = false;  // set_read_only
  // The open key: the root it was opened in and its path words.
  bool key_open = false;
  Root key_root = Root::CurrentUser;
  std::vector<std::string> key_path;

  WarningListener listener;
  std::vector<std::string> queued;  // waiting for a listener
  std::vector<std::string> found;   // found during the current call

  std::vector<std::string> application_key_path(std::string_view sub_path) const {
    std::vector<std::string> path{"Software", std::string(company_folder(company)), application_name};
    for (std::string& word : split_key_path(sub_path)) path.push_back(std::move(word));
    return path;
  }

  const SettingsDocument& document(Root root) { return roots[root_index(root)].document(found); }

  // The value `name` of the open key, or null.
  const SettingsDocument* open_value(std::string_view name) {
    if (!key_open) return nullptr;
    const SettingsDocument* key = find_key(document(key_root), key_path);
    return key == nullptr ? nullptr : find_member(*key, name);
  }

  // Writes one value into the open key (recreating the key if another process
  // removed it meanwhile). Throws EntryCreationFailure when it cannot.
  void write_value(std::string_view name, SettingsDocument value) {
    if (!key_open || read_only) throw EntryCreationFailure();
    std::vector<std::string> path = key_path;
    std::string value_name(name);
    SettingsFile::UpdateResult result = roots[root_index(key_root)].update(
        [&](SettingsDocument& root) {
          bool created = false;
          SettingsDocument* key = make_key(root, path, created);
          if (key == nullptr) return false;
          if (SettingsDocument* existing = find_member(*key, value_name)) {
            *existing = std::move(value);
          } else {
            (*key)[value_name] = std::move(value);
          }
          return true;
        },
        found);
    if (result != SettingsFile::UpdateResult::Written) throw EntryCreationFailure();
  }
};

// Holds the store's lock for one public call, and hands warnings found during
// the call to the listener after the lock is released (the listener is the log,
// which has a lock of its own; calling it under ours could deadlock).
class SettingsStore::Call {
 public:
  explicit Call(State& state) : state_(state), lock_(state.mutex) {}
  ~Call() {
    if (state_.found.empty()) return;
    std::vector<std::string> found = std::move(state_.found);
    state_.found.clear();
    for (const std::string& warning : found) std::fprintf(stderr, "flawseek: %s\n", warning.c_str());
    WarningListener listener = state_.listener;
    if (!listener) {
      state_.queued.insert(state_.queued.end(), found.begin(), found.end());
      return;
    }
    lock_.unlock();
    for (const std::string& warning : found) {
      try {
        listener(warning);
      } catch (...) {
        // A listener that fails loses its copy; standard error has the text.
      }
    }
  }
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

 private:
  State& state_;
  std::unique_lock<std::mutex> lock_;
};

// ---------------------------------------------------------------------------
// Store

SettingsStore::SettingsStore() : SettingsStore(settings_files_from_environment(), detect_is_service()) {}

SettingsStore::SettingsStore(SettingsFiles files, bool is_service)
    : state_(std::make_unique<State>(std::move(files), is_service)) {}

SettingsStore::~SettingsStore() = default;

void SettingsStore::initialize(Company company, std::string_view application_name) {
  Call call(*state_);
  state_->company = company;
  state_->application_name = std::string(application_name);
}

bool SettingsStore::is_service() const { return state_->is_service; }

Root SettingsStore::default_root() const { return state_->is_service ? Root::LocalMachine : Root::CurrentUser; }

void SettingsStore::select_root(Root root) {
  Call call(*state_);
  state_->current_root = root;
}

bool SettingsStore::root_is_local_machine() const {
  std::lock_guard lock(state_->mutex);
  return state_->current_root == Root::LocalMachine;
}

void SettingsStore::open_application_key(std::string_view sub_path) {
  Call call(*state_);
  State& s = *state_;
  // Without initialize there is no application to name the key after.
  if (s.application_name.empty()) throw KeyCreationFailure();
  std::vector<std::string> path = s.application_key_path(sub_path);
  Root root = default_root();
  bool created = false;
  SettingsFile& file = s.roots[root_index(root)];
  if (find_key(file.document(s.found), path) == nullptr && !s.read_only) {
    SettingsFile::UpdateResult result = file.update(
        [&](SettingsDocument& document) { return make_key(document, path, created) != nullptr && created; }, s.found);
    if (result == SettingsFile::UpdateResult::Failed) throw KeyCreationFailure();
    if (find_key(file.document(s.found), path) == nullptr) throw KeyCreationFailure();
  }
  s.current_root = root;
  s.key_open = true;
  s.key_root = root;
  s.key_path = std::move(path);
}

void SettingsStore::open_key(std::string_view path) {
  Call call(*state_);
  State& s = *state_;
  std::vector<std::string> words = split_key_path(path);
  if (find_key(s.document(s.current_root), words) == nullptr) throw KeyNotFound();
  s.key_open = true;
  s.key_root = s.current_root;
  s.key_path = std::move(words);
}

void SettingsStore::create_key(std::string_view path) {
  Call call(*state_);
  State& s = *state_;
  std::vector<std::string> words = split_key_path(path);
  SettingsFile& file = s.roots[root_index(s.current_root)];
  if (find_key(file.document(s.found), words) == nullptr) {
    if (s.read_only) throw KeyCreationFailure();
    bool created = false;
    SettingsFile::UpdateResult result = file.update(
        [&](SettingsDocument& document) { return make_key(document, words, created) != nullptr && created; }, s.found);
    if (result == SettingsFile::UpdateResult::Failed) throw KeyCreationFailure();
    if (find_key(file.document(s.found), words) == nullptr) throw KeyCreationFailure();
  }
  s.key_open = true;
  s.key_root = s.current_root;
  s.key_path = std::move(words);
}

std::string SettingsStore::current_key_name() const {
  std::lock_guard lock(state_->mutex);
  std::string name;
  if (!state_->key_open) return name;
  for (const std::string& word : state_->key_path) {
    if (!name.empty()) name += '\\';
    name += word;
  }
  return name;
}

bool SettingsStore::has_open_key() const {
  std::lock_guard lock(state_->mutex);
  return state_->key_open;
}

void SettingsStore::close() {
  Call call(*state_);
  state_->key_open = false;
  state_->key_path.clear();
}

void SettingsStore::set_string(std::string_view name, std::string_view value) {
  Call call(*state_);
  if (value.size() > max_string_length) throw Overflow();
  if (!is_valid_utf8(value) || !is_valid_utf8(name)) throw EntryCreationFailure();
  state_->write_value(name, SettingsDocument(std::string(value)));
}

void SettingsStore::set_integer(std::string_view name, std::int32_t value) {
  Call call(*state_);
  if (!is_valid_utf8(name)) throw EntryCreationFailure();
  state_->write_value(name, SettingsDocument(static_cast<std::int64_t>(value)));
}

void SettingsStore::remove_value(std::string_view name) {
  Call call(*state_);
  State& s = *state_;
  if (!s.key_open || s.read_only) throw EntryCreationFailure();
  const std::vector<std::string> path = s.key_path;
  const SettingsFile::UpdateResult result = s.roots[root_index(s.key_root)].update(
      [&](SettingsDocument& root) {
        SettingsDocument* key = &root;
        for (const std::string& word : path) {
          key = find_member(*key, word);
          if (key == nullptr || !key->is_object()) return false;
        }
        // The value a read finds: the exact name, or one edited by hand.
        const SettingsDocument* value = find_member(*key, name);
        for (auto it = key->begin(); it != key->end(); ++it) {
          if (&*it != value) continue;
          key->erase(it);
          return true;
        }
        return false;
      },
      s.found);
  if (result == SettingsFile::UpdateResult::Failed) throw EntryCreationFailure();
}

std::string SettingsStore::get_string(std::string_view name) {
  Call call(*state_);
  const SettingsDocument* value = state_->open_value(name);
  if (value == nullptr) throw EntryNotFound();
  if (!value->is_string()) throw WrongType();
  const std::string& text = value->get_ref<const std::string&>();
  if (text.size() > max_string_length) throw Overflow();
  return text;
}

std::int32_t SettingsStore::get_integer(std::string_view name) {
  Call call(*state_);
  const SettingsDocument* value = state_->open_value(name);
  if (value == nullptr) throw EntryNotFound();
  if (!is_int32(*value)) throw WrongType();
  return static_cast<std::int32_t>(value->get<std::int64_t>());
}

ValueKind SettingsStore::value_kind(std::string_view name) {
  Call call(*state_);
  return kind_of(state_->open_value(name));
}

bool SettingsStore::exists(std::string_view name) { return value_kind(name) != ValueKind::None; }

namespace {

// The three outcomes of looking a value up for a read with default.
// Unusable: present but of the wrong kind or too long; the default is used and
// the stored value is left for the user to mend.
enum class Lookup { Found, Absent, Unusable };

}  // namespace

std::string SettingsStore::get_string(std::string_view name, std::string_view default_value) {
  Call call(*state_);
  State& s = *state_;
  auto look = [&](const SettingsDocument* value, std::string& out) {
    if (value == nullptr) return Lookup::Absent;
    if (!value->is_string() || value->get_ref<const std::string&>().size() > max_string_length) {
      return Lookup::Unusable;
    }
    out = value->get<std::string>();
    return Lookup::Found;
  };
  std::string result;
  Lookup here = look(s.open_value(name), result);
  if (here == Lookup::Found) return result;
  if (here == Lookup::Absent && s.key_open && s.key_root == Root::CurrentUser && !s.is_service) {
    const SettingsDocument* key = find_key(s.document(Root::LocalMachine), s.key_path);
    if (key != nullptr && look(find_member(*key, name), result) == Lookup::Found) return result;
  }
  if (here == Lookup::Absent && !s.read_only && default_value.size() <= max_string_length && is_valid_utf8(default_value) &&
      is_valid_utf8(name)) {
    try {
      s.write_value(name, SettingsDocument(std::string(default_value)));
    } catch (const RegistryError&) {
      // A read-only settings file: the default serves for this run.
    }
  }
  return std::string(default_value);
}

std::int32_t SettingsStore::get_integer(std::string_view name, std::int32_t default_value) {
  Call call(*state_);
  State& s = *state_;
  auto look = [&](const SettingsDocument* value, std::int32_t& out) {
    if (value == nullptr) return Lookup::Absent;
    if (!is_int32(*value)) return Lookup::Unusable;
    out = static_cast<std::int32_t>(value->get<std::int64_t>());
    return Lookup::Found;
  };
  std::int32_t result = 0;
  Lookup here = look(s.open_value(name), result);
  if (here == Lookup::Found) return result;
  if (here == Lookup::Absent && s.key_open && s.key_root == Root::CurrentUser && !s.is_service) {
    const SettingsDocument* key = find_key(s.document(Root::LocalMachine), s.key_path);
    if (key != nullptr && look(find_member(*key, name), result) == Lookup::Found) return result;
  }
  if (here == Lookup::Absent && !s.read_only && is_valid_utf8(name)) {
    try {
      s.write_value(name, SettingsDocument(static_cast<std::int64_t>(default_value)));
    } catch (const RegistryError&) {
      // A read-only settings file: the default serves for this run.
    }
  }
  return default_value;
}

void SettingsStore::set_read_only(bool read_only) {
  Call call(*state_);
  state_->read_only = read_only;
  // A store that only reads never moves a corrupt file aside either.
  for (SettingsFile& root : state_->roots) root.set_keep_in_place(read_only);
}

bool SettingsStore::is_read_only() const {
  std::lock_guard lock(state_->mutex);
  return state_->read_only;
}

bool SettingsStore::root_is_read_only(Root root) {
  Call call(*state_);
  return state_->roots[root_index(root)].is_read_only(state_->found);
}

const SettingsFiles& SettingsStore::files() const { return state_->files; }

void SettingsStore::set_warning_listener(WarningListener listener) {
  std::vector<std::string> queued;
  {
    std::lock_guard lock(state_->mutex);
    state_->listener = listener;
    if (listener) queued = std::move(state_->queued);
    state_->queued.clear();
  }
  if (!listener) return;
  for (const std::string& warning : queued) {
    try {
      listener(warning);
    } catch (...) {
      // See Call: standard error already has the text.
    }
  }
}

std::vector<std::string> SettingsStore::take_warnings() {
  std::lock_guard lock(state_->mutex);
  std::vector<std::string> queued = std::move(state_->queued);
  state_->queued.clear();
  return queued;
}

SettingsStore& settings_store() {
  static SettingsStore store;
  return store;
}

}  // namespace flawseek
