// The window framework: one main window with a menu bar, pages on tabs, a status
// line and typed controls whose actions run on the action-handler thread. Every
// operation may be called from any thread; widgets are touched only on the GUI
// thread (calls from elsewhere are queued to it).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek::gui {

// The framework's named errors.
class GuiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
struct SequenceError : GuiError { SequenceError() : GuiError("Gui.Sequence_Error") {} };
struct MainWindowCreationFailure : GuiError {
  MainWindowCreationFailure() : GuiError("Gui.Main_Window_Creation_Failure") {}
};
struct StatusLineCreationFailure : GuiError {
  StatusLineCreationFailure() : GuiError("Gui.Status_Line_Creation_Failure") {}
};
struct TabCreationFailure : GuiError { TabCreationFailure() : GuiError("Gui.Tab_Creation_Failure") {} };
struct TreeItemIsRoot : GuiError { TreeItemIsRoot() : GuiError("Gui.Tree_Item_Is_Root") {} };
struct ActionRoutineIsDefined : GuiError {
  ActionRoutineIsDefined() : GuiError("Gui.Action_Routine_Is_Defined") {}
};

enum class ControlKind : std::uint8_t {
  CHILD, BUTTON, CHECK_BOX, EDIT_BOX, PLAIN_EDIT_BOX, CHECKED_EDIT_BOX, COMBO_BOX, PLAIN_COMBO_BOX,
  CHECKED_COMBO_BOX, LIST_VIEW, TREE_VIEW, RICH_EDIT, TRACK_BAR, PROGRESS_BAR,
};
inline constexpr int control_kind_count = 14;
// "Gui.Button" and so on.
std::string_view type_name(ControlKind kind);

// An action routine: plain, or with the integer it is given.
using Action = std::function<void()>;
using IntegerAction = std::function<void(int)>;

// Handles. Menu item ids start at 1000; control ids stay below 1000.
struct Menu { int index = -1; };
struct MenuItem { int id = 0; };
struct Page { int index = -1; };
struct Control { int page = -1; int id = 0; };
// A tree item; root_item is the top level. Handles are never reused, so a
// stale handle (an item deleted with all the others) finds nothing.
using TreeNode = std::uint32_t;
inline constexpr TreeNode root_item = 0;

// A list view's column: its heading and its width in pixels at creation.
struct ListColumn {
  std::string title;
  int width = 100;
};
// The colours of one list item as 0xRRGGBB; no_colour keeps the style's own.
inline constexpr int no_colour = -1;
struct ItemColours {
  int text = no_colour;
  int background = no_colour;
};
// A list view holds no texts: it asks for the text of a cell (item from 0,
// column from 1) whenever it paints one, on the GUI thread.
using CellText = std::function<std::string(int item, int column)>;
using ItemColouring = std::function<ItemColours(int item)>;
using ColumnClick = std::function<void(int column)>;

enum class MessageKind : std::uint8_t { Information, Warning, Error };

// Where the main window opens; use_default lets the platform choose the position.
inline constexpr int use_default = -2147483647 - 1;
struct WindowGeometry {
  int x = use_default;
  int y = use_default;
  int width = 500;
  int height = 300;
};

class Gui {
 public:
  // Needs the QApplication of the process to exist; call on the GUI thread.
  Gui();
  ~Gui();
  Gui(const Gui&) = delete;
  Gui& operator=(const Gui&) = delete;

  // ---- Main window ---------------------------------------------------------
  // Creates and shows the main window; a second call raises SequenceError.
  // The close handler runs on the termination-handler thread when the user
  // (or close()) asks the window to close; the window closes after it.
  void create_main_window(std::string_view title, std::string_view icon_name, WindowGeometry geometry,
                          bool top_most, Action close_handler);
  bool has_main_window() const;
  std::string title() const;
  // The outer rectangle as last recorded on a move or resize, and whether the
  // window is minimised or maximised now.
  WindowGeometry recorded_geometry() const;
  bool minimised_or_maximised() const;
  // Asks the window to close through the same path as the close button.
  void close();
  // Runs the event loop until the window has closed, then ends the handler
  // threads (the last action runs to its end first).
  int run();
  // A modal message box titled with the window's title; returns when closed.
  void show_message(std::string_view text, MessageKind kind = MessageKind::Information);
  // The status line is a label of its own: a menu's status tips and other
  // temporary messages never clear it.
  void set_status_text(std::string_view text);
  std::string status_text() const;

  // ---- Menus ---------------------------------------------------------------
  Menu create_menu(std::string_view title);
  // A menu inside another menu.
  Menu create_submenu(Menu parent, std::string_view title);
  MenuItem add_item(Menu menu, std::string_view text, IntegerAction action, int argument);
  void add_separator(Menu menu);
  void enable_item(MenuItem item, bool enabled);
  void check_item(MenuItem item, bool checked);
  bool item_checked(MenuItem item) const;
  bool item_enabled(MenuItem item) const;
  // Chooses the item as the user would (nothing when it is disabled).
  void trigger_item(MenuItem item);
  // All top-level menus of the menu bar at once.
  void enable_menus(bool enabled);
  // One menu (its title in the menu bar, or its entry in its parent menu).
  void enable_menu(Menu menu, bool enabled);
  bool menu_enabled(Menu menu) const;

  // ---- Pages and controls --------------------------------------------------
  Page create_page(std::string_view name, int style = 0, int value = 0);
  Control add_button(Page page, std::string_view text, Action action, int width = 100);
  // A labelled one-line box; its action runs when it loses the focus after an edit.
  Control add_edit_box(Page page, std::string_view label, std::string_view text, Action action = {});
  Control add_check_box(Page page, std::string_view text, IntegerAction action = {}, int argument = 0);
  Control add_progress_bar(Page page, int maximum);
  Control add_tree_view(Page page, IntegerAction double_click);
  // A labelled combo box holding `items`, showing `text`; editable unless
  // `editable` is false. Its action runs (with `argument`) when the user picks
  // an item and when the box loses the focus after an edit of its text; the
  // new selection is control_value, the text control_text.
  Control add_combo_box(Page page, std::string_view label, const std::vector<std::string>& items,
                        std::string_view text, IntegerAction action = {}, int argument = 0, bool editable = true);
  void combo_add_item(Control combo, std::string_view text);
  // A list view with the given columns; its texts come from `text` and its
  // items' colours from `colours`. A double-click on an item runs
  // `double_click` with the item (from 0) on the action-handler thread; a
  // click on a heading calls `column_click` with the column (from 1) on the
  // GUI thread.
  Control add_list_view(Page page, const std::vector<ListColumn>& columns, CellText text,
                        IntegerAction double_click = {}, ColumnClick column_click = {}, ItemColouring colours = {});
  // How many items the list shows; setting it asks every shown cell again.
  void list_set_item_count(Control list, int count);
  int list_item_count(Control list) const;
  // Asks every shown cell for its text and colours again.
  void list_refresh(Control list);
  // A view the application built itself (a Qt widget, which the page takes
  // over), placed with the page's other views.
  Control add_child_view(Page page, void* widget);
  // A multi-line text box; its action runs after each change the user makes.
  Control add_rich_edit(Page page, std::string_view text, Action action = {});
  // A horizontal slider from minimum to maximum; its action runs (with
  // `argument`) each time the user moves it; the position is control_value.
  Control add_track_bar(Page page, int minimum, int maximum, IntegerAction action = {}, int argument = 0);
  void enable_control(Control control, bool enabled);
  // Hiding a control hides its label too and lays the page out again.
  void show_control(Control control, bool visible);
  bool control_visible(Control control) const;
  bool control_enabled(Control control) const;
  std::string control_text(Control control) const;
  void set_control_text(Control control, std::string_view text);
  void set_progress(Control control, int value);
  // The number a control holds: a track bar's or progress bar's position, a
  // combo box's selected item (-1 for none, also when edited into a text no
  // item has); 0 for other kinds. Setting it from the program never runs the
  // control's action.
  int control_value(Control control) const;
  void set_control_value(Control control, int value);
  ControlKind control_kind(Control control) const;
  // How many controls of a kind the page shows.
  int visible_count(Page page, ControlKind kind) const;

  // ---- Tree view -------------------------------------------------------------
  // Insertions are batched: they return at once with the new item's handle and
  // reach the widget a slice at a time, so the event loop keeps answering while
  // tens of thousands of items arrive. Sorted items go among their siblings by
  // `less` of the texts at the moment of insertion, the others last.
  using TextLess = bool (*)(std::string_view, std::string_view);
  TreeNode tree_insert(Control tree, TreeNode parent, std::string_view text, bool sorted, TextLess less);
  void tree_set_text(Control tree, TreeNode item, std::string_view text);
  void tree_delete_all(Control tree);
  // What the widget shows once the queued changes have been applied (GUI
  // thread state; for tests and the screenshot): texts of the children.
  std::size_t tree_item_count(Control tree) const;
  // Changes queued but not yet shown in the widget.
  std::size_t tree_pending(Control tree) const;

  // The width of a column (from 1) of a tree or list view; 0 for other
  // controls and for columns the view does not have.
  int column_width(Control control, int column) const;
  void set_column_width(Control control, int column, int width);

  // The Qt widget behind a control or the window, for tests and screenshots.
  void* widget(Control control) const;
  void* main_window_widget() const;

  // ---- Keyboard --------------------------------------------------------------
  // Keys are written as Qt writes them portably: "F5", "Esc", "Ctrl+S".
  // The keys that choose a menu item, shown beside its text.
  void set_item_shortcut(MenuItem item, std::string_view keys);
  // Keys that run `action` on the action-handler thread while the main
  // window (or a control in it) has the focus.
  void add_shortcut(std::string_view keys, Action action);
  // Return or Enter in a one-line box runs `action` on the action-handler thread.
  void set_return_action(Control box, Action action);
  // The order the Tab key takes through these controls; the page's other
  // controls follow the last one.
  void set_tab_order(const std::vector<Control>& controls);
  void set_focus(Control control);

  // Runs `action` on the action-handler thread, after the actions queued
  // before it, as a control's own action runs.
  void post_action(Action action);

  // Runs `work` on the GUI thread and waits for it (at once when called there).
  // Returns false, without running it, once the window has gone.
  bool call_on_gui(const std::function<void()>& work) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace flawseek::gui
