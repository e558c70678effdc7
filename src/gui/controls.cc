// Pages and their controls: the fixed layout of a page, buttons, boxes, bars and
// the rich edit, and the queries and changes every kind of control answers.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>

#include "gui/gui_state.h"

namespace flawseek::gui {

std::string_view type_name(ControlKind kind) {
  static constexpr std::array<std::string_view, control_kind_count> names = {
      "Gui.Child",           "Gui.Button",      "Gui.Check_Box",       "Gui.Edit_Box",
      "Gui.Plain_Edit_Box",  "Gui.Checked_Edit_Box", "Gui.Combo_Box", "Gui.Plain_Combo_Box",
      "Gui.Checked_Combo_Box", "Gui.List_View", "Gui.Tree_View",       "Gui.Rich_Edit",
      "Gui.Track_Bar",       "Gui.Progress_Bar"};
  return names[static_cast<std::size_t>(kind)];
}

Page Gui::create_page(std::string_view name, int style, int value) {
  Page page;
  call_on_gui([&] {
    if (state_->tabs == nullptr) return;
    PageState& created = state_->pages.emplace_back();
    created.name.assign(name);
    created.style = style;
    created.value = value;
    // A fixed arrangement: buttons in a row, labelled boxes below, then the
    // views taking the rest; Qt recomputes it on every resize.
    created.widget = new QWidget;
    auto* column = new QVBoxLayout(created.widget);
    created.buttons = new QHBoxLayout;
    created.boxes = new QGridLayout;
    created.boxes->setColumnStretch(1, 1);
    created.views = new QVBoxLayout;
    column->addLayout(created.buttons);
    column->addLayout(created.boxes);
    column->addLayout(created.views, 1);
    created.buttons->addStretch(1);
    state_->tabs->addTab(created.widget, to_q(name));
    page.index = static_cast<int>(state_->pages.size()) - 1;
  });
  return page;
}

Control add_control(std::deque<PageState>& pages, Page page, ControlKind kind, QWidget* widget, QLabel* label) {
  PageState& state = pages.at(static_cast<std::size_t>(page.index));
  if (state.next_id >= first_menu_item_id) throw GuiError("Gui: too many controls on page " + state.name);
  ControlState& control = state.controls.emplace_back();
  control.kind = kind;
  control.id = state.next_id++;
  control.widget = widget;
  control.label = label;
  ++state.visible[static_cast<std::size_t>(kind)];
  return Control{page.index, control.id};
}

Control Gui::add_button(Page page, std::string_view text, Action action, int width) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* button = new QPushButton(to_q(text));
    button->setMinimumWidth(width);
    p.buttons->insertWidget(p.buttons->count() - 1, button);
    control = add_control(state->pages, page, ControlKind::BUTTON, button, nullptr);
    if (action)
      QObject::connect(button, &QPushButton::clicked, button, [state, action] { state->actions->post(action); });
  });
  return control;
}

Control Gui::add_edit_box(Page page, std::string_view label, std::string_view text, Action action) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* caption = new QLabel(to_q(label));
    auto* box = new QLineEdit(to_q(text));
    caption->setBuddy(box);
    const int row = p.boxes->rowCount();
    p.boxes->addWidget(caption, row, 0);
    p.boxes->addWidget(box, row, 1);
    control = add_control(state->pages, page, ControlKind::EDIT_BOX, box, caption);
    if (action)
      QObject::connect(box, &QLineEdit::editingFinished, box, [state, action] { state->actions->post(action); });
  });
  return control;
}

Control Gui::add_child_view(Page page, void* widget) {
  Control control;
  call_on_gui([&] {
    PageState& p = state_->pages.at(static_cast<std::size_t>(page.index));
    auto* view = static_cast<QWidget*>(widget);
    p.views->addWidget(view, 1);
    control = add_control(state_->pages, page, ControlKind::CHILD, view, nullptr);
  });
  return control;
}

Control Gui::add_check_box(Page page, std::string_view text, IntegerAction action, int argument) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* box = new QCheckBox(to_q(text));
    p.buttons->insertWidget(p.buttons->count() - 1, box);
    control = add_control(state->pages, page, ControlKind::CHECK_BOX, box, nullptr);
    if (action)
      QObject::connect(box, &QCheckBox::clicked, box,
                       [state, action, argument] { state->actions->post(action, argument); });
  });
  return control;
}

Control Gui::add_progress_bar(Page page, int maximum) {
  Control control;
  call_on_gui([&] {
    PageState& p = state_->pages.at(static_cast<std::size_t>(page.index));
    auto* bar = new QProgressBar;
    bar->setRange(0, maximum);
    p.views->addWidget(bar);
    control = add_control(state_->pages, page, ControlKind::PROGRESS_BAR, bar, nullptr);
  });
  return control;
}

Control Gui::add_combo_box(Page page, std::string_view label, const std::vector<std::string>& items,
                           std::string_view text, IntegerAction action, int argument, bool editable) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* caption = new QLabel(to_q(label));
    auto* box = new QComboBox;
    box->setEditable(editable);
    // The program owns the items: Return does not add the typed text.
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) box->addItem(to_q(item));
    const int found = box->findText(to_q(text));
    box->setCurrentIndex(found);
    if (editable) box->setEditText(to_q(text));
    caption->setBuddy(box);
    const int row = p.boxes->rowCount();
    p.boxes->addWidget(caption, row, 0);
    p.boxes->addWidget(box, row, 1);
    control = add_control(state->pages, page, editable ? ControlKind::COMBO_BOX : ControlKind::PLAIN_COMBO_BOX,
                          box, caption);
    if (!action) return;
    // A pick by the user (not the program's own selection), and an edit once
    // it is finished (Return, or the focus leaving): the two notifications a
    // combo box acts on. Qt reports the end of one edit more than once (Return
    // and the focus leaving afterwards), so an edit acts only when it left a
    // text other than the one the last action saw.
    auto acted_on = std::make_shared<QString>(box->currentText());
    const auto post = [state, action, argument] { state->actions->post(action, argument); };
    QObject::connect(box, &QComboBox::activated, box, [box, acted_on, post] {
      *acted_on = box->currentText();
      post();
    });
    if (editable)
      QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, box, [box, acted_on, post] {
        if (box->currentText() == *acted_on) return;
        *acted_on = box->currentText();
        post();
      });
  });
  return control;
}

void Gui::combo_add_item(Control combo, std::string_view text) {
  call_on_gui([&] {
    if (auto* box = qobject_cast<QComboBox*>(state_->control(combo).widget)) {
      const QSignalBlocker quiet(box);
      const QString shown = box->currentText();
      box->addItem(to_q(text));
      // The first item of an empty editable box must not replace its text.
      if (box->isEditable()) box->setEditText(shown);
    }
  });
}

Control Gui::add_rich_edit(Page page, std::string_view text, Action action) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* edit = new QTextEdit;
    edit->setAcceptRichText(false);
    edit->setPlainText(to_q(text));
    p.views->addWidget(edit, 1);
    control = add_control(state->pages, page, ControlKind::RICH_EDIT, edit, nullptr);
    if (action)
      QObject::connect(edit, &QTextEdit::textChanged, edit, [state, action] { state->actions->post(action); });
  });
  return control;
}

Control Gui::add_track_bar(Page page, int minimum, int maximum, IntegerAction action, int argument) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    slider->setTickPosition(QSlider::TicksBelow);
    p.views->addWidget(slider);
    control = add_control(state->pages, page, ControlKind::TRACK_BAR, slider, nullptr);
    if (action)
      QObject::connect(slider, &QSlider::valueChanged, slider, [state, action, argument](int) {
        state->actions->post(action, argument);
      });
  });
  return control;
}

void Gui::enable_control(Control control, bool enabled) {
  call_on_gui([&] { state_->control(control).widget->setEnabled(enabled); });
}

void Gui::show_control(Control control, bool visible) {
  call_on_gui([&] {
    ControlState& c = state_->control(control);
    if (c.visible == visible) return;
    c.visible = visible;
    PageState& page = state_->pages.at(static_cast<std::size_t>(control.page));
    page.visible[static_cast<std::size_t>(c.kind)] += visible ? 1 : -1;
    c.widget->setVisible(visible);
    if (c.label != nullptr) c.label->setVisible(visible);
    page.widget->layout()->activate();
  });
}

bool Gui::control_visible(Control control) const {
  bool visible = false;
  call_on_gui([&] { visible = state_->control(control).visible; });
  return visible;
}

bool Gui::control_enabled(Control control) const {
  bool enabled = false;
  call_on_gui([&] { enabled = state_->control(control).widget->isEnabled(); });
  return enabled;
}

std::string Gui::control_text(Control control) const {
  std::string text;
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = from_q(edit->text());
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = from_q(button->text());
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) text = from_q(combo->currentText());
    else if (auto* rich = qobject_cast<QTextEdit*>(widget)) text = from_q(rich->toPlainText());
  });
  return text;
}

void Gui::set_control_text(Control control, std::string_view text) {
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(to_q(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(to_q(text));
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      // An editable box shows any text; a plain one can only select an item.
      if (combo->isEditable()) combo->setEditText(to_q(text));
      else combo->setCurrentIndex(combo->findText(to_q(text)));
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
      // The program's own change is no user edit: no action.
      const QSignalBlocker quiet(rich);
      rich->setPlainText(to_q(text));
    }
  });
}

void Gui::set_progress(Control control, int value) {
  call_on_gui([&] {
    if (auto* bar = qobject_cast<QProgressBar*>(state_->control(control).widget)) bar->setValue(value);
  });
}

int Gui::control_value(Control control) const {
  int value = 0;
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (auto* slider = qobject_cast<QSlider*>(widget)) value = slider->value();
    else if (auto* bar = qobject_cast<QProgressBar*>(widget)) value = bar->value();
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      value = combo->currentIndex();
      // Edited into a text no item has, the box has no selection.
      if (value >= 0 && combo->isEditable() && combo->itemText(value) != combo->currentText()) value = -1;
    }
  });
  return value;
}

void Gui::set_control_value(Control control, int value) {
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    const QSignalBlocker quiet(widget);
    if (auto* slider = qobject_cast<QSlider*>(widget)) slider->setValue(value);
    else if (auto* bar = qobject_cast<QProgressBar*>(widget)) bar->setValue(value);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
      combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
  });
}

ControlKind Gui::control_kind(Control control) const {
  ControlKind kind = ControlKind::CHILD;
  call_on_gui([&] { kind = state_->control(control).kind; });
  return kind;
}

int Gui::visible_count(Page page, ControlKind kind) const {
  int count = 0;
  call_on_gui([&] { count = state_->pages.at(static_cast<std::size_t>(page.index)).visible[static_cast<std::size_t>(kind)]; });
  return count;
}

void* Gui::widget(Control control) const {
  void* result = nullptr;
  call_on_gui([&] { result = state_->control(control).widget; });
  return result;
}

int Gui::column_width(Control control, int column) const {
  int width = 0;
  call_on_gui([&] {
    auto* view = qobject_cast<QTreeView*>(state_->control(control).widget);
    if (view != nullptr && view->model() != nullptr && column >= 1 && column <= view->model()->columnCount())
      width = view->columnWidth(column - 1);
  });
  return width;
}

void Gui::set_column_width(Control control, int column, int width) {
  call_on_gui([&] {
    auto* view = qobject_cast<QTreeView*>(state_->control(control).widget);
    if (view != nullptr && view->model() != nullptr && column >= 1 && column <= view->model()->columnCount() &&
        width > 0)
      view->setColumnWidth(column - 1, width);
  });
}

}  // namespace flawseek::gui
