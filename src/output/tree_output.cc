// The in-memory findings tree and its indented text form.
#include "output/tree_output.h"

#include <algorithm>

namespace flawseek {

TextTreeView::TextTreeView() { nodes_.emplace_back(); }

TreeItem TextTreeView::insert_item(TreeItem parent, std::string_view text, const Finding* finding,
                                   TreePlacement placement) {
  if (parent >= nodes_.size()) parent = no_tree_item;  // an unknown parent means the top level
  TreeItem item = static_cast<TreeItem>(nodes_.size());
  nodes_.push_back(Node{std::string(text), finding, {}});
  std::vector<TreeItem>& siblings = nodes_[parent].children;
  auto position = siblings.end();
  if (placement == TreePlacement::Sorted) {
    // Equal texts keep their arrival order: the new item goes after them.
    position = std::upper_bound(siblings.begin(), siblings.end(), text, [this](std::string_view t, TreeItem sibling) {
      return tree_text_less(t, nodes_[sibling].text);
    });
  }
  siblings.insert(position, item);
  return item;
}

void TextTreeView::set_item_text(TreeItem item, std::string_view text) {
  if (item != no_tree_item && item < nodes_.size()) nodes_[item].text.assign(text);
}

void TextTreeView::delete_all_items() {
  nodes_.clear();
  nodes_.emplace_back();
}

const std::vector<TreeItem>& TextTreeView::children(TreeItem parent) const {
  return nodes_[parent < nodes_.size() ? parent : no_tree_item].children;
}

const std::string& TextTreeView::text(TreeItem item) const { return nodes_[item < nodes_.size() ? item : 0].text; }

const Finding* TextTreeView::finding(TreeItem item) const {
  return item < nodes_.size() ? nodes_[item].finding : nullptr;
}

void TextTreeView::render(std::ostream& out, int indent) const {
  // An explicit stack: the tree is shallow, but nothing here should depend on that.
  struct Pending {
    TreeItem item;
    int depth;
  };
  std::vector<Pending> stack;
  const auto& top = nodes_[0].children;
  for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back({*it, 0});
  while (!stack.empty()) {
    Pending p = stack.back();
    stack.pop_back();
    out << std::string(static_cast<std::size_t>(p.depth * indent), ' ') << nodes_[p.item].text << '\n';
    const auto& kids = nodes_[p.item].children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back({*it, p.depth + 1});
  }
}

}  // namespace flawseek
