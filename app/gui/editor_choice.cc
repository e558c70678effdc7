// The "Editor..." item and its dialog, wired to the action-handler thread.
#include "editor_choice.h"

#include <QWidget>

namespace flawseek {

EditorChoice::EditorChoice(gui::Gui& gui, SettingsStore& store, std::function<std::optional<Finding>()> sample,
                           std::filesystem::path sample_directory)
    : gui_(gui), setting_(store), sample_(std::move(sample)), sample_directory_(std::move(sample_directory)) {}

EditorChoice::~EditorChoice() { delete dialog_.data(); }

void EditorChoice::add_item(gui::Menu menu) { item_ = gui_.add_item(menu, editor_item_text, [this](int) { open(); }, 0); }

void EditorChoice::open() {
  const std::string command = setting_.command();
  gui_.call_on_gui([&] {
    if (dialog_ == nullptr) {
      auto* window = static_cast<QWidget*>(gui_.main_window_widget());
      if (window == nullptr) return;
      // The buttons only hand the text on: their work must not run on the
      // GUI thread (a start, a settings write).
      dialog_ = new EditorDialog(
          window, QString::fromStdString(gui_.title()),
          [this](const std::string& text) { gui_.post_action([this, text] { test(text); }); },
          [this](const std::string& text) { gui_.post_action([this, text] { accept(text); }); });
      dialog_->setWindowModality(Qt::WindowModal);
    }
    dialog_->show_command(command);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
  });
}

void EditorChoice::test(const std::string& command_template) {
  std::optional<Finding> sample = sample_ ? sample_() : std::nullopt;
  std::string said;
  if (!sample) sample = write_editor_sample(sample_directory_, said);
  if (sample) said = test_editor_command(command_template, *sample);
  gui_.call_on_gui([&] {
    if (dialog_ != nullptr) dialog_->show_result(said);
  });
}

void EditorChoice::accept(const std::string& command_template) {
  try {
    setting_.save(command_template);
  } catch (const RegistryError& error) {
    gui_.show_message("The editor command could not be stored in the settings (" + std::string(error.what()) + ").",
                      gui::MessageKind::Error);
  }
}

}  // namespace flawseek
