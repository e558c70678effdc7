// A tree view's state: the tree as the callers see it (kept at once, any
// thread) and as the widget shows it, with the changes queued between the two.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "gui/gui.h"

class QTreeView;

namespace flawseek::gui {

class TreeModel;

// One change of a tree, in the order it was asked for.
struct TreeOp {
  enum class What : std::uint8_t { Insert, SetText, Clear } what;
  TreeNode item = root_item;    // Clear: the first handle of the new generation
  TreeNode parent = root_item;
  int index = 0;
  std::string text;
};

struct TreeState {
  QTreeView* widget = nullptr;
  TreeModel* model = nullptr;  // owned by the widget
  IntegerAction double_click;

  // The tree as the callers see it, kept at once (any thread). A node keeps
  // its text only when it was inserted sorted: only such siblings are ever
  // compared, and a findings tree has hundreds of thousands of other rows.
  struct Node {
    TreeNode parent = root_item;
    std::string text;
    std::vector<TreeNode> children;
    bool sorted = false;
  };
  mutable std::mutex mutex;
  TreeNode base = 1;  // handle of nodes[0]
  std::vector<Node> nodes;
  std::vector<TreeNode> top;
  std::vector<TreeOp> pending;
  // The pending text change of an item, by item: a count shown in a kind
  // item changes with every finding, and only its last text is worth showing.
  std::unordered_map<TreeNode, std::size_t> pending_text;
  bool flush_scheduled = false;

  // The changes not yet shown, on their way to the model: batches taken
  // from `pending` whole (a swap, so the callers wait on the lock for no
  // copying), the first one shown up to `backlog_next`. Counted under the
  // lock, changed on the GUI thread.
  std::deque<std::vector<TreeOp>> backlog;
  std::size_t backlog_next = 0;
  std::size_t backlog_count = 0;

  Node* node(TreeNode item) {
    if (item < base || item - base >= nodes.size()) return nullptr;
    return &nodes[item - base];
  }
};

}  // namespace flawseek::gui
