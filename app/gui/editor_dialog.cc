// The "Editor..." dialog's widgets.
#include "editor_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor_setting.h"

namespace flawseek {

EditorDialog::EditorDialog(QWidget* parent, const QString& title, TextAction test, TextAction accept)
    : QDialog(parent), test_(std::move(test)), accept_(std::move(accept)) {
  setWindowTitle(title);
  auto* column = new QVBoxLayout(this);
  auto* caption = new QLabel("&Editor command:");
  command_ = new QLineEdit;
  command_->setMinimumWidth(420);
  caption->setBuddy(command_);
  auto* help = new QLabel(QString::fromUtf8(editor_template_help.data(), static_cast<qsizetype>(editor_template_help.size())));
  help->setTextFormat(Qt::PlainText);
  help->setWordWrap(true);
  test_button_ = new QPushButton("&Test");
  // Return in the box means OK, not "Test".
  test_button_->setAutoDefault(false);
  result_ = new QLabel;
  result_->setTextFormat(Qt::PlainText);
  result_->setWordWrap(true);
  result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* test_row = new QHBoxLayout;
  test_row->addWidget(test_button_);
  test_row->addWidget(result_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  column->addWidget(caption);
  column->addWidget(command_);
  column->addWidget(help);
  column->addLayout(test_row);
  column->addWidget(buttons);
  connect(test_button_, &QPushButton::clicked, this, [this] {
    result_->setText("Testing...");
    if (test_) test_(command_->text().toStdString());
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &EditorDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void EditorDialog::show_command(const std::string& command_template) {
  command_->setText(QString::fromStdString(command_template));
  command_->selectAll();
  command_->setFocus();
  result_->clear();
}

void EditorDialog::show_result(const std::string& text) { result_->setText(QString::fromStdString(text)); }

void EditorDialog::accept() {
  if (accept_) accept_(command_->text().toStdString());
  QDialog::accept();
}

}  // namespace flawseek
