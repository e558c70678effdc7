// The table of findings: its rows, order, groups and filter.
#include "findings_table_model.h"

#include <algorithm>
#include <chrono>

#include "findings/findings_view.h"
#include "findings/rule_descriptor.h"
#include "output/finding_records.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

constexpr std::array<const char*, FindingsTableModel::ColumnCount> headings = {"Kind", "File", "Line", "Column",
                                                                                "Message", "Source"};
// While findings keep coming, a table that must be ordered anew is so at
// most this often: ordering hundreds of thousands of rows takes a while.
constexpr std::int64_t rebuild_interval_ms = 1000;

std::int64_t now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void lower_into(std::string_view text, std::string& out) {
  out.assign(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

QString q_text(std::string_view text) {
  std::string room;
  const std::string_view utf8 = utf8_text(text, room);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

void SharedFindings::findings_added(std::span<const FindingRecord> records) {
  // The table's first order is the outputs': by file, line and column.
  ordered_records(records, false, ordered_);
  std::lock_guard lock(mutex_);
  findings_.add(ordered_);
}

void SharedFindings::findings_cleared() {
  std::lock_guard lock(mutex_);
  findings_.clear();
  ++generation_;
}

FindingsTableModel::FindingsTableModel(const SharedFindings& findings, QObject* parent)
    : QAbstractItemModel(parent), findings_(findings) {}

void FindingsTableModel::set_root(std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  root_ = std::move(root);
  if (known_rows_ > 0) rebuild();
}

void FindingsTableModel::set_grouping(FindingsGrouping grouping) {
  if (grouping == grouping_) return;
  grouping_ = grouping;
  rebuild();
}

void FindingsTableModel::set_filter(const std::string& text) {
  std::vector<std::string> words;
  std::string lowered;
  lower_into(text, lowered);
  for (std::size_t at = 0; at < lowered.size();) {
    const std::size_t start = lowered.find_first_not_of(' ', at);
    if (start == std::string::npos) break;
    const std::size_t end = std::min(lowered.find(' ', start), lowered.size());
    words.push_back(lowered.substr(start, end - start));
    at = end;
  }
  if (words == filter_words_) return;
  filter_words_ = std::move(words);
  rebuild();
}

std::string FindingsTableModel::shown_file(const SharedPath& file) const {
  const std::string& path = file.str();
  if (!root_.empty() && path.size() > root_.size() && path.compare(0, root_.size(), root_) == 0) {
    if (root_ == "/") return path.substr(1);
    if (path[root_.size()] == '/') return path.substr(root_.size() + 1);
  }
  return path;
}

bool FindingsTableModel::passes(const CompactFindings& store, std::size_t row) const {
  if (filter_words_.empty()) return true;
  const FindingRecord record = store.record(row);
  const RuleDescriptor& rule = rule_descriptor(record.kind);
  thread_local std::string fields;
  thread_local std::string lowered;
  fields.clear();
  for (std::string_view field : {std::string_view(rule.label()), rule.id, rule.family(), finding_message(record),
                                 finding_source_text(record)}) {
    fields.append(field);
    fields += '\n';
  }
  fields += shown_file(*record.file);
  lower_into(fields, lowered);
  return std::all_of(filter_words_.begin(), filter_words_.end(),
                     [](const std::string& word) { return lowered.find(word) != std::string::npos; });
}

void FindingsTableModel::order_rows(const CompactFindings& store, std::vector<std::uint32_t>& rows) const {
  if (sort_column_ < 0) return;  // as found
  const auto place_less = [&store](std::uint32_t a, std::uint32_t b) {
    const int by_file = store.file(a).str().compare(store.file(b).str());
    if (by_file != 0) return by_file < 0;
    if (store.line(a) != store.line(b)) return store.line(a) < store.line(b);
    return store.column(a) < store.column(b);
  };
  const auto less = [&](std::uint32_t a, std::uint32_t b) {
    switch (sort_column_) {
      case KindColumn: {
        const std::string& left = store.kind(a).label();
        const std::string& right = store.kind(b).label();
        if (left != right) return tree_text_less(left, right);
        return false;
      }
      case FileColumn:
        return place_less(a, b);
      case LineColumn:
        return store.line(a) < store.line(b);
      case ColumnColumn:
        return store.column(a) < store.column(b);
      case MessageColumn:
        return finding_message(store.record(a)) < finding_message(store.record(b));
      case SourceColumn:
        return finding_source_text(store.record(a)) < finding_source_text(store.record(b));
      default:
        return false;
    }
  };
  // Stable: rows that compare equal keep the order they were found in.
  if (sort_order_ == Qt::AscendingOrder) {
    std::stable_sort(rows.begin(), rows.end(), less);
  } else {
    std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) { return less(b, a); });
  }
}

void FindingsTableModel::rebuild() {
  beginResetModel();
  findings_.read([&](const CompactFindings& store, std::uint64_t generation) {
    generation_ = generation;
    known_rows_ = store.size();
    std::vector<std::uint32_t> rows;
    rows.reserve(known_rows_);
    for (std::size_t row = 0; row < known_rows_; ++row) {
      if (passes(store, row)) rows.push_back(static_cast<std::uint32_t>(row));
    }
    visible_count_ = rows.size();
    order_rows(store, rows);
    flat_.clear();
    groups_.clear();
    if (grouping_ == FindingsGrouping::None) {
      flat_ = std::move(rows);
      return;
    }
    const bool by_kind = grouping_ == FindingsGrouping::Kind;
    std::vector<std::int64_t> group_of(by_kind ? FindingKind::count : store.file_count(), -1);
    for (std::uint32_t row : rows) {
      const std::uint32_t key = by_kind ? static_cast<std::uint32_t>(store.kind(row).index()) : store.file_index(row);
      if (group_of[key] < 0) {
        group_of[key] = static_cast<std::int64_t>(groups_.size());
        groups_.push_back({key, {}});
      }
      groups_[static_cast<std::size_t>(group_of[key])].rows.push_back(row);
    }
    // Groups in the tree's order: kinds by label, files by name.
    std::sort(groups_.begin(), groups_.end(), [&](const Group& a, const Group& b) {
      if (by_kind) return tree_text_less(FindingKind::from_index(static_cast<int>(a.key)).label(),
                                         FindingKind::from_index(static_cast<int>(b.key)).label());
      return store.file(a.rows.front()).str() < store.file(b.rows.front()).str();
    });
  });
  endResetModel();
  last_rebuild_ms_ = now_ms();
  rebuild_owed_ = false;
}

bool FindingsTableModel::refresh() {
  struct Seen {
    std::uint64_t generation;
    std::size_t size;
  };
  const Seen seen = findings_.read([](const CompactFindings& store, std::uint64_t generation) {
    return Seen{generation, store.size()};
  });
  if (seen.generation != generation_ || seen.size < known_rows_) {
    rebuild();
    return true;
  }
  if (seen.size == known_rows_) {
    if (!rebuild_owed_) return false;
    rebuild();
    return true;
  }
  if (grouping_ != FindingsGrouping::None || sort_column_ >= 0) {
    // The new rows belong among the old ones.
    if (now_ms() - last_rebuild_ms_ < rebuild_interval_ms) {
      rebuild_owed_ = true;
      return false;
    }
    rebuild();
    return true;
  }
  // In the order found, new rows go at the end.
  std::vector<std::uint32_t> added;
  findings_.read([&](const CompactFindings& store, std::uint64_t) {
    for (std::size_t row = known_rows_; row < seen.size; ++row) {
      if (passes(store, row)) added.push_back(static_cast<std::uint32_t>(row));
    }
  });
  known_rows_ = seen.size;
  if (added.empty()) return true;
  const int first = static_cast<int>(flat_.size());
  beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
  flat_.insert(flat_.end(), added.begin(), added.end());
  visible_count_ += added.size();
  endInsertRows();
  return true;
}

std::optional<std::size_t> FindingsTableModel::finding_row(const QModelIndex& index) const {
  if (!index.isValid()) return std::nullopt;
  if (grouping_ == FindingsGrouping::None) {
    if (index.row() < 0 || static_cast<std::size_t>(index.row()) >= flat_.size()) return std::nullopt;
    return flat_[static_cast<std::size_t>(index.row())];
  }
  if (index.internalId() == 0 || index.internalId() > groups_.size()) return std::nullopt;
  const Group& group = groups_[index.internalId() - 1];
  if (static_cast<std::size_t>(index.row()) >= group.rows.size()) return std::nullopt;
  return group.rows[static_cast<std::size_t>(index.row())];
}

QModelIndex FindingsTableModel::index_of_row(std::size_t row) const {
  if (grouping_ == FindingsGrouping::None) {
    const auto at = std::find(flat_.begin(), flat_.end(), row);
    return at == flat_.end() ? QModelIndex{} : createIndex(static_cast<int>(at - flat_.begin()), 0, quintptr{0});
  }
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const auto at = std::find(groups_[g].rows.begin(), groups_[g].rows.end(), row);
    if (at != groups_[g].rows.end()) return createIndex(static_cast<int>(at - groups_[g].rows.begin()), 0, g + 1);
  }
  return {};
}

std::optional<std::uint32_t> FindingsTableModel::group_key(const QModelIndex& index) const {
  if (grouping_ == FindingsGrouping::None || !index.isValid() || index.internalId() != 0 ||
      static_cast<std::size_t>(index.row()) >= groups_.size())
    return std::nullopt;
  return groups_[static_cast<std::size_t>(index.row())].key;
}

QModelIndex FindingsTableModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= ColumnCount) return {};
  if (!parent.isValid()) return row < rowCount() ? createIndex(row, column, quintptr{0}) : QModelIndex{};
  if (grouping_ == FindingsGrouping::None || parent.internalId() != 0) return {};
  const auto group = static_cast<std::size_t>(parent.row());
  if (group >= groups_.size() || static_cast<std::size_t>(row) >= groups_[group].rows.size()) return {};
  return createIndex(row, column, group + 1);
}

QModelIndex FindingsTableModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
}

int FindingsTableModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) {
    return static_cast<int>(grouping_ == FindingsGrouping::None ? flat_.size() : groups_.size());
  }
  if (grouping_ == FindingsGrouping::None || parent.internalId() != 0 || parent.column() != 0 ||
      static_cast<std::size_t>(parent.row()) >= groups_.size())
    return 0;
  return static_cast<int>(groups_[static_cast<std::size_t>(parent.row())].rows.size());
}

int FindingsTableModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QString FindingsTableModel::cell(const CompactFindings& store, std::size_t row, int column) const {
  if (row >= store.size()) return {};
  const FindingRecord record = store.record(row);
  switch (column) {
    case KindColumn:
      return QString::fromStdString(record.kind.label());
    case FileColumn:
      return q_text(shown_file(*record.file));
    case LineColumn:
      // Line 0 is the file as a whole.
      return record.line == 0 ? QString() : QString::number(record.line);
    case ColumnColumn:
      return record.column == no_column ? QString() : QString::number(record.column);
    case MessageColumn:
      return q_text(finding_message(record));
    case SourceColumn:
      return q_text(finding_source_text(record));
    default:
      return {};
  }
}

QVariant FindingsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  if (const std::optional<std::size_t> row = finding_row(index)) {
    if (role == Qt::ToolTipRole && index.column() != MessageColumn && index.column() != SourceColumn) return {};
    return findings_.read([&](const CompactFindings& store, std::uint64_t) { return cell(store, *row, index.column()); });
  }
  // A group row: its name and how many of its findings show.
  if (index.column() != 0 || role != Qt::DisplayRole || static_cast<std::size_t>(index.row()) >= groups_.size()) return {};
  const Group& group = groups_[static_cast<std::size_t>(index.row())];
  const QString count = QString(" (%1)").arg(group.rows.size());
  if (grouping_ == FindingsGrouping::Kind) {
    return QString::fromStdString(FindingKind::from_index(static_cast<int>(group.key)).label()) + count;
  }
  return findings_.read([&](const CompactFindings& store, std::uint64_t) {
    return group.rows.front() < store.size() ? q_text(shown_file(store.file(group.rows.front()))) + count : count;
  });
}

QVariant FindingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
  return QString(headings[static_cast<std::size_t>(section)]);
}

void FindingsTableModel::sort(int column, Qt::SortOrder order) {
  if (column == sort_column_ && order == sort_order_) return;
  sort_column_ = column;
  sort_order_ = order;
  rebuild();
}

}  // namespace flawseek
