// The findings tree of the "Display" page: the findings list's view on the
// window's tree control. Each item keeps a copy of the finding it stands for,
// so a double-click on an item that a new search has just emptied finds nothing
// instead of a finding that is gone. A file item and the position item of its
// first finding share one copy, and a reason row stands for its position
// row's finding, so opening the source works on every row of a finding.
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

  // The finding an item carries: none for kind items and items of an
  // earlier search.
  std::optional<Finding> finding(TreeItem item) const;

 private:
  gui::Gui& gui_;
  gui::Control tree_;
  mutable std::mutex mutex_;
  TreeItem first_ = 1;  // handle of slots_[0]
  std::vector<std::uint32_t> slots_;  // per item: 1 + its finding's index in findings_, or 0
  std::vector<Finding> findings_;
  const Finding* last_stored_ = nullptr;  // the list's finding copied last
};

}  // namespace flawseek
