// The "Editor" setting behind Options > "Editor...": the command template
// read and written in the application key, and what the dialog's "Test"
// does with a text before it is stored. No widget here, so a test can drive
// every step the dialog takes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "findings/finding.h"
#include "platform/settings_store.h"

namespace flawseek {

class FindingsList;

// The dialog's explanation of the template.
inline constexpr std::string_view editor_template_help =
    "The command that opens a finding's file at its position. In its words %f stands for the file, "
    "%l for the line, %c for the column, %p for the position as a parameter text (/line/column) and "
    "%% for a percent sign; quotes group words, and no shell reads them. For example:\n"
    "    code -g %f:%l:%c\n"
    "    emacsclient -n +%l:%c %f\n"
    "    kate -l %l -c %c %f\n"
    "Left empty, the file goes to the desktop's default application (xdg-open).";

class EditorSetting {
 public:
  // The store is the editor hand-off's: used on the action-handler thread only.
  explicit EditorSetting(SettingsStore& store) : store_(store) {}

  // The stored template; empty when none is stored or it cannot be read.
  std::string command();
  // Stores the text without its outer blanks, where the next double-click
  // reads it. A text of blanks only removes the setting, so that the
  // desktop's default application opens findings again. RegistryError when
  // the settings cannot be written (read-only file, text too long).
  void save(std::string_view text);

 private:
  SettingsStore& store_;
};

// The finding "Test" opens: the first of the last search whose file is
// there (a finding under "Unknown file" opens nothing).
std::optional<Finding> first_openable_finding(const FindingsList& findings);

// Where the sample file of "Test" goes when there is no finding to open:
// $XDG_CACHE_HOME/flawseek, else ~/.cache/flawseek (the user's own, so no
// one else can put a file in its place).
std::filesystem::path editor_sample_directory();

// Writes (again) the small Ada file of "Test" into `directory` and returns
// the position its comment asks the editor to show; nothing, with the
// reason in `problem`, when it cannot be written.
std::optional<Finding> write_editor_sample(const std::filesystem::path& directory, std::string& problem);

// "Test": starts `command_template` on `sample` as a double-click would, and
// says what was started or why nothing could be.
std::string test_editor_command(std::string_view command_template, const Finding& sample);

}  // namespace flawseek
