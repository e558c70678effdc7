// The menu bar: menus, submenus and items whose actions run on the
// action-handler thread; an item's check mark is set only by the program.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "gui/gui_state.h"

namespace flawseek::gui {

Menu Gui::create_menu(std::string_view title) {
  Menu menu;
  call_on_gui([&] {
    if (state_->window == nullptr) return;
    QMenu* created = state_->window->menuBar()->addMenu(to_q(title));
    menu.index = static_cast<int>(state_->menus.size());
    state_->menus.push_back(created);
    state_->top_menus.push_back(menu.index);
  });
  return menu;
}

Menu Gui::create_submenu(Menu parent, std::string_view title) {
  Menu menu;
  call_on_gui([&] {
    if (parent.index < 0) return;
    QMenu* created = state_->menus.at(static_cast<std::size_t>(parent.index))->addMenu(to_q(title));
    menu.index = static_cast<int>(state_->menus.size());
    state_->menus.push_back(created);
  });
  return menu;
}

MenuItem Gui::add_item(Menu menu, std::string_view text, IntegerAction action, int argument) {
  MenuItem item;
  State* state = state_.get();
  call_on_gui([&] {
    if (menu.index < 0) return;
    QAction* created = state->menus.at(static_cast<std::size_t>(menu.index))->addAction(to_q(text));
    item.id = first_menu_item_id + static_cast<int>(state->items.size());
    state->items.push_back(ItemState{created, false});
    const std::size_t slot = state->items.size() - 1;
    QObject::connect(created, &QAction::triggered, created, [state, slot, action, argument] {
      // Marks are the owner's business: a checkable item must not flip by itself.
      ItemState& it = state->items[slot];
      if (it.action->isCheckable()) it.action->setChecked(it.checked);
      if (action) state->actions->post(action, argument);
    });
  });
  return item;
}

void Gui::add_separator(Menu menu) {
  call_on_gui([&] {
    if (menu.index >= 0) state_->menus.at(static_cast<std::size_t>(menu.index))->addSeparator();
  });
}

void Gui::enable_item(MenuItem item, bool enabled) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) state_->items[slot].action->setEnabled(enabled);
  });
}

void Gui::check_item(MenuItem item, bool checked) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot >= state_->items.size()) return;
    ItemState& it = state_->items[slot];
    it.checked = checked;
    it.action->setCheckable(true);
    it.action->setChecked(checked);
  });
}

bool Gui::item_checked(MenuItem item) const {
  bool checked = false;
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) checked = state_->items[slot].checked;
  });
  return checked;
}

bool Gui::item_enabled(MenuItem item) const {
  bool enabled = false;
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot < state_->items.size()) enabled = state_->items[slot].action->isEnabled();
  });
  return enabled;
}

void Gui::trigger_item(MenuItem item) {
  call_on_gui([&] {
    const std::size_t slot = static_cast<std::size_t>(item.id - first_menu_item_id);
    if (slot >= state_->items.size()) return;
    QAction* action = state_->items[slot].action;
    if (action->isEnabled()) action->trigger();
  });
}

void Gui::enable_menus(bool enabled) {
  call_on_gui([&] {
    for (int index : state_->top_menus) state_->menus[static_cast<std::size_t>(index)]->menuAction()->setEnabled(enabled);
  });
}

void Gui::enable_menu(Menu menu, bool enabled) {
  call_on_gui([&] {
    if (menu.index >= 0 && static_cast<std::size_t>(menu.index) < state_->menus.size())
      state_->menus[static_cast<std::size_t>(menu.index)]->menuAction()->setEnabled(enabled);
  });
}

bool Gui::menu_enabled(Menu menu) const {
  bool enabled = false;
  call_on_gui([&] {
    if (menu.index >= 0 && static_cast<std::size_t>(menu.index) < state_->menus.size())
      enabled = state_->menus[static_cast<std::size_t>(menu.index)]->menuAction()->isEnabled();
  });
  return enabled;
}

}  // namespace flawseek::gui
