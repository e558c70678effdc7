// The shown tree's nodes and the model Qt's tree view reads them through.
#include "gui/tree_model.h"

#include <algorithm>

namespace flawseek::gui {

TreeModel::TreeModel(QObject* parent) : QAbstractItemModel(parent), nodes_(1) {}

std::uint32_t TreeModel::slot_of(TreeNode handle) const {
  if (handle == root_item || handle < base_ || handle - base_ + 1 >= nodes_.size()) return 0;
  return handle - base_ + 1;
}

QModelIndex TreeModel::index_of_slot(std::uint32_t slot) const {
  if (slot == 0) return {};
  return createIndex(static_cast<int>(nodes_[slot].row), 0, static_cast<quintptr>(slot));
}

void TreeModel::insert(TreeNode handle, TreeNode parent, int row, std::string_view text) {
  // A handle out of order would make every later one wrong: it is dropped.
  if (handle != base_ + nodes_.size() - 1) return;
  const std::uint32_t parent_slot = slot_of(parent);
  const auto slot = static_cast<std::uint32_t>(nodes_.size());
  const std::size_t siblings = nodes_[parent_slot].children.size();
  const auto at = static_cast<std::uint32_t>(std::clamp<std::size_t>(static_cast<std::size_t>(std::max(row, 0)), 0, siblings));
  beginInsertRows(index_of_slot(parent_slot), static_cast<int>(at), static_cast<int>(at));
  nodes_.push_back(Node{parent_slot, at, std::string(text), {}});
  std::vector<std::uint32_t>& children = nodes_[parent_slot].children;
  children.insert(children.begin() + at, slot);
  // Sorted insertions move their later siblings down a row.
  for (std::size_t i = at + 1; i < children.size(); ++i) ++nodes_[children[i]].row;
  endInsertRows();
}

void TreeModel::set_text(TreeNode handle, std::string_view text) {
  const std::uint32_t slot = slot_of(handle);
  if (slot == 0) return;
  nodes_[slot].text.assign(text);
  const QModelIndex index = index_of_slot(slot);
  emit dataChanged(index, index, {Qt::DisplayRole});
}

void TreeModel::clear(TreeNode base) {
  beginResetModel();
  nodes_.clear();
  nodes_.shrink_to_fit();
  nodes_.emplace_back();
  base_ = base;
  endResetModel();
}

TreeNode TreeModel::handle(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == 0 || index.internalId() >= nodes_.size()) return root_item;
  return base_ + static_cast<TreeNode>(index.internalId()) - 1;
}

QModelIndex TreeModel::index_of(TreeNode handle) const { return index_of_slot(slot_of(handle)); }

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  const std::size_t parent_slot = parent.isValid() ? parent.internalId() : 0;
  if (parent_slot >= nodes_.size()) return {};
  const std::vector<std::uint32_t>& children = nodes_[parent_slot].children;
  if (static_cast<std::size_t>(row) >= children.size()) return {};
  return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() >= nodes_.size()) return {};
  return index_of_slot(nodes_[child.internalId()].parent);
}

int TreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const std::size_t slot = parent.isValid() ? parent.internalId() : 0;
  return slot < nodes_.size() ? static_cast<int>(nodes_[slot].children.size()) : 0;
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TreeModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.internalId() >= nodes_.size()) return {};
  const std::string& text = nodes_[index.internalId()].text;
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace flawseek::gui
