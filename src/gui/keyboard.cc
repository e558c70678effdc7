// The keyboard: menu items' shortcuts, window-wide keys, Return in a box, the
// Tab order and the focus. Every key's action runs on the action-handler
// thread, as the mouse's do, so a key never blocks the window.
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>

#include "gui/gui_state.h"

namespace flawseek::gui {

namespace {

QKeySequence key_sequence(std::string_view keys) { return QKeySequence(to_q(keys), QKeySequence::PortableText); }

}  // namespace

void Gui::set_item_shortcut(MenuItem item, std::string_view keys) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) state_->items[slot].action->setShortcut(key_sequence(keys));
  });
}

void Gui::add_shortcut(std::string_view keys, Action action) {
  State* state = state_.get();
  call_on_gui([&] {
    if (state->window == nullptr) return;
    auto* shortcut = new QShortcut(key_sequence(keys), state->window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, [state, action] { state->actions->post(action); });
  });
}

void Gui::set_return_action(Control box, Action action) {
  State* state = state_.get();
  call_on_gui([&] {
    QWidget* widget = state->control(box).widget;
    QLineEdit* line = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) line = combo->lineEdit();
    if (line == nullptr) return;
    QObject::connect(line, &QLineEdit::returnPressed, line, [state, action] { state->actions->post(action); });
  });
}

void Gui::set_tab_order(const std::vector<Control>& controls) {
  call_on_gui([&] {
    for (std::size_t i = 1; i < controls.size(); ++i)
      QWidget::setTabOrder(state_->control(controls[i - 1]).widget, state_->control(controls[i]).widget);
  });
}

void Gui::set_focus(Control control) {
  call_on_gui([&] {
    QWidget* widget = state_->control(control).widget;
    if (widget->isVisible()) {
      widget->setFocus(Qt::OtherFocusReason);
      return;
    }
    // A control added to a shown page is shown by a posted event, and a
    // hidden widget takes no focus: the focus follows that event.
    QMetaObject::invokeMethod(widget, [widget] { widget->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
  });
}

}  // namespace flawseek::gui
