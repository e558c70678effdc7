// The window's findings table against the command line's GNU lines: the
// same findings in the same order, sorted, grouped and filtered; the detail
// pane; Enter opening the editor; Ctrl+C; the view remembered.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

#include <chrono>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "control.h"
#include "findings/rule_descriptor.h"
#include "findings_workbench.h"
#include "support/environment_variable.h"
#include "support/file_text.h"
#include "support/temporary_directory.h"
#include "support/recording_program.h"
#include "support/wait_until.h"

namespace flawseek {
namespace {

using Json = nlohmann::json;
using namespace std::chrono_literals;
using testing::wait_until;

// One GNU line's place and id: "file:line:column [id]".
struct Place {
  std::string file;
  int line;
  int column;
  std::string id;
  bool operator==(const Place&) const = default;
};

std::vector<Place> gnu_places(const std::string& lines) {
  static const std::regex shape(R"(^(.*):(\d+):(\d+): .*\[([a-z/-]+)\]$)");
  std::vector<Place> places;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_match(line, match, shape))
      places.push_back({match[1], std::stoi(match[2]), std::stoi(match[3]), match[4]});
  }
  return places;
}

class FindingsTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(directory_ / "user");
    log_.open(directory_ / "flawseek.log", 0);
    root_ = directory_ / "sources";
    std::filesystem::create_directories(root_ / "sub");
    // Lower-case names and a missing end name break the TAVIK rule book on
    // most lines; the syntax error is a bug finding among them.
    std::ofstream(root_ / "alpha.adb") << "procedure alpha is\n   x : integer := 1;\nbegin\n   x := x + 1;\nend;\n";
    std::ofstream(root_ / "sub" / "beta.adb") << "procedure Beta is\nbegin\n   null\nend Beta;\n";
  }

  void store(const Json& application) {
    std::ofstream(directory_ / "user" / "registry.json")
        << Json{{"Software", {{"Brightmoor", {{"Flawseek", application}}}}}}.dump();
  }
  Json stored() const {
    std::ifstream in(directory_ / "user" / "registry.json");
    Json all = Json::parse(in, nullptr, false);
    return all.is_object() ? all["Software"]["Brightmoor"]["Flawseek"] : Json::object();
  }

  void with_window(const std::function<void(Control&, FindingsWorkbench&)>& steps) {
    gui::Gui gui;
    Control control(gui, log_);
    control.start();
    std::thread user([&] {
      steps(control, control.workbench());
      gui.close();
    });
    gui.run();
    user.join();
  }

  // Searches and waits until the table holds what the search found.
  static void search(Control& control, FindingsWorkbench& bench) {
    control.gui().call_on_gui(
        [&] { static_cast<QPushButton*>(control.gui().widget(control.search_button()))->click(); });
    ASSERT_TRUE(wait_until([&] { return control.search().last_outcome() != SearchOutcome::None; }));
    ASSERT_TRUE(wait_until([&] { return !control.search().running(); }));
    control.search().wait_until_idle();
    ASSERT_TRUE(wait_until([&] {
      std::size_t shown = 0;
      control.gui().call_on_gui([&] {
        bench.refresh();
        shown = bench.model().total_count();
      });
      return shown == static_cast<std::size_t>(control.findings().findings_count());
    }));
  }

  // The rows as places, in the order shown (group rows left out).
  static std::vector<Place> rows(Control& control, FindingsWorkbench& bench, const std::string& root) {
    std::vector<Place> places;
    control.gui().call_on_gui([&] {
      FindingsTableModel& model = bench.model();
      const auto add = [&](const QModelIndex& index) {
        const auto text = [&](int column) { return model.data(index.siblingAtColumn(column), Qt::DisplayRole).toString().toStdString(); };
        places.push_back({root + "/" + text(FindingsTableModel::FileColumn), std::stoi(text(FindingsTableModel::LineColumn)),
                          std::stoi(text(FindingsTableModel::ColumnColumn)), text(FindingsTableModel::KindColumn)});
      };
      for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex top = model.index(row, 0);
        if (model.finding_row(top)) {
          add(top);
        } else {
          for (int child = 0; child < model.rowCount(top); ++child) add(model.index(child, 0, top));
        }
      }
    });
    return places;
  }

  testing::TemporaryDirectory directory_{"table"};
  std::filesystem::path root_;
  testing::EnvironmentVariable user_variable_{"FLAWSEEK_USER_REGISTRY", (directory_ / "user" / "registry.json").c_str()};
  testing::EnvironmentVariable machine_variable_{"FLAWSEEK_MACHINE_REGISTRY", (directory_ / "machine.json").c_str()};
  testing::EnvironmentVariable config_home_{"XDG_CONFIG_HOME", (directory_ / "config").c_str()};
  Log log_;
};

// The kinds' labels as the command line's ids name them.
std::string label_of(const std::string& id) {
  for (const RuleDescriptor& rule : rule_descriptors)
    if (rule.id == id) return rule.label();
  return id;
}

TEST_F(FindingsTableTest, ShowsTheCommandLinesFindingsSortedGroupedAndFiltered) {
  store({{"Search Root", root_.string()}, {"Options", {{"Default Rule Book", 3}}}});
  const std::string program = FLAWSEEK_BINARY_DIR "/app/cli/flawseek";
  std::vector<Place> expected = gnu_places(
      testing::program_output(program + " --quiet --style-set TAVIK --format gnu --columns chars " + testing::shell_quoted(root_.string())));
  for (Place& place : expected) place.id = label_of(place.id);
  ASSERT_GE(expected.size(), 8u);

  with_window([&](Control& control, FindingsWorkbench& bench) {
    gui::Gui& gui = control.gui();
    search(control, bench);
    // In the order found: the GNU lines' (file, line, column).
    EXPECT_EQ(rows(control, bench, root_.string()), expected);

    // Sorting by a column, each way: rows equal on it keep the order found.
    const auto sorted_by = [&](int column, Qt::SortOrder order) {
      gui.call_on_gui([&] { bench.table().sortByColumn(column, order); });
      return rows(control, bench, root_.string());
    };
    std::vector<Place> by_line = expected;
    std::stable_sort(by_line.begin(), by_line.end(), [](const Place& a, const Place& b) { return a.line > b.line; });
    EXPECT_EQ(sorted_by(FindingsTableModel::LineColumn, Qt::DescendingOrder), by_line);
    std::vector<Place> by_kind = expected;
    std::stable_sort(by_kind.begin(), by_kind.end(), [](const Place& a, const Place& b) { return a.id < b.id; });
    EXPECT_EQ(sorted_by(FindingsTableModel::KindColumn, Qt::AscendingOrder), by_kind);
    EXPECT_EQ(sorted_by(-1, Qt::AscendingOrder), expected);

    // Grouped by file: a group per file, named relative to the root, and
    // each holding its file's findings.
    gui.call_on_gui([&] { bench.grouping_box().setCurrentIndex(static_cast<int>(FindingsGrouping::File)); });
    gui.call_on_gui([&] {
      FindingsTableModel& model = bench.model();
      ASSERT_EQ(model.rowCount(), 2);
      EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString().toStdString(),
                "alpha.adb (" + std::to_string(std::count_if(expected.begin(), expected.end(), [&](const Place& p) {
                  return p.file == (root_ / "alpha.adb").string();
                })) + ")");
      EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString().toStdString().substr(0, 12), "sub/beta.adb");
    });
    EXPECT_EQ(rows(control, bench, root_.string()), expected);  // file order is the order found

    // Grouped by kind, in the tree's order of labels.
    gui.call_on_gui([&] { bench.grouping_box().setCurrentIndex(static_cast<int>(FindingsGrouping::Kind)); });
    EXPECT_EQ(rows(control, bench, root_.string()), by_kind);

    // The filter narrows by id, family or text as the user types; the count
    // says how many show of all.
    const auto filtered = [&](const std::string& text) {
      std::size_t shown = 0;
      std::string count;
      gui.call_on_gui([&] {
        QTest::keyClicks(&bench.filter_box(), QString::fromStdString(text));
        QTest::keyClick(&bench.filter_box(), Qt::Key_Return);
        shown = bench.model().visible_count();
        count = bench.count_label().text().toStdString();
        bench.filter_box().clear();
        QTest::keyClick(&bench.filter_box(), Qt::Key_Return);
      });
      EXPECT_EQ(count, std::to_string(shown) + " of " + std::to_string(expected.size()) + " findings") << text;
      return shown;
    };
    const auto count_of = [&](const std::string& label) {
      return static_cast<std::size_t>(std::count_if(expected.begin(), expected.end(), [&](const Place& p) { return p.id == label; }));
    };
    EXPECT_EQ(filtered("style/bad-identifier"), count_of("Bad Identifier"));
    EXPECT_EQ(filtered("BUG"), count_of("Syntax Error"));
    EXPECT_EQ(filtered("missing ALPHA"), 1u);  // both words: the end name alpha lacks
  });
}

TEST_F(FindingsTableTest, DetailEnterCopyAndTheViewChosenAtTheNextStart) {
  const std::filesystem::path arguments = directory_ / "editor arguments";
  const std::filesystem::path editor = directory_ / "fake-editor";
  testing::write_recording_program(editor, arguments);
  store({{"Search Root", root_.string()}, {"Editor", testing::shell_quoted(editor.string()) + " %f %l %c"}});
  const std::string program = FLAWSEEK_BINARY_DIR "/app/cli/flawseek";
  const std::string gnu = testing::program_output(program + " --quiet --format gnu --columns chars " + testing::shell_quoted(root_.string()));

  with_window([&](Control& control, FindingsWorkbench& bench) {
    gui::Gui& gui = control.gui();
    gui.trigger_item(control.table_view_item());
    ASSERT_TRUE(wait_until([&] { return gui.control_visible(control.table_control()); }));
    EXPECT_FALSE(gui.control_visible(control.tree_control()));
    search(control, bench);
    ASSERT_EQ(control.findings().findings_count(), 1);  // beta's syntax error

    gui.call_on_gui([&] {
      bench.table().setFocus();
      bench.table().setCurrentIndex(bench.model().index(0, 0));
    });
    // The message and the rule's texts at once; the source lines once read.
    ASSERT_TRUE(wait_until([&] {
      std::string text;
      gui.call_on_gui([&] { text = bench.detail().toPlainText().toStdString(); });
      return text.find("3 >    null") != std::string::npos;
    })) ;
    gui.call_on_gui([&] {
      const std::string text = bench.detail().toPlainText().toStdString();
      EXPECT_NE(text.find("Syntax Error [syntax-error]"), std::string::npos) << text;
      EXPECT_NE(text.find("What it detects."), std::string::npos);
      EXPECT_NE(text.find("How to suppress it."), std::string::npos);
      // The caret stands under the column the finding names.
      const Finding& finding = control.findings().findings(BugKind::SYNTAX_ERROR).front();
      const std::size_t line_start = text.find("     3 > ");
      const std::size_t caret = text.find('^', line_start);
      ASSERT_NE(caret, std::string::npos);
      const std::size_t caret_line = text.rfind('\n', caret) + 1;
      EXPECT_EQ(caret - caret_line, 9 + static_cast<std::size_t>(finding.column - 1));

      QApplication::clipboard()->clear();
      QTest::keyClick(&bench.table(), Qt::Key_C, Qt::ControlModifier);
      QTest::keyClick(&bench.table(), Qt::Key_Return);
    });
    // Ctrl+C copies the GNU line; Enter opens the editor at the finding.
    ASSERT_TRUE(wait_until([&] {
      std::string copied;
      gui.call_on_gui([&] { copied = QApplication::clipboard()->text().toStdString(); });
      return !copied.empty();
    }));
    gui.call_on_gui([&] { EXPECT_EQ(QApplication::clipboard()->text().toStdString(), gnu); });
    ASSERT_TRUE(wait_until([&] { return std::filesystem::exists(arguments); }));
    const Finding& finding = control.findings().findings(BugKind::SYNTAX_ERROR).front();
    EXPECT_EQ(testing::read_file(arguments), finding.file.str() + "\n" + std::to_string(finding.line) + "\n" +
                                                 std::to_string(finding.column) + "\n");

    // The tree, not fed while hidden, is made from the findings when it comes back.
    gui.trigger_item(control.tree_view_item());
    ASSERT_TRUE(wait_until([&] {
      return gui.control_visible(control.tree_control()) && gui.tree_pending(control.tree_control()) == 0 &&
             gui.tree_item_count(control.tree_control()) == 4;  // kind, file, position, source
    }));
    gui.trigger_item(control.table_view_item());
  });
  EXPECT_EQ(stored()["Findings View"], "Table");
  with_window([&](Control& control, FindingsWorkbench&) {
    EXPECT_TRUE(control.gui().control_visible(control.table_control()));
    EXPECT_TRUE(control.gui().item_checked(control.table_view_item()));
    EXPECT_FALSE(control.gui().item_checked(control.tree_view_item()));
  });
}

}  // namespace
}  // namespace flawseek
