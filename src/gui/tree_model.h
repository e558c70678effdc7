// The tree as the widget shows it: a model over plain nodes, so that a tree
// of hundreds of thousands of findings costs tens of bytes a row instead of
// a widget item each. Changed only on the GUI thread, by the queued changes.
#pragma once

#include <QAbstractItemModel>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gui/gui.h"

namespace flawseek::gui {

class TreeModel final : public QAbstractItemModel {
 public:
  explicit TreeModel(QObject* parent = nullptr);

  // The node of `handle`, under `parent` (root_item or an earlier handle),
  // at `row` among its siblings. Handles come in order, one more each time,
  // from the base of the last clear.
  void insert(TreeNode handle, TreeNode parent, int row, std::string_view text);
  void set_text(TreeNode handle, std::string_view text);
  // Every node goes; the next handle is `base`.
  void clear(TreeNode base);

  std::size_t node_count() const { return nodes_.size() - 1; }
  // The handle an index shows; root_item for none.
  TreeNode handle(const QModelIndex& index) const;
  QModelIndex index_of(TreeNode handle) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  struct Node {
    std::uint32_t parent = 0;  // slot; 0 is the invisible root
    std::uint32_t row = 0;     // among the parent's children
    std::string text;          // UTF-8
    std::vector<std::uint32_t> children;
  };
  // Slot 0 is the root; slot k holds the handle base_ + k - 1.
  std::uint32_t slot_of(TreeNode handle) const;
  QModelIndex index_of_slot(std::uint32_t slot) const;

  TreeNode base_ = 1;
  std::vector<Node> nodes_;
};

}  // namespace flawseek::gui
