// The list view: a model that holds only the number of items and asks the
// program's callbacks for each cell's text and colours as it paints.
#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "gui/gui_state.h"

namespace flawseek::gui {

// A list view's items: it keeps only their number and asks its callbacks for
// texts and colours as it paints (GUI thread only).
class ListModel final : public QAbstractTableModel {
 public:
  ListModel(std::vector<ListColumn> columns, CellText text, ItemColouring colours)
      : columns_(std::move(columns)), text_(std::move(text)), colours_(std::move(colours)) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= count_) return {};
    // A callback that fails paints an empty cell: a message box from inside
    // a paint would only ask to paint again.
    try {
      if (role == Qt::DisplayRole) {
        if (!text_) return {};
        return to_q(text_(index.row(), index.column() + 1));
      }
      if ((role == Qt::ForegroundRole || role == Qt::BackgroundRole) && colours_) {
        const ItemColours colours = colours_(index.row());
        const int rgb = role == Qt::ForegroundRole ? colours.text : colours.background;
        if (rgb != no_colour) return QBrush(QColor::fromRgb(static_cast<QRgb>(rgb) | 0xFF000000u));
      }
    } catch (...) {
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(columns_.size()))
      return {};
    return to_q(columns_[static_cast<std::size_t>(section)].title);
  }

  void set_count(int count) {
    beginResetModel();
    count_ = std::max(0, count);
    endResetModel();
  }
  int count() const { return count_; }
  void refresh() {
    if (count_ > 0) Q_EMIT dataChanged(index(0, 0), index(count_ - 1, columnCount({}) - 1));
  }

 private:
  std::vector<ListColumn> columns_;
  CellText text_;
  ItemColouring colours_;
  int count_ = 0;
};

Control Gui::add_list_view(Page page, const std::vector<ListColumn>& columns, CellText text,
                           IntegerAction double_click, ColumnClick column_click, ItemColouring colours) {
  Control control;
  State* state = state_.get();
  call_on_gui([&] {
    PageState& p = state->pages.at(static_cast<std::size_t>(page.index));
    auto* view = new QTreeView;
    auto* model = new ListModel(columns, std::move(text), std::move(colours));
    model->setParent(view);
    view->setModel(model);
    // A list, not a tree: no branch marks, one row per item, whole rows chosen.
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsClickable(true);
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (columns[i].width > 0) view->setColumnWidth(static_cast<int>(i), columns[i].width);
    p.views->addWidget(view, 1);
    control = add_control(state->pages, page, ControlKind::LIST_VIEW, view, nullptr);
    state->control(control).list = model;
    if (double_click)
      QObject::connect(view, &QTreeView::doubleClicked, view, [state, double_click](const QModelIndex& index) {
        if (!index.isValid()) return;
        const int item = index.row();
        state->actions->post(double_click, item);
      });
    if (column_click)
      QObject::connect(view->header(), &QHeaderView::sectionClicked, view, [this, column_click](int section) {
        // The handler runs inside the event loop: what it throws is shown,
        // never let through Qt.
        try {
          column_click(section + 1);
        } catch (const std::exception& e) {
          show_message(e.what(), MessageKind::Error);
        } catch (...) {
          show_message("Unknown Exception", MessageKind::Error);
        }
      });
  });
  return control;
}

void Gui::list_set_item_count(Control list, int count) {
  call_on_gui([&] {
    if (ListModel* model = state_->control(list).list) model->set_count(count);
  });
}

int Gui::list_item_count(Control list) const {
  int count = 0;
  call_on_gui([&] {
    if (ListModel* model = state_->control(list).list) count = model->count();
  });
  return count;
}

void Gui::list_refresh(Control list) {
  call_on_gui([&] {
    if (ListModel* model = state_->control(list).list) model->refresh();
  });
}

}  // namespace flawseek::gui
