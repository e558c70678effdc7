// Flattening and ordering the findings; display columns and file names.
#include "output/finding_records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "findings/findings_list.h"
#include "output/rule_catalog.h"
#include "platform/disk.h"
#include "platform/printable_text.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

// Among findings of one place: the kind, the suppressed findings after
// every kind.
std::uint32_t kind_group(const FindingRecord& record) {
  return record.suppressed ? FindingKind::count : static_cast<std::uint32_t>(record.kind.index());
}

// A record's place in the output order: its file's rank among the run's file
// names, its line and column; among findings of one place, its kind (the
// suppressed ones after every kind) and then its place in the records,
// which keep each kind's findings in the order found.
struct SortKey {
  std::uint32_t file_rank;
  std::int32_t line;
  std::int32_t column;
  std::uint32_t group;
  std::uint32_t position;
  bool operator<(const SortKey& other) const noexcept {
    if (file_rank != other.file_rank) return file_rank < other.file_rank;
    if (line != other.line) return line < other.line;
    if (column != other.column) return column < other.column;
    if (group != other.group) return group < other.group;
    return position < other.position;
  }
};

// Each record's file rank among the distinct file names of `records`, by
// byte order of the names. File names are compared once per distinct file,
// not at every step of the sort.
std::vector<std::uint32_t> file_ranks(const std::vector<FindingRecord>& records) {
  std::vector<std::uint32_t> record_ranks(records.size(), 0);
  // A result streamed during the search nearly always holds one file: its
  // findings share one path text, and every rank is 0.
  const bool one_file = std::all_of(records.begin(), records.end(), [&](const FindingRecord& record) {
    return *record.file == *records.front().file;
  });
  if (one_file) return record_ranks;

  std::unordered_map<std::string_view, std::uint32_t> file_ids;
  std::vector<std::string_view> names;
  const SharedPath* last_file = nullptr;
  std::uint32_t last_id = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    // A file's findings share one path text, so the test is mostly a
    // comparison of two pointers.
    const SharedPath& file = *records[i].file;
    if (last_file == nullptr || !(file == *last_file)) {
      const std::string_view name = file;
      const auto [found, added] = file_ids.try_emplace(name, static_cast<std::uint32_t>(names.size()));
      if (added) names.push_back(name);
      last_file = &file;
      last_id = found->second;
    }
    record_ranks[i] = last_id;
  }
  std::vector<std::uint32_t> by_name(names.size());
  for (std::uint32_t id = 0; id < by_name.size(); ++id) by_name[id] = id;
  std::sort(by_name.begin(), by_name.end(), [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
  std::vector<std::uint32_t> rank(names.size());
  for (std::uint32_t r = 0; r < by_name.size(); ++r) rank[by_name[r]] = r;
  for (std::uint32_t& id : record_ranks) id = rank[id];
  return record_ranks;
}

// Ordered by file, line and column, ties as SortKey settles them.
std::vector<FindingRecord> sorted_by_place(std::vector<FindingRecord> records) {
  std::vector<std::uint32_t> ranks = file_ranks(records);
  std::vector<SortKey> keys(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const FindingRecord& record = records[i];
    keys[i] = {ranks[i], record.line, record.column, kind_group(record), static_cast<std::uint32_t>(i)};
  }
  ranks = {};
  // Findings mostly come in place order already, or in a few ordered runs
  // (a specification's findings, then those of its body, whose name sorts
  // first): each run is merged into the ones before it.
  constexpr std::size_t few_runs = 4;
  std::vector<std::size_t> run_ends;
  for (std::size_t i = 1; i < keys.size() && run_ends.size() <= few_runs; ++i) {
    if (keys[i] < keys[i - 1]) run_ends.push_back(i);
  }
  if (run_ends.empty()) return records;
  if (run_ends.size() <= few_runs) {
    run_ends.push_back(keys.size());
    for (std::size_t run = 1; run < run_ends.size(); ++run) {
      std::inplace_merge(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(run_ends[run - 1]),
                         keys.begin() + static_cast<std::ptrdiff_t>(run_ends[run]));
    }
  } else {
    std::sort(keys.begin(), keys.end());
  }
  // The records are moved into key order in place, one cycle of the
  // permutation at a time: a sorted copy would hold every record twice, and
  // with every style rule on a large tree that doubles the peak memory of
  // the output. A key whose position is its own index is done.
  for (std::size_t start = 0; start < keys.size(); ++start) {
    if (keys[start].position == start) continue;
    FindingRecord first = records[start];
    std::size_t at = start;
    for (;;) {
      const std::size_t from = keys[at].position;
      keys[at].position = static_cast<std::uint32_t>(at);
      if (from == start) {
        records[at] = first;
        break;
      }
      records[at] = records[from];
      at = from;
    }
  }
  return records;
}

}  // namespace

std::vector<FindingRecord> ordered_findings(const FindingsList& findings, bool include_suppressed) {
  std::vector<FindingRecord> records;
  findings.collect_records(records, include_suppressed);
  return sorted_by_place(std::move(records));
}

namespace {

// Output order within one file: line, column, then kind_group.
bool before_in_file(const FindingRecord& a, const FindingRecord& b) {
  if (a.line != b.line) return a.line < b.line;
  if (a.column != b.column) return a.column < b.column;
  return kind_group(a) < kind_group(b);
}

// Sorts one file's records, stably. They come nearly in order, a finding
// reported a little late moving back a few places, which insertion does
// without keys or room of its own. Past a budget of moves the rest is left
// to a stable sort, so no input costs quadratic time.
void sort_nearly_ordered(std::span<FindingRecord> records) {
  const std::size_t budget = 8 * records.size() + 64;
  std::size_t moves = 0;
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (!before_in_file(records[i], records[i - 1])) continue;
    const FindingRecord moving = records[i];
    std::size_t j = i;
    for (; j > 0 && before_in_file(moving, records[j - 1]); --j) records[j] = records[j - 1];
    records[j] = moving;
    moves += i - j;
    if (moves > budget) {
      std::stable_sort(records.begin(), records.end(), before_in_file);
      return;
    }
  }
}

}  // namespace

void ordered_records(std::span<const FindingRecord> records, bool include_suppressed,
                     std::vector<FindingRecord>& ordered) {
  const auto chosen = [&](const FindingRecord& record) { return include_suppressed || !record.suppressed; };
  // A result names one file, or a few (a specification and its body); its
  // records share their file's path object. More are left to the general sort.
  constexpr std::size_t few_files = 4;
  std::array<const SharedPath*, few_files> files{};
  std::size_t file_count = 0;
  for (const FindingRecord& record : records) {
    if (file_count > 0 && files[file_count - 1] == record.file) continue;
    const auto known = files.begin() + static_cast<std::ptrdiff_t>(file_count);
    if (std::find(files.begin(), known, record.file) != known) continue;
    if (file_count == few_files) {
      ordered.clear();
      for (const FindingRecord& any : records) {
        if (chosen(any)) ordered.push_back(any);
      }
      ordered = sorted_by_place(std::move(ordered));
      return;
    }
    files[file_count++] = record.file;
  }
  // Each file's rank by the byte order of its path; two path objects may
  // name one file, and then share a rank.
  std::array<std::uint32_t, few_files> ranks{};
  for (std::size_t a = 0; a < file_count; ++a) {
    for (std::size_t b = 0; b < file_count; ++b) {
      if (files[b]->str() < files[a]->str()) ++ranks[a];
    }
  }
  // The records of a file lie in runs, so the rank of the run's path object
  // is looked up once per run.
  const SharedPath* last_file = nullptr;
  std::uint32_t last_rank = 0;
  const auto rank_of = [&](const SharedPath* file) {
    if (file != last_file) {
      last_file = file;
      last_rank = ranks[static_cast<std::size_t>(std::find(files.begin(), files.end(), file) - files.begin())];
    }
    return last_rank;
  };
  // Each file's records are counted, then copied straight to their file's
  // place, keeping their order, and each file's sorted where it lies.
  std::array<std::size_t, few_files + 1> starts{};
  for (const FindingRecord& record : records) {
    if (chosen(record)) ++starts[rank_of(record.file) + 1];
  }
  for (std::size_t rank = 1; rank <= few_files; ++rank) starts[rank] += starts[rank - 1];
  // Only what the room lacks is made (as a copy of any record): every
  // place is written below.
  if (starts[few_files] == 0) {
    ordered.clear();
    return;
  }
  ordered.resize(starts[few_files], records.front());
  std::array<std::size_t, few_files> next{};
  std::copy(starts.begin(), starts.end() - 1, next.begin());
  for (const FindingRecord& record : records) {
    if (chosen(record)) ordered[next[rank_of(record.file)]++] = record;
  }
  for (std::size_t rank = 0; rank < file_count; ++rank) {
    sort_nearly_ordered(std::span(ordered).subspan(starts[rank], starts[rank + 1] - starts[rank]));
  }
}

std::span<const FindingRecord> put_in_output_order(std::span<FindingRecord> records, bool include_suppressed,
                                                   std::vector<FindingRecord>& room) {
  const bool in_place = std::all_of(records.begin(), records.end(), [&](const FindingRecord& record) {
    return record.file == records.front().file && (include_suppressed || !record.suppressed);
  });
  if (in_place) {
    // A copy of each record cost more than sorting them, which mostly
    // moves none.
    sort_nearly_ordered(records);
    return records;
  }
  ordered_records(records, include_suppressed, room);
  return room;
}

std::string_view finding_message(const FindingRecord& record) {
  if (!record.detail.empty()) return record.detail;
  return rule_descriptor(record.kind).sentence;
}

std::string_view finding_source_text(const FindingRecord& record) {
  if (record.kind == StyleKind::LINE_TOO_LONG) return {};
  return record.reason;
}

std::int32_t expand_tabs_column(std::string_view line_text, std::int32_t column) {
  if (column < 1) return column;
  const std::size_t before = static_cast<std::size_t>(column - 1);
  // Without a tab before the column every character counts one: the column
  // stays. Most lines have none, and one search finds that out.
  if (line_text.substr(0, before).find('\t') == std::string_view::npos) return column;
  std::int32_t shown = 1;
  for (std::size_t i = 0; i < before; ++i) {
    if (i < line_text.size() && line_text[i] == '\t') {
      shown = (shown - 1) / 8 * 8 + 9;
    } else {
      ++shown;
    }
  }
  return shown;
}

void DisplayColumns::load(const std::string& file, bool every_line) {
  file_ = file;
  every_line_ = every_line;
  loaded_ = true;
  text_.clear();
  line_starts_.clear();
  // A file that cannot be read has no lines: its columns stay as given.
  if (disk().read_file(file, text_) != 0) text_.clear();
  // Without a tab every screen column stays; one search settles that, where
  // finding every line's start took a search per line.
  if (!every_line && std::memchr(text_.data(), '\t', text_.size()) == nullptr) return;
  // Lines as getline splits them: a final line without '\n' counts, an
  // empty text after the last '\n' does not.
  std::size_t start = 0;
  while (start < text_.size()) {
    line_starts_.push_back(start);
    const void* end = std::memchr(text_.data() + start, '\n', text_.size() - start);
    if (end == nullptr) break;
    start = static_cast<std::size_t>(static_cast<const char*>(end) - text_.data()) + 1;
  }
}

std::string_view DisplayColumns::line_text(std::int32_t line) const {
  const std::size_t index = static_cast<std::size_t>(line - 1);
  const std::size_t start = line_starts_[index];
  const std::size_t end = index + 1 < line_starts_.size() ? line_starts_[index + 1] - 1 : text_.size();
  return std::string_view(text_).substr(start, end - start);
}

std::int32_t DisplayColumns::display_column(const std::string& file, std::int32_t line, std::int32_t column) {
  if (!loaded_ || file != file_) load(file, false);
  if (line < 1 || static_cast<std::size_t>(line) > line_starts_.size()) return column;
  return expand_tabs_column(line_text(line), column);
}

std::int32_t DisplayColumns::character_column(const std::string& file, std::int32_t line, std::int32_t column) {
  if (!loaded_ || file != file_ || !every_line_) load(file, true);
  if (line < 1 || static_cast<std::size_t>(line) > line_starts_.size() || column < 1) return column;
  const std::string_view text = line_text(line);
  if (!is_utf8(text)) return column;
  // Characters before the column: every byte that does not continue one.
  const std::size_t before = std::min(text.size(), static_cast<std::size_t>(column - 1));
  std::int32_t characters = 0;
  for (std::size_t i = 0; i < before; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++characters;
  }
  return characters + 1 + static_cast<std::int32_t>(static_cast<std::size_t>(column - 1) - before);
}

std::string PathStyle::shown(const std::string& file) const {
  if (!base_) return printable(file);
  const std::filesystem::path relative = std::filesystem::path(file).lexically_relative(*base_);
  return printable(relative.empty() ? file : relative.string());
}

const std::string& ShownPaths::shown(const SharedPath& file) {
  if (!known_ || !(file == file_)) {
    file_ = file;
    shown_ = paths_.shown(file);
    known_ = true;
  }
  return shown_;
}

}  // namespace flawseek
