// Options > "Editor...": the item, the dialog it opens and what the dialog's
// buttons do. The dialog is shown without blocking any thread (no exec());
// "Test" and OK run on the action-handler thread, where the editor hand-off
// reads the setting, so the two never use the store at once.
#pragma once

#include <QPointer>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "editor_dialog.h"
#include "editor_setting.h"
#include "findings/finding.h"
#include "gui/gui.h"

namespace flawseek {

inline constexpr std::string_view editor_item_text = "&Editor...";

class EditorChoice {
 public:
  // `sample` gives the finding "Test" opens (none: a sample file is written
  // into `sample_directory`).
  EditorChoice(gui::Gui& gui, SettingsStore& store, std::function<std::optional<Finding>()> sample,
               std::filesystem::path sample_directory = editor_sample_directory());
  // On the GUI thread, before the main window goes.
  ~EditorChoice();
  EditorChoice(const EditorChoice&) = delete;
  EditorChoice& operator=(const EditorChoice&) = delete;

  void add_item(gui::Menu menu);
  gui::MenuItem item() const { return item_; }
  EditorSetting& setting() { return setting_; }

  // The item's action: shows the dialog with the stored template and returns.
  void open();
  // The buttons' work (action-handler thread).
  void test(const std::string& command_template);
  void accept(const std::string& command_template);

  // The dialog once opened (GUI thread), for tests.
  EditorDialog* dialog() const { return dialog_; }

 private:
  gui::Gui& gui_;
  EditorSetting setting_;
  std::function<std::optional<Finding>()> sample_;
  std::filesystem::path sample_directory_;
  gui::MenuItem item_{};
  QPointer<EditorDialog> dialog_;
};

}  // namespace flawseek
