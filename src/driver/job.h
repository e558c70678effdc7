// The job: the one description of what the next search does (where to look,
// the reference path, options, language level, rule book and style kinds), mirrored in its
// controls and in the settings store. The search and the per-file driver only
// read it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "driver/job_controls.h"
#include "driver/option.h"
#include "frontend/ada_version.h"
#include "style/style_kind.h"
#include "style/style_selection.h"

namespace flawseek {

class SettingsStore;

// Whether the job writes its changes to the settings store. The command line
// reads a stored job when asked but never saves its own one-run flags.
enum class JobPersistence { ReadWrite, ReadOnly };

class Job {
 public:
  // A job with headless controls and no settings store: the initial values,
  // changed only by the set_* calls (the command line).
  Job();
  // A job shown in `controls` and kept in `store` (may be null: no store).
  // Both must outlive the job.
  Job(JobControls& controls, SettingsStore* store,
      JobPersistence persistence = JobPersistence::ReadWrite);
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  ~Job();

  // ---- Settings store -------------------------------------------------------
  // Reads the stored job, creates the items, then enters extended style mode
  // when the store asks for it and re-applies the rule book. Reads that fail
  // leave the initial values; only the final save can throw (RegistryError).
  void load_job();
  // Writes the whole job (nothing for a read-only job or one without a store).
  // Writes every value it can, then throws the first RegistryError met
  // (read-only settings file, over-long text).
  void save_job();
  // Switches extended style mode on, once, when the store holds "Default Rule
  // Book" under "Options" or the "List Unchecked Style" item is available;
  // then reads the rule book, RELAXED_STYLES, the reference path and kinds 7..18.
  void enter_extended_style_mode();

  // ---- User actions (each saves the job; a save failure throws after the change)
  void toggle_option(Option option);
  void toggle_style_kind(StyleKind kind);
  void select_style_set(StyleSet set);
  // A value outside the four levels changes nothing.
  void select_ada_version(AdaVersion version);
  void toggle_list_unchecked_style();
  // The findings side calls this after a checked file that held a style
  // command: the first time, "List Unchecked Style" becomes available and on.
  void note_style_command_seen();

  // ---- One-run settings (command line): never saved. Entering extended style
  // mode on the way reads the stored extended settings when there is a store.
  void set_search_root(std::string_view root);
  // Entering extended style mode when needed to hold the text.
  void set_reference_path(std::string_view path);
  // RELAXED_STYLES switches extended style mode on.
  void set_option(Option option, bool on);
  // Kinds 7..18 switch extended style mode on; NO_STYLE_CHECKS is ignored.
  void set_style_kind(StyleKind kind, bool on);
  // Switches extended style mode on and applies the set to the kinds.
  void set_style_set(StyleSet set);
  void set_list_unchecked_style(bool on);
  void set_ada_version(AdaVersion version);
  // Extended style mode whatever the store says; the rule book stays as it is
  // (USER for a job that was not loaded).
  void switch_on_extended_style_mode();

  // ---- Reads during a run ---------------------------------------------------
  bool option_is_set(Option option) const { return options_[static_cast<std::size_t>(option)]; }
  bool style_kind_enabled(StyleKind kind) const;
  StyleSet current_style_set() const { return style_set_; }
  // The level every file is parsed at until its own configuration pragma.
  AdaVersion ada_version() const { return ada_version_; }
  std::string search_root() const;
  // Empty while the "Reference Path:" field does not exist.
  std::string reference_path() const;
  bool list_unchecked_style() const { return list_unchecked_style_; }
  bool list_unchecked_style_available() const { return list_unchecked_style_available_; }
  bool extended_style_mode() const { return extended_style_mode_; }
  bool has_reference_path_field() const { return reference_path_field_; }

  // What the style side needs for a run.
  StyleSelection style_selection() const;

 private:
  explicit Job(std::unique_ptr<JobControls> own_controls);
  void show_initial_values();
  bool can_save() const;
  void install_list_unchecked_style();
  void read_extended_settings();
  void apply_style_set_to_kinds();
  void save_if_allowed();
  void set_option_value(Option option, bool on);
  void set_style_kind_value(StyleKind kind, bool on);
  // False, and nothing changed, for a value outside the style sets.
  bool set_style_set_value(StyleSet set);
  bool set_ada_version_value(AdaVersion version);
  // Creates the "List Unchecked Style" item the first time it is needed.
  void offer_list_unchecked_style();
  void save_list_unchecked_style();

  std::unique_ptr<JobControls> own_controls_;  // only for the headless job
  JobControls& controls_;
  SettingsStore* store_;
  JobPersistence persistence_;

  std::array<bool, option_count> options_{};
  StyleSet style_set_ = StyleSet::USER;
  AdaVersion ada_version_ = default_ada_version;
  std::array<bool, selectable_style_kind_count> enabled_style_kinds_{};
  // The kinds as last chosen under USER/USER_95, for returning to USER when
  // there is no store to read them back from.
  std::array<bool, selectable_style_kind_count> user_style_kinds_{};
  bool list_unchecked_style_ = false;
  bool list_unchecked_style_available_ = false;
  bool extended_style_mode_ = false;
  bool reference_path_field_ = false;
};

}  // namespace flawseek
