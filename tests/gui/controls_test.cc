// The framework's combo box, list view, rich edit and track bar driven as a
// user drives them: actions reach the action-handler thread with their
// argument, the list view paints from its callbacks, and a registered list
// view's column width survives a restart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTextEdit>
#include <QThread>
#include <QTreeView>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "gui/gui.h"
#include "gui/metrics.h"
#include "platform/settings_store.h"
#include "support/temporary_directory.h"
#include "support/wait_until.h"

namespace flawseek {
namespace {

using namespace std::chrono_literals;
using testing::wait_until;

// Opens a window with one page, lets `build` add controls on the GUI thread,
// then runs `steps` on a thread of its own (as a user) while the event loop
// runs, and closes the window.
void with_page(const std::function<void(gui::Gui&, gui::Page)>& build, const std::function<void(gui::Gui&)>& steps,
               gui::WindowMetrics* metrics = nullptr, gui::Gui* given = nullptr) {
  gui::Gui own;
  gui::Gui& gui = given != nullptr ? *given : own;
  if (metrics != nullptr) metrics->create_main_window("Controls", "1", {}, {}, "", false);
  else gui.create_main_window("Controls", "", {}, false, {});
  build(gui, gui.create_page("Test"));
  std::thread user([&] {
    steps(gui);
    gui.close();
  });
  gui.run();
  user.join();
}

// Where and with what an action ran.
struct Calls {
  std::mutex mutex;
  std::vector<int> arguments;
  std::vector<std::string> texts;  // what the control held when it ran
  bool off_gui_thread = true;
  std::size_t count() {
    std::lock_guard lock(mutex);
    return arguments.size();
  }
  void record(int argument, std::string text) {
    std::lock_guard lock(mutex);
    if (QThread::currentThread() == qApp->thread()) off_gui_thread = false;
    arguments.push_back(argument);
    texts.push_back(std::move(text));
  }
};

void key(gui::Gui& gui, QWidget* target, int code, const QString& text = {}) {
  gui.call_on_gui([&] {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
  });
}

void mouse(QWidget* target, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

TEST(Controls, ComboBoxPicksAndEditsRunItsActionWithItsArgumentOffTheGuiThread) {
  Calls calls;
  gui::Control combo, plain;
  gui::Page shown_on;
  with_page(
      [&](gui::Gui& gui, gui::Page page) {
        shown_on = page;
        combo = gui.add_combo_box(page, "Rule Book:", {"Alpha", "Beta"}, "Alpha", [&](int argument) {
          calls.record(argument, gui.control_text(combo) + "#" + std::to_string(gui.control_value(combo)));
        }, 42);
        gui.combo_add_item(combo, "Gamma");
        plain = gui.add_combo_box(page, "Kind:", {"One", "Two"}, "Two", {}, 0, false);
      },
      [&](gui::Gui& gui) {
        auto* box = static_cast<QComboBox*>(gui.widget(combo));
        EXPECT_EQ(gui.control_kind(combo), gui::ControlKind::COMBO_BOX);
        EXPECT_EQ(gui.control_text(combo), "Alpha");
        // The program's own selection is no notification.
        gui.set_control_value(combo, 2);
        EXPECT_EQ(gui.control_text(combo), "Gamma");
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(calls.count(), 0u);

        key(gui, box, Qt::Key_Up);  // the user picks "Beta"
        ASSERT_TRUE(wait_until([&] { return calls.count() == 1; }));
        // An edit acts once it is finished, not per keystroke.
        QLineEdit* line = box->lineEdit();
        gui.call_on_gui([&] { line->selectAll(); });
        key(gui, line, Qt::Key_Z, "Z");
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(calls.count(), 1u);
        key(gui, line, Qt::Key_Return);
        ASSERT_TRUE(wait_until([&] { return calls.count() >= 2; }));
        std::this_thread::sleep_for(50ms);
        std::lock_guard lock(calls.mutex);
        EXPECT_EQ(calls.arguments, (std::vector<int>{42, 42}));
        EXPECT_EQ(calls.texts, (std::vector<std::string>{"Beta#1", "Z#-1"}));
        EXPECT_TRUE(calls.off_gui_thread);
        EXPECT_EQ(box->count(), 3) << "typing must not add an item";

        // A plain box shows only its items.
        EXPECT_EQ(gui.control_kind(plain), gui::ControlKind::PLAIN_COMBO_BOX);
        EXPECT_EQ(gui.control_value(plain), 1);
        gui.set_control_text(plain, "One");
        EXPECT_EQ(gui.control_value(plain), 0);
        gui.set_control_text(plain, "Three");
        EXPECT_EQ(gui.control_value(plain), -1);
        EXPECT_EQ(gui.control_text(plain), "");

        // Hidden, it takes its label along and leaves the page's count.
        EXPECT_EQ(gui.visible_count(shown_on, gui::ControlKind::COMBO_BOX), 1);
        gui.show_control(combo, false);
        EXPECT_EQ(gui.visible_count(shown_on, gui::ControlKind::COMBO_BOX), 0);
        gui.call_on_gui([&] { EXPECT_FALSE(box->parentWidget()->findChild<QLabel*>()->isVisible()); });
      });
}

TEST(Controls, ListViewPaintsFromItsCallbacksAndReportsDoubleClicksAndColumnClicks) {
  Calls double_clicks;
  std::vector<int> column_clicks;  // GUI thread only
  gui::Control list;
  with_page(
      [&](gui::Gui& gui, gui::Page page) {
        list = gui.add_list_view(
            page, {{"File", 120}, {"Line", 60}},
            [](int item, int column) { return "r" + std::to_string(item) + "c" + std::to_string(column); },
            [&](int item) { double_clicks.record(item, {}); },
            [&](int column) { column_clicks.push_back(column); },
            [](int item) { return item == 2 ? gui::ItemColours{0xFF0000, gui::no_colour} : gui::ItemColours{}; });
      },
      [&](gui::Gui& gui) {
        auto* view = static_cast<QTreeView*>(gui.widget(list));
        gui.list_set_item_count(list, 3);
        EXPECT_EQ(gui.list_item_count(list), 3);
        EXPECT_EQ(gui.column_width(list, 1), 120);
        EXPECT_EQ(gui.column_width(list, 3), 0);
        gui.call_on_gui([&] {
          QAbstractItemModel* model = view->model();
          ASSERT_EQ(model->rowCount(), 3);
          EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Line");
          EXPECT_EQ(model->index(1, 1).data().toString(), "r1c2");
          EXPECT_EQ(model->index(2, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
          EXPECT_FALSE(model->index(0, 0).data(Qt::ForegroundRole).isValid());
          view->setFocus();
          // A double-click on the second item; then on the second heading.
          const QPoint at = view->visualRect(model->index(1, 0)).center();
          mouse(view->viewport(), QEvent::MouseButtonPress, at);
          mouse(view->viewport(), QEvent::MouseButtonRelease, at);
          mouse(view->viewport(), QEvent::MouseButtonDblClick, at);
          mouse(view->viewport(), QEvent::MouseButtonRelease, at);
          QHeaderView* header = view->header();
          const QPoint heading(header->sectionViewportPosition(1) + 10, header->height() / 2);
          mouse(header->viewport(), QEvent::MouseButtonPress, heading);
          mouse(header->viewport(), QEvent::MouseButtonRelease, heading);
        });
        ASSERT_TRUE(wait_until([&] { return double_clicks.count() == 1; }));
        EXPECT_EQ(double_clicks.arguments.front(), 1);
        EXPECT_TRUE(double_clicks.off_gui_thread);
        gui.call_on_gui([&] { EXPECT_EQ(column_clicks, std::vector<int>{2}); });
        // Emptied, the list asks nothing and paints nothing.
        gui.list_set_item_count(list, 0);
        gui.call_on_gui([&] { EXPECT_EQ(view->model()->rowCount(), 0); });
      });
}

TEST(Controls, RegisteredColumnWidthIsStoredUnderItsValueNameAndComesBackAfterARestart) {
  testing::TemporaryDirectory directory{"gui-controls"};
  const auto user_file = directory.path() / "user.json";
  const auto run = [&](const std::function<void(gui::Gui&, gui::WindowMetrics&, gui::Control)>& steps) {
    SettingsStore store(SettingsFiles{user_file, directory.path() / "machine.json"}, false);
    store.initialize(Company::Brightmoor, "Flawseek");
    gui::Gui gui;
    gui::WindowMetrics metrics(gui, store);
    gui::Control kept, unnumbered;
    with_page(
        [&](gui::Gui& g, gui::Page page) {
          kept = g.add_list_view(page, {{"Unit", 80}, {"Reason", 90}}, {});
          unnumbered = g.add_list_view(page, {{"Other", 70}}, {});
          metrics.register_list_view({kept, 2, 3, "Findings"});
          metrics.register_list_view({kept, 2, 3, "Findings"});  // once only
          metrics.register_list_view({unnumbered, 1, 0, "Other"});
        },
        [&](gui::Gui& g) { steps(g, metrics, kept); }, &metrics, &gui);
  };
  run([](gui::Gui& gui, gui::WindowMetrics&, gui::Control kept) {
    EXPECT_EQ(gui.column_width(kept, 2), 90);
    gui.set_column_width(kept, 2, 177);
  });
  nlohmann::json stored = nlohmann::json::parse(std::ifstream(user_file), nullptr, false);
  const nlohmann::json metrics = stored["Software"]["Brightmoor"]["Flawseek"]["Metrics"];
  EXPECT_EQ(metrics["LV 3: Findings"], 177) << metrics.dump();
  // The four metrics and the one numbered list view, nothing else.
  EXPECT_EQ(metrics.size(), 5u) << metrics.dump();

  run([](gui::Gui& gui, gui::WindowMetrics& metrics, gui::Control kept) {
    EXPECT_EQ(gui.column_width(kept, 2), 177);
    EXPECT_EQ(gui.column_width(kept, 1), 80);
    metrics.unregister_list_view(kept);
    gui.set_column_width(kept, 2, 50);
  });
  stored = nlohmann::json::parse(std::ifstream(user_file), nullptr, false);
  EXPECT_EQ(stored["Software"]["Brightmoor"]["Flawseek"]["Metrics"]["LV 3: Findings"], 177);
}

TEST(Controls, RichEditAndTrackBarTakeTheProgramsValuesQuietlyAndActOnTheUsers) {
  Calls edits, moves;
  gui::Control rich, track;
  with_page(
      [&](gui::Gui& gui, gui::Page page) {
        rich = gui.add_rich_edit(page, "first", [&] { edits.record(0, gui.control_text(rich)); });
        track = gui.add_track_bar(page, 0, 10, [&](int argument) {
          moves.record(argument, std::to_string(gui.control_value(track)));
        }, 7);
      },
      [&](gui::Gui& gui) {
        EXPECT_EQ(gui.control_text(rich), "first");
        gui.set_control_text(rich, "line one\nline two");
        EXPECT_EQ(gui.control_text(rich), "line one\nline two");
        gui.set_control_value(track, 4);
        EXPECT_EQ(gui.control_value(track), 4);
        gui.set_control_value(track, 99);
        EXPECT_EQ(gui.control_value(track), 10) << "a position beyond the range stops at its end";
        gui.set_control_value(track, 4);
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(edits.count() + moves.count(), 0u);

        key(gui, static_cast<QWidget*>(gui.widget(track)), Qt::Key_Right);
        ASSERT_TRUE(wait_until([&] { return moves.count() == 1; }));
        EXPECT_EQ(moves.arguments.front(), 7);
        EXPECT_EQ(moves.texts.front(), "5");
        EXPECT_TRUE(moves.off_gui_thread);

        auto* text = static_cast<QTextEdit*>(gui.widget(rich));
        gui.call_on_gui([&] { text->moveCursor(QTextCursor::End); });
        key(gui, text, Qt::Key_X, "x");
        ASSERT_TRUE(wait_until([&] { return edits.count() == 1; }));
        EXPECT_EQ(edits.texts.front(), "line one\nline twox");
        EXPECT_TRUE(edits.off_gui_thread);
        gui.enable_control(track, false);
        EXPECT_FALSE(gui.control_enabled(track));
      });
}

}  // namespace
}  // namespace flawseek
