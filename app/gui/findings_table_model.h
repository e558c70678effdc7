// The findings of a search as the window's table shows them: one row per
// finding with its kind, file (relative to the root), line, column, message
// and source text; sorted by any column, grouped by kind or by file, and
// narrowed by a filter, over the compact store the search fills.
#pragma once

#include <QAbstractItemModel>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "findings/compact_findings.h"
#include "findings/findings_listener.h"

namespace flawseek {

// The store the search thread fills and the window reads, each under its lock.
class SharedFindings final : public FindingsListener {
 public:
  void findings_added(std::span<const FindingRecord> records) override;
  void findings_cleared() override;

  // Runs `read` with the store locked.
  template <typename Read>
  auto read(Read&& read) const {
    std::lock_guard lock(mutex_);
    return read(findings_, generation_);
  }

 private:
  mutable std::mutex mutex_;
  CompactFindings findings_;
  std::uint64_t generation_ = 0;  // one more at each clear
  std::vector<FindingRecord> ordered_;
};

enum class FindingsGrouping { None, Kind, File };

class FindingsTableModel final : public QAbstractItemModel {
 public:
  enum Column { KindColumn, FileColumn, LineColumn, ColumnColumn, MessageColumn, SourceColumn, ColumnCount };

  explicit FindingsTableModel(const SharedFindings& findings, QObject* parent = nullptr);

  // The root the file names are shown relative to.
  void set_root(std::string root);
  void set_grouping(FindingsGrouping grouping);
  FindingsGrouping grouping() const { return grouping_; }
  // Words that must each appear, without regard to case, in the row's kind
  // (label, id or family), file, message or source text.
  void set_filter(const std::string& text);
  // Takes in what the search added since the last call: rows at the end when
  // the order allows it, else the whole table again (at most once a second
  // while findings keep coming, and once when they stop). True when the
  // table changed.
  bool refresh();

  std::size_t visible_count() const { return visible_count_; }
  std::size_t total_count() const { return known_rows_; }
  // The store row an index shows; none for a group row.
  std::optional<std::size_t> finding_row(const QModelIndex& index) const;
  // The index of a store row, if it is shown.
  QModelIndex index_of_row(std::size_t row) const;
  // The group a top-level row stands for, as a key that outlives a rebuild.
  std::optional<std::uint32_t> group_key(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Column -1: the order in which the search found them.
  void sort(int column, Qt::SortOrder order) override;

 private:
  struct Group {
    std::uint32_t key;  // kind index or file index
    std::vector<std::uint32_t> rows;
  };

  void rebuild();
  bool passes(const CompactFindings& store, std::size_t row) const;
  void order_rows(const CompactFindings& store, std::vector<std::uint32_t>& rows) const;
  std::string shown_file(const SharedPath& file) const;
  QString cell(const CompactFindings& store, std::size_t row, int column) const;

  const SharedFindings& findings_;
  std::string root_;
  FindingsGrouping grouping_ = FindingsGrouping::None;
  std::vector<std::string> filter_words_;  // lower case
  int sort_column_ = -1;
  Qt::SortOrder sort_order_ = Qt::AscendingOrder;

  std::uint64_t generation_ = ~std::uint64_t{0};
  std::size_t known_rows_ = 0;
  std::size_t visible_count_ = 0;
  std::vector<std::uint32_t> flat_;  // without grouping
  std::vector<Group> groups_;        // with grouping, in the order shown
  std::int64_t last_rebuild_ms_ = 0;
  bool rebuild_owed_ = false;
};

}  // namespace flawseek
