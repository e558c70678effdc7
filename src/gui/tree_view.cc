// The tree view: insertions return at once and reach the widget in slices of
// time, so the event loop keeps answering while thousands of items arrive.
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <chrono>
#include <memory>
#include <mutex>

#include "gui/gui_state.h"

namespace flawseek::gui {

namespace {

// Applies queued changes for a slice of time, then yields to the event loop and
// comes back for the rest.
void flush_tree(TreeState* tree) {
  {
    std::lock_guard lock(tree->mutex);
    tree->flush_scheduled = false;
    for (TreeOp& op : tree->pending) tree->backlog.push_back(std::move(op));
    tree->pending.clear();
    tree->pending_text.clear();
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
  QTreeWidget* view = tree->widget;
  view->setUpdatesEnabled(false);
  int done = 0;
  while (!tree->backlog.empty()) {
    TreeOp& op = tree->backlog.front();
    switch (op.what) {
      case TreeOp::What::Clear:
        view->clear();
        tree->shown.clear();
        tree->shown_base = op.item;
        break;
      case TreeOp::What::Insert: {
        auto* item = new QTreeWidgetItem(QStringList{to_q(op.text)});
        item->setData(0, Qt::UserRole, static_cast<int>(op.item));
        QTreeWidgetItem* parent = nullptr;
        if (op.parent != root_item && op.parent >= tree->shown_base &&
            op.parent - tree->shown_base < tree->shown.size())
          parent = tree->shown[op.parent - tree->shown_base];
        if (parent != nullptr) parent->insertChild(op.index, item);
        else view->insertTopLevelItem(op.index, item);
        tree->shown.push_back(item);
        break;
      }
      case TreeOp::What::SetText:
        if (op.item >= tree->shown_base && op.item - tree->shown_base < tree->shown.size())
          tree->shown[op.item - tree->shown_base]->setText(0, to_q(op.text));
        break;
    }
    tree->backlog.pop_front();
    if ((++done & 255) == 0 && std::chrono::steady_clock::now() > deadline) break;
  }
  view->setUpdatesEnabled(true);
  if (!tree->backlog.empty()) QTimer::singleShot(0, view, [tree] { flush_tree(tree); });
}

void queue_tree_op(QObject* bridge, TreeState* tree, TreeOp op) {
  bool schedule = false;
  {
    // Called with tree->mutex held by the caller.
    tree->pending.push_back(std::move(op));
    if (!tree->flush_scheduled) {
      tree->flush_scheduled = true;
      schedule = true;
    }
  }
  if (schedule) {
    // A short wait gathers the changes of many findings into one slice.
    QMetaObject::invokeMethod(
        bridge, [tree] { QTimer::singleShot(20, tree->widget, [tree] { flush_tree(tree); }); },
        Qt::QueuedConnection);
  }
}

}  // namespace

Control Gui::add_tree_view(Page page, IntegerAction double_click) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* view = new QTreeWidget;
    view->setHeaderHidden(true);
    view->setColumnCount(1);
    view->setUniformRowHeights(true);  // keeps long trees cheap to lay out
    view->header()->setStretchLastSection(true);
    p.views->addWidget(view, 1);
    control = add_control(state->pages, page, ControlKind::TREE_VIEW, view, nullptr);
    ControlState& created = state->control(control);
    created.tree = std::make_unique<TreeState>();
    created.tree->widget = view;
    created.tree->double_click = std::move(double_click);
    TreeState* tree = created.tree.get();
    {
      std::lock_guard lock(state->trees_mutex);
      state->trees.push_back({{control.page, control.id}, tree});
    }
    // Activation is a double-click or Enter on the item, as the desktop has it.
    QObject::connect(view, &QTreeWidget::itemActivated, view, [state, tree](QTreeWidgetItem* item, int) {
      if (item == nullptr || !tree->double_click) return;
      const int handle = item->data(0, Qt::UserRole).toInt();
      state->actions->post(tree->double_click, handle);
    });
  });
  return control;
}

TreeNode Gui::tree_insert(Control tree_control, TreeNode parent, std::string_view text, bool sorted, TextLess less) {
  TreeState* tree = state_->find_tree(tree_control);
  if (tree == nullptr) return root_item;
  std::lock_guard lock(tree->mutex);
  std::vector<TreeNode>* siblings = &tree->top;
  if (parent != root_item) {
    TreeState::Node* node = tree->node(parent);
    if (node == nullptr) return root_item;
    siblings = &node->children;
  }
  std::size_t index = siblings->size();
  if (sorted && less != nullptr) {
    index = 0;
    while (index < siblings->size() && !less(text, tree->node((*siblings)[index])->text)) ++index;
  }
  const TreeNode handle = tree->base + static_cast<TreeNode>(tree->nodes.size());
  siblings->insert(siblings->begin() + static_cast<std::ptrdiff_t>(index), handle);
  tree->nodes.push_back(TreeState::Node{parent, sorted ? std::string(text) : std::string(), {}, sorted});
  queue_tree_op(&state_->bridge, tree, TreeOp{TreeOp::What::Insert, handle, parent, static_cast<int>(index), std::string(text)});
  return handle;
}

void Gui::tree_set_text(Control tree_control, TreeNode item, std::string_view text) {
  if (item == root_item) throw TreeItemIsRoot();
  TreeState* tree = state_->find_tree(tree_control);
  if (tree == nullptr) return;
  std::lock_guard lock(tree->mutex);
  TreeState::Node* node = tree->node(item);
  if (node == nullptr) return;
  if (node->sorted) node->text.assign(text);
  if (const auto pending = tree->pending_text.find(item); pending != tree->pending_text.end()) {
    tree->pending[pending->second].text.assign(text);
    return;
  }
  tree->pending_text.emplace(item, tree->pending.size());
  queue_tree_op(&state_->bridge, tree, TreeOp{TreeOp::What::SetText, item, root_item, 0, std::string(text)});
}

void Gui::tree_delete_all(Control tree_control) {
  TreeState* tree = state_->find_tree(tree_control);
  if (tree == nullptr) return;
  std::lock_guard lock(tree->mutex);
  tree->base += static_cast<TreeNode>(tree->nodes.size());
  tree->nodes.clear();
  tree->top.clear();
  queue_tree_op(&state_->bridge, tree, TreeOp{TreeOp::What::Clear, tree->base, root_item, 0, {}});
}

std::size_t Gui::tree_item_count(Control tree_control) const {
  std::size_t count = 0;
  call_on_gui([&] {
    if (TreeState* tree = state_->control(tree_control).tree.get()) count = tree->shown.size();
  });
  return count;
}

std::size_t Gui::tree_pending(Control tree_control) const {
  std::size_t count = 0;
  call_on_gui([&] {
    if (TreeState* tree = state_->control(tree_control).tree.get()) {
      std::lock_guard lock(tree->mutex);
      count = tree->pending.size() + tree->backlog.size();
    }
  });
  return count;
}

}  // namespace flawseek::gui
