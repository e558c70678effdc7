// The findings table, its filter and grouping, and the detail pane.
#include "findings_workbench.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <sstream>

#include "finding_detail.h"
#include "output/gnu_output.h"

namespace flawseek {

namespace {
// How often the table takes in what the search found meanwhile.
constexpr int refresh_interval_ms = 150;
// A filter is applied once the user pauses typing.
constexpr int filter_pause_ms = 150;

}  // namespace

FindingsWorkbench::FindingsWorkbench(gui::Gui& gui, const SharedFindings& findings, std::function<void(Finding)> open)
    : gui_(gui), findings_(findings), open_(std::move(open)) {
  model_ = new FindingsTableModel(findings_, this);

  filter_ = new QLineEdit;
  filter_->setPlaceholderText("Filter by text, id or family");
  filter_->setClearButtonEnabled(true);
  grouping_ = new QComboBox;
  grouping_->addItems({"No grouping", "Group by kind", "Group by file"});
  count_ = new QLabel;
  auto* tools = new QHBoxLayout;
  tools->setContentsMargins(0, 0, 0, 0);
  tools->addWidget(filter_, 1);
  tools->addWidget(grouping_);
  tools->addWidget(count_);

  table_ = new QTreeView;
  table_->setModel(model_);
  table_->setUniformRowHeights(true);  // keeps a long table cheap to lay out
  table_->setRootIsDecorated(false);
  table_->setAllColumnsShowFocus(true);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->header()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  table_->header()->setStretchLastSection(true);
  table_->setColumnWidth(FindingsTableModel::KindColumn, 160);
  table_->setColumnWidth(FindingsTableModel::FileColumn, 200);
  table_->setColumnWidth(FindingsTableModel::LineColumn, 50);
  table_->setColumnWidth(FindingsTableModel::ColumnColumn, 50);
  table_->setColumnWidth(FindingsTableModel::MessageColumn, 320);

  detail_ = new QTextBrowser;
  detail_->setOpenLinks(false);

  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(table_);
  split->addWidget(detail_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(tools);
  column->addWidget(split, 1);
  setTabOrder(filter_, grouping_);
  setTabOrder(grouping_, table_);
  setTabOrder(table_, detail_);

  filter_timer_ = new QTimer(this);
  filter_timer_->setSingleShot(true);
  filter_timer_->setInterval(filter_pause_ms);
  connect(filter_, &QLineEdit::textChanged, filter_timer_, qOverload<>(&QTimer::start));
  connect(filter_timer_, &QTimer::timeout, this, [this] { apply_filter(); });
  // Enter in the filter box shows its result at once.
  connect(filter_, &QLineEdit::returnPressed, this, [this] {
    filter_timer_->stop();
    apply_filter();
    table_->setFocus();
  });
  connect(grouping_, &QComboBox::currentIndexChanged, this, [this](int index) {
    expanded_groups_.clear();
    model_->set_grouping(static_cast<FindingsGrouping>(index));
    table_->setRootIsDecorated(index != 0);
    show_count();
  });
  connect(table_, &QTreeView::activated, this, [this](const QModelIndex& index) { open_index(index); });
  connect(table_, &QTreeView::expanded, this, [this](const QModelIndex& index) { keep_expansion(index, true); });
  connect(table_, &QTreeView::collapsed, this, [this](const QModelIndex& index) { keep_expansion(index, false); });
  connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { show_detail(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { show_detail(); });
  auto* copy = new QShortcut(QKeySequence::Copy, table_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(copy, &QShortcut::activated, this, [this] { copy_selection(); });

  refresh_timer_ = new QTimer(this);
  refresh_timer_->setInterval(refresh_interval_ms);
  connect(refresh_timer_, &QTimer::timeout, this, [this] { refresh(); });
  refresh_timer_->start();
  show_count();
}

void FindingsWorkbench::refresh() {
  if (!model_->refresh()) return;
  expand_kept_groups();
  show_count();
}

void FindingsWorkbench::apply_filter() {
  model_->set_filter(filter_->text().toStdString());
  expand_kept_groups();
  show_count();
}

void FindingsWorkbench::show_count() {
  const std::size_t shown = model_->visible_count();
  const std::size_t total = model_->total_count();
  count_->setText(shown == total ? QString("%1 findings").arg(total) : QString("%1 of %2 findings").arg(shown).arg(total));
}

void FindingsWorkbench::keep_expansion(const QModelIndex& index, bool expanded) {
  if (const std::optional<std::uint32_t> key = model_->group_key(index)) {
    if (expanded) {
      expanded_groups_.insert(*key);
    } else {
      expanded_groups_.erase(*key);
    }
  }
}

void FindingsWorkbench::expand_kept_groups() {
  if (model_->grouping() == FindingsGrouping::None || expanded_groups_.empty()) return;
  const std::set<std::uint32_t> kept = expanded_groups_;
  for (int row = 0; row < model_->rowCount(); ++row) {
    const QModelIndex group = model_->index(row, 0);
    if (const auto key = model_->group_key(group); key && kept.contains(*key)) table_->expand(group);
  }
}

void FindingsWorkbench::open_index(const QModelIndex& index) {
  const std::optional<std::size_t> row = model_->finding_row(index);
  if (!row) {
    // Enter on a group opens or closes it.
    table_->setExpanded(index.siblingAtColumn(0), !table_->isExpanded(index.siblingAtColumn(0)));
    return;
  }
  const Finding finding = findings_.read([&](const CompactFindings& store, std::uint64_t) {
    return *row < store.size() ? store.finding(*row) : Finding{};
  });
  if (!finding.file.empty() && open_) open_(finding);
}

void FindingsWorkbench::show_detail() {
  const std::optional<std::size_t> row = model_->finding_row(table_->currentIndex());
  ++detail_generation_;
  if (!row) {
    detail_->clear();
    return;
  }
  struct Selected {
    std::string file;
    std::int32_t line = 0;
    std::string html;
  };
  const std::string shown = model_->data(table_->currentIndex().siblingAtColumn(FindingsTableModel::FileColumn),
                                         Qt::DisplayRole).toString().toStdString();
  const Selected selected = findings_.read([&](const CompactFindings& store, std::uint64_t) {
    if (*row >= store.size()) return Selected{};
    const FindingRecord record = store.record(*row);
    return Selected{record.file->str(), record.line, finding_detail_html(record, shown, SourcePreview{})};
  });
  detail_->setHtml(QString::fromStdString(selected.html));
  if (selected.file.empty()) return;
  // The preview reads the file: off the window's thread, and dropped when
  // another finding was selected meanwhile.
  const std::uint64_t generation = detail_generation_;
  const std::size_t wanted = *row;
  gui_.post_action([this, generation, wanted, file = selected.file, line = selected.line, shown] {
    SourcePreview preview = read_source_preview(file, line);
    gui_.call_on_gui([&] {
      if (generation != detail_generation_) return;
      const std::string html = findings_.read([&](const CompactFindings& store, std::uint64_t) {
        return wanted < store.size() ? finding_detail_html(store.record(wanted), shown, preview) : std::string();
      });
      if (!html.empty()) detail_->setHtml(QString::fromStdString(html));
    });
  });
}

void FindingsWorkbench::copy_selection() {
  std::vector<std::size_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
    if (const auto row = model_->finding_row(index)) rows.push_back(*row);
  }
  if (rows.empty()) {
    if (const auto row = model_->finding_row(table_->currentIndex())) rows.push_back(*row);
  }
  if (rows.empty()) return;
  std::sort(rows.begin(), rows.end());
  // Copies of the findings, so the work needs nothing of the table.
  auto chosen = std::make_shared<CompactFindings>();
  findings_.read([&](const CompactFindings& store, std::uint64_t) {
    std::vector<FindingRecord> records;
    for (const std::size_t row : rows) {
      if (row < store.size()) records.push_back(store.record(row));
    }
    chosen->add(records);
  });
  // The GNU lines count columns on the file's text, which is read for it.
  gui_.post_action([this, chosen] {
    std::vector<FindingRecord> records;
    for (std::size_t row = 0; row < chosen->size(); ++row) records.push_back(chosen->record(row));
    const PathStyle paths;
    GnuLinesWriter writer(paths, ColumnCount::Characters);
    std::ostringstream lines;
    writer.write(records, lines);
    writer.end(lines);
    const QString text = QString::fromStdString(lines.str());
    gui_.call_on_gui([&] { QApplication::clipboard()->setText(text); });
  });
}

}  // namespace flawseek
