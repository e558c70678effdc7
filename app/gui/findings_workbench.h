// The findings table of the "Display" page with what works on it: a filter
// box, the grouping, the count of what shows, and below the table the
// selected finding's detail. Enter or a double-click on a finding opens it;
// Ctrl+C copies the selected findings as GNU lines.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <set>

#include "findings/finding.h"
#include "findings_table_model.h"
#include "gui/gui.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTimer;
class QTreeView;

namespace flawseek {

class FindingsWorkbench final : public QWidget {
 public:
  // `open` runs on the GUI thread with the finding to show in the editor;
  // slow work (reading a file for the preview, the GNU lines' columns) goes
  // to the action handler of `gui`.
  FindingsWorkbench(gui::Gui& gui, const SharedFindings& findings, std::function<void(Finding)> open);

  FindingsTableModel& model() { return *model_; }
  QTreeView& table() { return *table_; }
  QLineEdit& filter_box() { return *filter_; }
  QComboBox& grouping_box() { return *grouping_; }
  QTextBrowser& detail() { return *detail_; }
  QLabel& count_label() { return *count_; }
  // The root the table's file names are relative to (the search's).
  void set_root(const std::string& root) { model_->set_root(root); }
  // Takes in the findings the search added; the window's timer calls it too.
  void refresh();
  // Copies the selected findings to the clipboard as GNU lines (the work is
  // queued; the clipboard is set when it is done).
  void copy_selection();

 private:
  void apply_filter();
  void show_count();
  void show_detail();
  void open_index(const QModelIndex& index);
  void keep_expansion(const QModelIndex& index, bool expanded);
  void expand_kept_groups();

  gui::Gui& gui_;
  const SharedFindings& findings_;
  std::function<void(Finding)> open_;
  FindingsTableModel* model_;
  QLineEdit* filter_;
  QComboBox* grouping_;
  QLabel* count_;
  QTreeView* table_;
  QTextBrowser* detail_;
  QTimer* refresh_timer_;
  QTimer* filter_timer_;
  std::set<std::uint32_t> expanded_groups_;
  std::uint64_t detail_generation_ = 0;  // a preview read for an older selection is dropped
};

}  // namespace flawseek
