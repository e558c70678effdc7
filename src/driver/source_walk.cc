// The directory walk and the pairing of specifications with their bodies.
#include "driver/source_walk.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "driver/name_pattern.h"
#include "platform/disk.h"
#include "platform/latin1.h"
#include "platform/printable_text.h"

namespace flawseek {

AdaExtension ada_extension(std::string_view ext) {
  if (latin1::equal_ignoring_case(ext, "ads")) return AdaExtension::Ads;
  if (latin1::equal_ignoring_case(ext, "adb")) return AdaExtension::Adb;
  if (latin1::equal_ignoring_case(ext, "ada")) return AdaExtension::Ada;
  if (latin1::equal_ignoring_case(ext, "adq")) return AdaExtension::Adq;
  return AdaExtension::None;
}

namespace {

struct Entry {
  std::string name;
  FileKind kind;  // as the listing tells it
  // The name's first eight bytes as one number that sorts as they do (zeros
  // after a shorter name, which no name holds): most pairs of a large
  // directory are ordered by it alone, without a comparison of texts.
  std::uint64_t order_key = 0;
};

std::uint64_t order_key_of(std::string_view name) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    key = key << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
  }
  return key;
}

// A directory's entries sorted by name in byte order, so findings come out the
// same on every file system.
class Listing {
 public:
  std::vector<Entry> entries;

  // The entry named `base` "." `ext` (the extension in any letter case) that
  // is a file; preferring the extension spelled in the case of `like`.
  const Entry* find_file(const std::string& directory, std::string_view base, std::string_view ext,
                         std::string_view like) const;
};

std::string join(const std::string& directory, std::string_view name) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path.push_back('/');
  path += name;
  return path;
}

// A directory, or a link or an entry of unknown type that may lead to one.
bool may_be_directory(const Entry& entry) {
  return entry.kind == FileKind::Directory || entry.kind == FileKind::Link || entry.kind == FileKind::Unknown;
}

// The lowest name an entry can bring into the items handed on: for a
// directory, a path below it (which starts with its name); for anything
// that may be a file, its own name, its body's or its specification's (each
// starts with the name up to its last dot, less a final '_' of the "_"
// scheme).
std::string_view lowest_name_from(const Entry& entry) {
  const std::string_view name = entry.name;
  if (entry.kind == FileKind::Directory) return name;
  const std::size_t dot = name.rfind('.');
  std::string_view base = dot == std::string_view::npos ? name : name.substr(0, dot);
  if (!base.empty() && base.back() == '_') base.remove_suffix(1);
  return base;
}

// For each position of a sorted list of entries, the lowest name any entry
// from there on can bring (none when no entry can); directories bring
// nothing unless they are `walked`. The views are into the entries' names.
using LowestNames = std::vector<std::optional<std::string_view>>;
LowestNames lowest_names_onward(const std::vector<Entry>& entries, bool walked) {
  LowestNames lowest(entries.size());
  for (std::size_t i = entries.size(); i-- > 0;) {
    const std::optional<std::string_view> later = i + 1 < entries.size() ? lowest[i + 1] : std::nullopt;
    if (entries[i].kind == FileKind::Directory && !walked) {
      lowest[i] = later;
      continue;
    }
    const std::string_view own = lowest_name_from(entries[i]);
    lowest[i] = later && *later < own ? *later : own;
  }
  return lowest;
}

// The lower of `directory`/`lowest[next]` (when the directory has more to
// come) and `beyond` (what comes after the directory; empty when nothing
// does). Empty when neither: nothing is left to come.
std::string later_paths_bound(const std::string& directory, const LowestNames& lowest, std::size_t next,
                              const std::string& beyond) {
  if (next >= lowest.size() || !lowest[next]) return beyond;
  std::string own = join(directory, *lowest[next]);
  return !beyond.empty() && beyond < own ? beyond : own;
}

// A file (not a directory, pipe or device), following symbolic links.
bool is_file(const std::string& path) {
  PathStatus status;
  return disk().status(path, status) == 0 && status.kind == FileKind::Regular;
}

// A directory, following symbolic links.
bool is_directory(const std::string& path) {
  PathStatus status;
  return disk().status(path, status) == 0 && status.kind == FileKind::Directory;
}

// Collects a listing's entries with the keys they are sorted by.
class EntryCollector final : public EntryVisitor {
 public:
  explicit EntryCollector(std::vector<Entry>& entries) : entries_(entries) {}
  void on_entry(std::string_view name, FileKind kind) override {
    entries_.push_back(Entry{std::string(name), kind, order_key_of(name)});
  }

 private:
  std::vector<Entry>& entries_;
};

const Entry* Listing::find_file(const std::string& directory, std::string_view base, std::string_view ext,
                                const std::string_view like) const {
  std::string prefix(base);
  prefix.push_back('.');
  auto first = std::lower_bound(entries.begin(), entries.end(), prefix,
                                [](const Entry& e, const std::string& p) { return e.name < p; });
  // Candidates share the prefix exactly; ".ADB" sorts before ".adb", so the
  // same-case spelling is looked for first and any other taken after.
  bool upper = !like.empty() && like.front() >= 'A' && like.front() <= 'Z';
  const Entry* fallback = nullptr;
  for (auto it = first; it != entries.end() && it->name.compare(0, prefix.size(), prefix) == 0; ++it) {
    std::string_view candidate_ext = std::string_view(it->name).substr(prefix.size());
    if (!latin1::equal_ignoring_case(candidate_ext, ext)) continue;
    if (it->kind != FileKind::Regular && !is_file(join(directory, it->name))) continue;
    bool same_case = (candidate_ext.front() >= 'A' && candidate_ext.front() <= 'Z') == upper;
    if (same_case) return &*it;
    if (fallback == nullptr) fallback = &*it;
  }
  return fallback;
}

class SourceWalk {
 public:
  SourceWalk(const SearchRoot& root, Phase phase, const WalkOptions& options, const std::atomic<bool>& running,
             WalkVisitor& visitor)
      : root_(root), phase_(phase), options_(options), running_(running), visitor_(visitor) {}

  WalkCounts run() {
    walk(root_.directory, {});
    return counts_;
  }

 private:
  // `beyond` is the lowest path the walk can hand on after this directory
  // (empty: nothing comes after it).
  void walk(const std::string& directory, const std::string& beyond);
  bool read_listing(const std::string& directory, const std::string& beyond, Listing& listing);
  void unreadable(const std::string& directory, const std::string& beyond, bool partly, int error);
  void visit_file(const std::string& directory, const Entry& entry, const Listing& listing);
  void dispatch_file(const std::string& directory, const std::string& name, AdaExtension ext,
                     const Listing& listing);
  void dispatch_preparation(const std::string& directory, const std::string& name, std::string_view base,
                            AdaExtension ext, const Listing& listing);
  // A body whose specification exists: the pair normally goes from the
  // specification's entry.
  void dispatch_body_of(const std::string& directory, const Entry& spec, const std::string& body, bool is_adq);
  void hand_on(WorkKind kind, std::string file, std::string body, bool is_adq);
  // Whether an exclusion leaves the file out (only asked when there are
  // exclusions); a pair's partner it leaves out is taken as missing.
  bool excluded(const std::string& directory, std::string_view name) const {
    return options_.excluded->matches(join(directory, name));
  }
  const Entry* without_excluded(const std::string& directory, const Entry* partner) const {
    if (partner == nullptr || options_.excluded == nullptr) return partner;
    return excluded(directory, partner->name) ? nullptr : partner;
  }
  // Reads `running` before a file or directory; the visitor hears of every
  // true answer, so it knows where a serial run could have stopped.
  bool going_on();

  const SearchRoot& root_;
  Phase phase_;
  WalkOptions options_;
  const std::atomic<bool>& running_;
  WalkVisitor& visitor_;
  WalkCounts counts_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> entered_;
  // The bound the next item handed on carries (check pass only).
  std::string later_paths_bound_;
};

bool SourceWalk::going_on() {
  if (!running_.load(std::memory_order_relaxed)) return false;
  visitor_.on_running_checked();
  return true;
}

bool SourceWalk::read_listing(const std::string& directory, const std::string& beyond, Listing& listing) {
  EntryCollector collector(listing.entries);
  const ListingOutcome outcome = disk().list_directory(directory, collector);
  if (outcome.open_error != 0) {
    unreadable(directory, beyond, false, outcome.open_error);
    return false;
  }
  if (outcome.read_error != 0) unreadable(directory, beyond, true, outcome.read_error);
  std::sort(listing.entries.begin(), listing.entries.end(), [](const Entry& a, const Entry& b) {
    return a.order_key != b.order_key ? a.order_key < b.order_key : a.name < b.name;
  });
  return true;
}

void SourceWalk::walk(const std::string& directory, const std::string& beyond) {
  if (!going_on()) return;
  // Symbolic links are followed, but a directory reached again (a link cycle,
  // or two links to one place) is not walked twice.
  PathStatus status;
  if (const int error = disk().status(directory, status); error != 0) {
    unreadable(directory, beyond, false, error);
    return;
  }
  if (!entered_.emplace(status.device, status.inode).second) return;

  Listing listing;
  if (!read_listing(directory, beyond, listing)) return;

  // After a file come the entries that follow it, and then every
  // subdirectory (when they are searched), wherever its name sorts among
  // the files.
  const bool bounded = phase_ == Phase::Check;
  LowestNames lowest;
  std::string after_files = beyond;
  if (bounded) {
    lowest = lowest_names_onward(listing.entries, options_.search_subfolders);
    for (const Entry& entry : listing.entries) {
      if (!options_.search_subfolders || !may_be_directory(entry)) continue;
      std::string below = join(directory, lowest_name_from(entry));
      if (after_files.empty() || below < after_files) after_files = std::move(below);
    }
  }
  for (std::size_t at = 0; at < listing.entries.size(); ++at) {
    const Entry& entry = listing.entries[at];
    if (!going_on()) return;
    if (entry.kind == FileKind::Directory) continue;
    if (!name_matches(root_.pattern, entry.name)) continue;
    if (bounded) later_paths_bound_ = later_paths_bound(directory, lowest, at + 1, after_files);
    visit_file(directory, entry, listing);
  }
  if (!options_.search_subfolders) return;
  // The files of this directory are done with: only the names that may be
  // directories are kept while the walk goes down, so what the walk holds
  // grows with the depth of the tree, not with the files above it.
  std::vector<Entry> subdirectories;
  for (Entry& entry : listing.entries) {
    if (may_be_directory(entry)) subdirectories.push_back(std::move(entry));
  }
  listing = Listing{};
  const LowestNames lowest_below = bounded ? lowest_names_onward(subdirectories, true) : LowestNames{};
  for (std::size_t at = 0; at < subdirectories.size(); ++at) {
    const Entry& entry = subdirectories[at];
    if (!going_on()) return;
    std::string path = join(directory, entry.name);
    if (entry.kind != FileKind::Directory && !is_directory(path)) continue;
    walk(path, bounded ? later_paths_bound(directory, lowest_below, at + 1, beyond) : std::string());
  }
}

void SourceWalk::visit_file(const std::string& directory, const Entry& entry, const Listing& listing) {
  // Only Ada sources are looked at: other files are neither analysed nor
  // counted, whatever their permissions.
  std::size_t dot = entry.name.rfind('.');
  if (dot == std::string::npos) return;
  AdaExtension ext = ada_extension(std::string_view(entry.name).substr(dot + 1));
  if (ext == AdaExtension::None) return;
  if (options_.excluded != nullptr && excluded(directory, entry.name)) {
    ++counts_.excluded;
    return;
  }

  // The listing's word that an entry is a regular file is enough unless its
  // permissions matter: a stat per file is a large share of the walking
  // thread's time. (A file removed in the instant since the listing then
  // fails when its analysis opens it, and is reported there.)
  if (entry.kind != FileKind::Regular || options_.skip_read_only_files) {
    std::string path = join(directory, entry.name);
    PathStatus status;
    if (disk().status(path, status) != 0) {
      // A dangling link or a file gone since the listing: the check pass
      // hands it on alone, so that its analysis files the failure under its
      // name and it counts as processed; the preparation pass leaves that to
      // it.
      if (phase_ == Phase::Check) {
        hand_on(WorkKind::Single, std::move(path), {}, ext == AdaExtension::Adq);
        if (counts_.files_processed > 1) visitor_.on_progress(phase_, counts_);
      }
      return;
    }
    if (status.kind == FileKind::Directory) return;
    if (status.kind != FileKind::Regular) {
      // A pipe or device would block or never end when read.
      visitor_.on_note("Not a regular file, passed over: " + printable(path));
      return;
    }
    if (options_.skip_read_only_files && !status.writable) {
      ++counts_.read_only_skipped;
      return;
    }
  }
  dispatch_file(directory, entry.name, ext, listing);
  if (counts_.files_processed > 1) visitor_.on_progress(phase_, counts_);
}

// A directory the check pass cannot read is a finding of its own, so that
// sources below it are never lost in silence; the preparation pass, whose
// check pass will say so, only notes it.
void SourceWalk::unreadable(const std::string& directory, const std::string& beyond, bool partly, int error) {
  const std::string why = file_error_text(error);
  if (phase_ != Phase::Check) {
    visitor_.on_note((partly ? "Cannot read all of directory " : "Cannot read directory ") + printable(directory) + ": " +
                     why);
    return;
  }
  // The directory's path sorts before everything below it, and what comes
  // after the directory is `beyond`.
  visitor_.on_work(WorkItem{WorkKind::Unreadable, directory, {}, false, beyond,
                            (partly ? "cannot read all of the directory: " : "cannot read the directory: ") + why});
}

void SourceWalk::hand_on(WorkKind kind, std::string file, std::string body, bool is_adq) {
  counts_.files_processed += kind == WorkKind::Pair ? 2 : 1;
  visitor_.on_work(WorkItem{kind, std::move(file), std::move(body), is_adq, later_paths_bound_, {}});
}

void SourceWalk::dispatch_preparation(const std::string& directory, const std::string& name, std::string_view base,
                                      AdaExtension ext, const Listing& listing) {
  std::string_view ext_text = std::string_view(name).substr(base.size() + 1);
  bool spec_scheme = !base.empty() && base.back() == '_';
  switch (ext) {
    case AdaExtension::Ads:
      hand_on(WorkKind::Prepare, join(directory, name), {}, false);
      break;
    case AdaExtension::Ada:
      // With both, the ".adq" specification is the one prepared.
      if (spec_scheme && listing.find_file(directory, base, "adq", ext_text) == nullptr)
        hand_on(WorkKind::Prepare, join(directory, name), {}, false);
      break;
    case AdaExtension::Adq:
      if (spec_scheme) hand_on(WorkKind::Prepare, join(directory, name), {}, true);
      break;
    case AdaExtension::Adb:
    case AdaExtension::None:
      break;
  }
}

void SourceWalk::dispatch_body_of(const std::string& directory, const Entry& spec, const std::string& body,
                                  bool is_adq) {
  // An excluded specification is never read: its body stands alone.
  if (options_.excluded != nullptr && excluded(directory, spec.name)) {
    hand_on(WorkKind::Single, join(directory, body), {}, is_adq);
    return;
  }
  std::string spec_path = join(directory, spec.name);
  if (!name_matches(root_.pattern, spec.name)) {
    // The pattern leaves the specification out ("src/*.adb", "src/pkg.adb"),
    // so its entry will never come: the named body brings the pair.
    hand_on(WorkKind::Pair, std::move(spec_path), join(directory, body), is_adq);
    return;
  }
  PathStatus status;
  if (options_.skip_read_only_files && disk().status(spec_path, status) == 0 && !status.writable) {
    // The specification's entry is (or will be) counted as skipped; the pair
    // is analysed after all, so that count is taken back.
    hand_on(WorkKind::Pair, std::move(spec_path), join(directory, body), is_adq);
    --counts_.read_only_skipped;
  }
}

void SourceWalk::dispatch_file(const std::string& directory, const std::string& name, AdaExtension ext,
                               const Listing& listing) {
  std::size_t dot = name.rfind('.');
  std::string_view base = std::string_view(name).substr(0, dot);
  std::string_view ext_text = std::string_view(name).substr(dot + 1);
  if (phase_ == Phase::Preparation) {
    dispatch_preparation(directory, name, base, ext, listing);
    return;
  }

  bool spec_scheme = !base.empty() && base.back() == '_';
  std::string_view unmarked = spec_scheme ? base.substr(0, base.size() - 1) : base;
  std::string path = join(directory, name);
  switch (ext) {
    case AdaExtension::Adq:
    case AdaExtension::Ada: {
      bool is_adq = ext == AdaExtension::Adq;
      std::string_view scheme = is_adq ? "adq" : "ada";
      // An ".adq" file of the same base takes precedence over the ".ada" one.
      if (!is_adq && listing.find_file(directory, base, "adq", ext_text) != nullptr) return;
      if (spec_scheme) {
        const Entry* body = without_excluded(directory, listing.find_file(directory, unmarked, scheme, ext_text));
        if (body != nullptr)
          hand_on(WorkKind::Pair, std::move(path), join(directory, body->name), is_adq);
        else
          hand_on(WorkKind::Single, std::move(path), {}, is_adq);
      } else if (const Entry* spec = listing.find_file(directory, std::string(base) + "_", scheme, ext_text)) {
        dispatch_body_of(directory, *spec, name, is_adq);
      } else {
        hand_on(WorkKind::Single, std::move(path), {}, is_adq);
      }
      break;
    }
    case AdaExtension::Ads:
      if (const Entry* body = without_excluded(directory, listing.find_file(directory, base, "adb", ext_text)))
        hand_on(WorkKind::Pair, std::move(path), join(directory, body->name), false);
      else
        hand_on(WorkKind::Single, std::move(path), {}, false);
      break;
    case AdaExtension::Adb:
      if (const Entry* spec = listing.find_file(directory, base, "ads", ext_text))
        dispatch_body_of(directory, *spec, name, false);
      else
        hand_on(WorkKind::Single, std::move(path), {}, false);
      break;
    case AdaExtension::None:
      break;
  }
}

}  // namespace

WalkCounts walk_sources(const SearchRoot& root, Phase phase, const WalkOptions& options,
                        const std::atomic<bool>& running, WalkVisitor& visitor) {
  return SourceWalk(root, phase, options, running, visitor).run();
}

bool names_ada_source(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  return dot != std::string_view::npos && ada_extension(file_name.substr(dot + 1)) != AdaExtension::None;
}

}  // namespace flawseek
