// The "Editor..." dialog: the command template in a line edit, what its
// placeholders mean, a "Test" button with the line that says how the test
// went, and OK/Cancel. The widget only shows and reports; what "Test" and OK
// do is the owner's, run off the GUI thread (editor_choice.h).
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace flawseek {

class EditorDialog final : public QDialog {
 public:
  using TextAction = std::function<void(const std::string& command_template)>;

  // `test` and `accept` receive the text of the line edit (GUI thread).
  EditorDialog(QWidget* parent, const QString& title, TextAction test, TextAction accept);

  // A fresh start: the stored template, no test result.
  void show_command(const std::string& command_template);
  void show_result(const std::string& text);

  // For tests.
  QLineEdit* command_box() const { return command_; }
  QPushButton* test_button() const { return test_button_; }
  QLabel* result_line() const { return result_; }

  void accept() override;

 private:
  TextAction test_;
  TextAction accept_;
  QLineEdit* command_ = nullptr;
  QPushButton* test_button_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace flawseek
