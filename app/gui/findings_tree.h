// The findings tree of the "Display" page: the findings list's view on the
// window's tree control. Each item keeps a copy of the finding it stands for,
// so a double-click on an item that a new search has just emptied finds nothing
// instead of a finding that is gone.
#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "findings/findings_view.h"
#include "gui/gui.h"

namespace flawseek {

class FindingsTree final : public FindingsView {
 public:
  FindingsTree(gui::Gui& gui, gui::Control tree);

  TreeItem insert_item(TreeItem parent, std::string_view text, const Finding* finding,
                       TreePlacement placement) override;
  void set_item_text(TreeItem item, std::string_view text) override;
  void delete_all_items() override;

  // The finding an item carries: none for kind items, reason items and items
  // of an earlier search.
  std::optional<Finding> finding(TreeItem item) const;

 private:
  gui::Gui& gui_;
  gui::Control tree_;
  mutable std::mutex mutex_;
  TreeItem first_ = 1;  // handle of findings_[0]
  std::vector<std::optional<Finding>> findings_;
};

}  // namespace flawseek
