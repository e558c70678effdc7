// The findings tree over the window's batched tree control.
#include "findings_tree.h"

namespace flawseek {

FindingsTree::FindingsTree(gui::Gui& gui, gui::Control tree) : gui_(gui), tree_(tree) {}

TreeItem FindingsTree::insert_item(TreeItem parent, std::string_view text, const Finding* finding,
                                   TreePlacement placement) {
  const TreeItem item = gui_.tree_insert(tree_, parent, text, placement == TreePlacement::Sorted, &tree_text_less);
  if (item == gui::root_item) return item;
  std::lock_guard lock(mutex_);
  // Handles grow without gaps within one search; the first one after a clear
  // starts the table.
  if (slots_.empty()) first_ = item;
  if (item < first_) return item;
  slots_.resize(item - first_ + 1);
  std::uint32_t& slot = slots_[item - first_];
  if (finding != nullptr) {
    if (finding != last_stored_ || findings_.empty()) {
      findings_.push_back(*finding);
      last_stored_ = finding;
    }
    slot = static_cast<std::uint32_t>(findings_.size());
  } else if (parent >= first_ && parent - first_ < slots_.size()) {
    // A reason row below a position row: the same finding.
    slot = slots_[parent - first_];
  }
  return item;
}

void FindingsTree::set_item_text(TreeItem item, std::string_view text) { gui_.tree_set_text(tree_, item, text); }

void FindingsTree::delete_all_items() {
  {
    std::lock_guard lock(mutex_);
    slots_.clear();
    findings_.clear();
    last_stored_ = nullptr;
    first_ = static_cast<TreeItem>(-1);
  }
  gui_.tree_delete_all(tree_);
}

std::optional<Finding> FindingsTree::finding(TreeItem item) const {
  std::lock_guard lock(mutex_);
  if (item < first_ || item - first_ >= slots_.size() || slots_[item - first_] == 0) return std::nullopt;
  return findings_[slots_[item - first_] - 1];
}

}  // namespace flawseek
