// The job: its values, how it is loaded from and saved to the settings store,
// and the user's actions on it.
#include "driver/job.h"

#include <exception>
#include <optional>

#include "build_info.h"
#include "driver/headless_job_controls.h"
#include "platform/environment.h"
#include "platform/label.h"
#include "platform/settings_store.h"

namespace flawseek {

namespace {

// Stored value names. Options and kinds are stored under their labels.
constexpr std::string_view search_root_name = "Search Root";
constexpr std::string_view reference_path_name = "Reference Path";
constexpr std::string_view relaxed_styles_name = "Relaxed Styles";
constexpr std::string_view default_rule_book_name = "Default Rule Book";
constexpr std::string_view list_unchecked_style_name = "List Unchecked Style";
// Stored as the level's text ("2012"), as the command line and the project
// file write it.
constexpr std::string_view ada_version_value_name = "Ada Version";
// Keys below the application key ("" is the application key itself).
constexpr std::string_view application_key = "";
constexpr std::string_view options_key = "\\Options";
constexpr std::string_view style_key = "\\Style";

constexpr std::size_t at(Option option) { return static_cast<std::size_t>(option); }
constexpr std::size_t at(StyleKind kind) { return static_cast<std::size_t>(kind); }
constexpr StyleKind kind_at(int position) { return static_cast<StyleKind>(position); }
constexpr Option option_at(int position) { return static_cast<Option>(position); }

constexpr int first_extended_kind = static_cast<int>(last_basic_style_kind) + 1;
constexpr int basic_style_kind_count = first_extended_kind;

std::string option_label(Option option) { return label(image(option)); }
std::string kind_label(StyleKind kind) { return label(image(kind)); }

bool is_user_set(StyleSet set) { return set == StyleSet::USER || set == StyleSet::USER_95; }

// Reads that never stop the job: a key that cannot be opened, or a value that
// cannot be read, reads as the default. A job that saves reads as the store
// does, writing first-read defaults back; a read-only job (the command line)
// leaves the files exactly as they were, so it opens keys without creating
// them and looks up the machine-wide value itself.
class StoreReader {
 public:
  StoreReader(SettingsStore* store, JobPersistence persistence)
      : store_(store), writes_defaults_(persistence == JobPersistence::ReadWrite) {}

  bool open(std::string_view sub_path) {
    open_ = false;
    if (store_ == nullptr) return false;
    key_path_ = application_key_path(sub_path);
    try {
      if (writes_defaults_) {
        store_->open_application_key(sub_path);
      } else {
        store_->select_root(store_->default_root());
        store_->open_key(key_path_);
      }
      open_ = true;
    } catch (const RegistryError&) {
      // No such key (and none may be created): the defaults stand.
    }
    return open_;
  }
  bool exists(std::string_view name) { return open_ && store_->exists(name); }

  std::int32_t integer(std::string_view name, std::int32_t default_value) {
    return read(name, default_value, ValueKind::Integer, [this](std::string_view n) { return store_->get_integer(n); },
                [this](std::string_view n, std::int32_t d) { return store_->get_integer(n, d); });
  }
  bool boolean(std::string_view name, bool default_value) { return integer(name, default_value ? 1 : 0) != 0; }
  std::string text(std::string_view name, std::string_view default_value) {
    return read(name, std::string(default_value), ValueKind::String,
                [this](std::string_view n) { return store_->get_string(n); },
                [this](std::string_view n, const std::string& d) { return store_->get_string(n, d); });
  }

 private:
  static std::string application_key_path(std::string_view sub_path) {
    return "Software\\" + std::string(company_folder(Company::Brightmoor)) + "\\" + build_info::product_name +
           std::string(sub_path);
  }

  template <typename Value, typename Get, typename GetWithDefault>
  Value read(std::string_view name, Value default_value, ValueKind kind, Get get, GetWithDefault get_with_default) {
    if (store_ == nullptr) return default_value;
    try {
      if (writes_defaults_ && open_) return get_with_default(name, default_value);
      // A user key that could not be opened (nor created: a read-only settings
      // file) still leaves the machine-wide values to serve.
      if (open_ && store_->exists(name)) {
        return store_->value_kind(name) == kind ? get(name) : default_value;
      }
      if (store_->is_service()) return default_value;
      // Absent for the user: the machine-wide value, if any, then back.
      std::optional<Value> machine_value;
      store_->select_root(Root::LocalMachine);
      try {
        store_->open_key(key_path_);
        if (store_->value_kind(name) == kind) machine_value = get(name);
      } catch (const RegistryError&) {
      }
      reopen_user_key();
      return machine_value.value_or(default_value);
    } catch (const RegistryError&) {
      return default_value;
    }
  }

  void reopen_user_key() {
    store_->select_root(store_->default_root());
    try {
      // Without a user key of our own, none stays open: the machine's key
      // must not be left current for whoever writes next.
      if (open_) {
        store_->open_key(key_path_);
      } else {
        store_->close();
      }
    } catch (const RegistryError&) {
      open_ = false;
      store_->close();
    }
  }

  SettingsStore* store_;
  bool writes_defaults_;
  bool open_ = false;
  std::string key_path_;
};

// Writes that go on after a failure, so one bad value (an over-long root)
// does not cost the others; the first failure is thrown at the end.
class StoreWriter {
 public:
  explicit StoreWriter(SettingsStore& store) : store_(store) {}

  bool open(std::string_view sub_path) {
    open_ = attempt([&] { store_.open_application_key(sub_path); });
    return open_;
  }
  void integer(std::string_view name, std::int32_t value) {
    if (open_) attempt([&] { store_.set_integer(name, value); });
  }
  void boolean(std::string_view name, bool value) { integer(name, value ? 1 : 0); }
  void text(std::string_view name, std::string_view value) {
    if (open_) attempt([&] { store_.set_string(name, value); });
  }
  void finish() {
    if (first_failure_) std::rethrow_exception(first_failure_);
  }

 private:
  template <typename Write>
  bool attempt(Write write) {
    try {
      write();
      return true;
    } catch (const RegistryError&) {
      if (!first_failure_) first_failure_ = std::current_exception();
      return false;
    }
  }

  SettingsStore& store_;
  bool open_ = false;
  std::exception_ptr first_failure_;
};

}  // namespace

Job::Job() : Job(std::make_unique<HeadlessJobControls>()) {}

Job::Job(std::unique_ptr<JobControls> own_controls)
    : own_controls_(std::move(own_controls)), controls_(*own_controls_), store_(nullptr),
      persistence_(JobPersistence::ReadOnly) {
  show_initial_values();
}

Job::Job(JobControls& controls, SettingsStore* store, JobPersistence persistence)
    : controls_(controls), store_(store), persistence_(persistence) {
  show_initial_values();
}

void Job::show_initial_values() {
  options_[at(Option::SEARCH_SUBFOLDERS)] = true;
  controls_.set_search_root_text(current_directory_text());
  // Marks agree with the values from the start, so a toggle before any load
  // flips the real value.
  for (int position = 0; position < option_count; ++position) {
    controls_.set_option_mark(option_at(position), options_[position]);
  }
  controls_.set_ada_version_mark(ada_version_, true);
}

Job::~Job() = default;

bool Job::can_save() const { return store_ != nullptr && persistence_ == JobPersistence::ReadWrite; }

void Job::save_if_allowed() {
  if (can_save()) save_job();
}

// ---- Settings store ---------------------------------------------------------

void Job::load_job() {
  StoreReader reader(store_, persistence_);

  reader.open(application_key);
  controls_.set_search_root_text(reader.text(search_root_name, current_directory_text()));

  reader.open(style_key);
  for (int position = 0; position < basic_style_kind_count; ++position) {
    const StyleKind kind = kind_at(position);
    const bool on = reader.boolean(kind_label(kind), false);
    enabled_style_kinds_[position] = on;
    user_style_kinds_[position] = on;
    controls_.create_style_kind_item(kind);
    controls_.set_style_kind_mark(kind, on);
  }

  reader.open(options_key);
  for (int position = 0; position < basic_option_count; ++position) {
    const Option option = option_at(position);
    options_[position] = reader.boolean(option_label(option), options_[position]);
    controls_.create_option_item(option);
    controls_.set_option_mark(option, options_[position]);
  }
  // Text that names no level (edited by hand, or from a later version) is
  // the default, as a value that is missing.
  const std::string stored_version = reader.text(ada_version_value_name, image(ada_version_));
  controls_.create_ada_version_items();
  set_ada_version_value(parse_ada_version(stored_version).value_or(default_ada_version));

  install_list_unchecked_style();
  enter_extended_style_mode();
  if (extended_style_mode_) select_style_set(style_set_);
}

void Job::install_list_unchecked_style() {
  StoreReader reader(store_, persistence_);
  if (!reader.open(options_key) || !reader.exists(list_unchecked_style_name)) return;
  list_unchecked_style_available_ = true;
  list_unchecked_style_ = reader.boolean(list_unchecked_style_name, false);
  controls_.create_list_unchecked_style_item();
  controls_.set_list_unchecked_style_mark(list_unchecked_style_);
}

void Job::enter_extended_style_mode() {
  if (extended_style_mode_) return;
  StoreReader reader(store_, persistence_);
  if (reader.open(options_key) && reader.exists(default_rule_book_name)) {
    const std::int32_t stored = reader.integer(default_rule_book_name, 0);
    // Out of range either way is not a rule book: the user's own selection is
    // the safe reading (a negative value would otherwise stop the load).
    style_set_ = (stored < 0 || stored >= style_set_count) ? StyleSet::USER : static_cast<StyleSet>(stored);
  } else if (list_unchecked_style_available_) {
    style_set_ = StyleSet::USER;
  } else {
    return;
  }
  switch_on_extended_style_mode();
}

void Job::switch_on_extended_style_mode() {
  if (extended_style_mode_) return;
  extended_style_mode_ = true;
  read_extended_settings();
}

void Job::read_extended_settings() {
  StoreReader reader(store_, persistence_);

  reader.open(options_key);
  const bool relaxed = reader.boolean(relaxed_styles_name, options_[at(Option::RELAXED_STYLES)]);
  options_[at(Option::RELAXED_STYLES)] = relaxed;
  controls_.create_option_item(Option::RELAXED_STYLES);
  controls_.set_option_mark(Option::RELAXED_STYLES, relaxed);

  reader.open(application_key);
  const std::string reference_path = reader.text(reference_path_name, "");
  controls_.create_reference_path_field(reference_path, relaxed);
  reference_path_field_ = true;

  controls_.create_style_set_items();
  controls_.set_style_set_mark(style_set_, true);

  reader.open(style_key);
  for (int position = first_extended_kind; position < selectable_style_kind_count; ++position) {
    const StyleKind kind = kind_at(position);
    // Without a store the kinds keep what the command line gave them. With
    // one, a user key that is missing still leaves the machine-wide values.
    const bool on = store_ != nullptr ? reader.boolean(kind_label(kind), false) : enabled_style_kinds_[position];
    enabled_style_kinds_[position] = on;
    user_style_kinds_[position] = on;
    controls_.create_style_kind_item(kind);
    controls_.set_style_kind_mark(kind, on);
  }
}

void Job::save_job() {
  if (!can_save()) return;
  StoreWriter writer(*store_);

  if (writer.open(application_key)) {
    writer.text(search_root_name, search_root());
    if (reference_path_field_) writer.text(reference_path_name, controls_.reference_path_text());
  }

  if (writer.open(options_key)) {
    for (int position = 0; position < basic_option_count; ++position) {
      writer.boolean(option_label(option_at(position)), options_[position]);
    }
    writer.text(ada_version_value_name, image(ada_version_));
    if (extended_style_mode_) {
      writer.boolean(relaxed_styles_name, options_[at(Option::RELAXED_STYLES)]);
      writer.integer(default_rule_book_name, static_cast<std::int32_t>(style_set_));
    }
    if (list_unchecked_style_ || store_->exists(list_unchecked_style_name)) {
      writer.boolean(list_unchecked_style_name, list_unchecked_style_);
    }
  }

  // Under a fixed rule book the kinds are the book's, not the user's: leaving
  // the key alone keeps the user's selection for a later return to USER.
  if (is_user_set(style_set_) && writer.open(style_key)) {
    const int last = extended_style_mode_ ? selectable_style_kind_count : basic_style_kind_count;
    for (int position = 0; position < last; ++position) {
      writer.boolean(kind_label(kind_at(position)), enabled_style_kinds_[position]);
    }
  }
  writer.finish();
}

// ---- User actions -------------------------------------------------------------

void Job::toggle_option(Option option) {
  set_option_value(option, !controls_.option_mark(option));
  save_if_allowed();
}

void Job::toggle_style_kind(StyleKind kind) {
  if (at(kind) >= enabled_style_kinds_.size()) return;
  set_style_kind_value(kind, !controls_.style_kind_mark(kind));
  save_if_allowed();
}

void Job::select_style_set(StyleSet set) {
  if (set_style_set_value(set)) save_if_allowed();
}

void Job::select_ada_version(AdaVersion version) {
  if (set_ada_version_value(version)) save_if_allowed();
}

void Job::toggle_list_unchecked_style() {
  offer_list_unchecked_style();
  list_unchecked_style_ = !controls_.list_unchecked_style_mark();
  controls_.set_list_unchecked_style_mark(list_unchecked_style_);
  save_list_unchecked_style();
}

void Job::note_style_command_seen() {
  if (list_unchecked_style_available_) return;
  offer_list_unchecked_style();
  list_unchecked_style_ = true;
  controls_.set_list_unchecked_style_mark(true);
  save_list_unchecked_style();
}

// ---- Shared steps ---------------------------------------------------------------

void Job::set_option_value(Option option, bool on) {
  options_[at(option)] = on;
  controls_.set_option_mark(option, on);
  if (option == Option::RELAXED_STYLES && reference_path_field_) controls_.show_reference_path_field(on);
}

void Job::set_style_kind_value(StyleKind kind, bool on) {
  enabled_style_kinds_[at(kind)] = on;
  if (is_user_set(style_set_)) user_style_kinds_[at(kind)] = on;
  controls_.set_style_kind_mark(kind, on);
}

bool Job::set_style_set_value(StyleSet set) {
  if (static_cast<int>(set) >= style_set_count) return false;
  controls_.set_style_set_mark(style_set_, false);
  style_set_ = set;
  apply_style_set_to_kinds();
  controls_.set_style_set_mark(style_set_, true);
  return true;
}

bool Job::set_ada_version_value(AdaVersion version) {
  if (static_cast<int>(version) >= ada_version_count) return false;
  controls_.set_ada_version_mark(ada_version_, false);
  ada_version_ = version;
  controls_.set_ada_version_mark(ada_version_, true);
  return true;
}

void Job::offer_list_unchecked_style() {
  if (list_unchecked_style_available_) return;
  controls_.create_list_unchecked_style_item();
  list_unchecked_style_available_ = true;
}

void Job::save_list_unchecked_style() {
  if (!can_save()) return;
  StoreWriter writer(*store_);
  if (writer.open(options_key)) writer.boolean(list_unchecked_style_name, list_unchecked_style_);
  writer.finish();
}

void Job::apply_style_set_to_kinds() {
  StoreReader reader(store_, persistence_);
  const bool user = is_user_set(style_set_);
  const bool stored = user && store_ != nullptr;
  if (stored) reader.open(style_key);
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const StyleKind kind = kind_at(position);
    if (kind == StyleKind::SUPERFLUOUS_CODE_MARK) continue;
    bool on = false;
    if (user) {
      // The user's own selection: what the store holds, or, without a store,
      // what the user last chose under USER.
      on = stored ? reader.boolean(kind_label(kind), false) : user_style_kinds_[position];
      user_style_kinds_[position] = on;
    } else {
      on = style_set_ != StyleSet::NONE;
    }
    enabled_style_kinds_[position] = on;
    const bool offered = position < basic_style_kind_count || extended_style_mode_;
    if (offered) {
      controls_.set_style_kind_mark(kind, on);
      controls_.enable_style_kind_item(kind, user);
    }
  }
}

// ---- One-run settings -------------------------------------------------------------

void Job::set_search_root(std::string_view root) { controls_.set_search_root_text(root); }

void Job::set_reference_path(std::string_view path) {
  switch_on_extended_style_mode();
  controls_.set_reference_path_text(path);
}

void Job::set_option(Option option, bool on) {
  if (option == Option::RELAXED_STYLES) switch_on_extended_style_mode();
  set_option_value(option, on);
}

void Job::set_style_kind(StyleKind kind, bool on) {
  if (at(kind) >= enabled_style_kinds_.size()) return;
  if (static_cast<int>(kind) >= first_extended_kind) switch_on_extended_style_mode();
  set_style_kind_value(kind, on);
}

void Job::set_style_set(StyleSet set) {
  switch_on_extended_style_mode();
  set_style_set_value(set);
}

void Job::set_ada_version(AdaVersion version) { set_ada_version_value(version); }

void Job::set_list_unchecked_style(bool on) {
  offer_list_unchecked_style();
  list_unchecked_style_ = on;
  controls_.set_list_unchecked_style_mark(on);
}

// ---- Reads ------------------------------------------------------------------------

bool Job::style_kind_enabled(StyleKind kind) const {
  return at(kind) < enabled_style_kinds_.size() && enabled_style_kinds_[at(kind)];
}

std::string Job::search_root() const { return controls_.search_root_text(); }

std::string Job::reference_path() const {
  return reference_path_field_ ? controls_.reference_path_text() : std::string();
}

StyleSelection Job::style_selection() const {
  StyleSelection selection;
  selection.selected = enabled_style_kinds_;
  selection.style_set = style_set_;
  selection.extended_style_mode = extended_style_mode_;
  selection.relaxed_styles = options_[at(Option::RELAXED_STYLES)];
  return selection;
}

}  // namespace flawseek
