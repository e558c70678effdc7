// The tree view: insertions return at once and reach the widget in slices of
// time, so the event loop keeps answering while thousands of items arrive.
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <chrono>
#include <memory>
#include <mutex>

#include "gui/gui_state.h"
#include "gui/tree_model.h"

namespace flawseek::gui {

namespace {

// Applies queued changes for a slice of time, then yields to the event loop and
// comes back for the rest.
void flush_tree(TreeState* tree) {
  {
    std::lock_guard lock(tree->mutex);
    tree->flush_scheduled = false;
    if (!tree->pending.empty()) {
      tree->backlog_count += tree->pending.size();
      tree->backlog.push_back(std::move(tree->pending));
      tree->pending = {};
    }
    tree->pending_text.clear();
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(15);
  TreeModel* model = tree->model;
  int done = 0;
  std::size_t shown = 0;
  while (!tree->backlog.empty()) {
    std::vector<TreeOp>& batch = tree->backlog.front();
    TreeOp& op = batch[tree->backlog_next];
    switch (op.what) {
      case TreeOp::What::Clear:
        model->clear(op.item);
        break;
      case TreeOp::What::Insert:
        model->insert(op.item, op.parent, op.index, op.text);
        break;
      case TreeOp::What::SetText:
        model->set_text(op.item, op.text);
        break;
    }
    ++shown;
    if (++tree->backlog_next == batch.size()) {
      tree->backlog.pop_front();
      tree->backlog_next = 0;
    }
    if ((++done & 255) == 0 && std::chrono::steady_clock::now() > deadline) break;
  }
  {
    std::lock_guard lock(tree->mutex);
    tree->backlog_count -= shown;
  }
  // The next slice waits a moment: a zero wait would come back before the
  // window's timers and input had their turn.
  if (!tree->backlog.empty()) QTimer::singleShot(2, tree->widget, [tree] { flush_tree(tree); });
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
    auto* view = new QTreeView;
    auto* model = new TreeModel(view);
    view->setModel(model);
    view->setHeaderHidden(true);
    view->setUniformRowHeights(true);  // keeps long trees cheap to lay out
    view->header()->setStretchLastSection(true);
    p.views->addWidget(view, 1);
    control = add_control(state->pages, page, ControlKind::TREE_VIEW, view, nullptr);
    ControlState& created = state->control(control);
    created.tree = std::make_unique<TreeState>();
    created.tree->widget = view;
    created.tree->model = model;
    created.tree->double_click = std::move(double_click);
    TreeState* tree = created.tree.get();
    {
      std::lock_guard lock(state->trees_mutex);
      state->trees.push_back({{control.page, control.id}, tree});
    }
    // Activation is a double-click or Enter on the item, as the desktop has it.
    QObject::connect(view, &QTreeView::activated, view, [state, tree](const QModelIndex& index) {
      const TreeNode handle = tree->model->handle(index);
      if (handle == root_item || !tree->double_click) return;
      state->actions->post(tree->double_click, static_cast<int>(handle));
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
    if (TreeState* tree = state_->control(tree_control).tree.get()) count = tree->model->node_count();
  });
  return count;
}

std::size_t Gui::tree_pending(Control tree_control) const {
  std::size_t count = 0;
  call_on_gui([&] {
    if (TreeState* tree = state_->control(tree_control).tree.get()) {
      std::lock_guard lock(tree->mutex);
      count = tree->pending.size() + tree->backlog_count;
    }
  });
  return count;
}

}  // namespace flawseek::gui
