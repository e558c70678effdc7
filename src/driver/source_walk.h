// The walk of the source tree: directories in name order, the Ada files among
// them picked by name, and each specification-and-body pair or single file
// handed on as one work item, with the counts the status line shows.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/source_search.h"
#include "platform/path_glob.h"

namespace flawseek {

enum class Phase : std::uint8_t {
  Preparation,  // only specifications are handed on
  Check,        // pairs and single files
};

struct WalkOptions {
  bool search_subfolders = true;
  bool skip_read_only_files = false;
  // Sources left out (--exclude): neither read nor counted as processed. The
  // globs must outlive the walk; null excludes nothing.
  const AnchoredGlobs* excluded = nullptr;
};

struct WalkCounts {
  // Files handed to analysis (a pair counts 2).
  std::int64_t files_processed = 0;
  // Read-only files passed over. A read-only specification whose body is
  // writable is analysed with it and not counted, so the count can dip below
  // 0 until the walk reaches the specification's own entry.
  std::int64_t read_only_skipped = 0;
  // Sources the exclusions left out.
  std::int64_t excluded = 0;
};

enum class WorkKind : std::uint8_t {
  Prepare,  // preparation pass: the specification `file`
  Single,   // check pass: `file` alone
  Pair,     // check pass: the specification `file` with its body `body`
  Unreadable,  // check pass: the directory `file` could not be read, for `reason`
};

struct WorkItem {
  WorkKind kind;
  std::string file;
  std::string body;  // empty unless kind is Pair
  bool is_adq;       // the ".adq" scheme (embedded SQL)
  // Every file the check pass hands on after this item has a path that sorts
  // at or after this text (byte order), so what is kept for files before it
  // can be written out. Empty when nothing is settled: in the preparation
  // pass (the check pass walks the tree again), and after the last item.
  std::string later_paths_bound;
  std::string reason;  // of an Unreadable item: what went wrong
};

class WalkVisitor {
 public:
  virtual ~WalkVisitor() = default;
  // One file or pair to analyse, in walk order.
  virtual void on_work(const WorkItem& item) = 0;
  // After each file handed on once more than one file has been processed:
  // the moment the status line shows the progress text.
  virtual void on_progress(Phase phase, const WalkCounts& counts) {
    (void)phase;
    (void)counts;
  }
  // Something was passed over that the user may want to know about: a
  // source name that is not a regular file, or (in the preparation pass,
  // whose check pass then hands it on as its own item) an unreadable
  // directory.
  virtual void on_note(std::string_view message) { (void)message; }
  // The walk read `running` as true before its next file or directory: a
  // stop arriving from now on takes effect at the next such moment. What is
  // handed on between two of these moments belongs together (a file's work
  // and its progress), as a serial run would show it after a stop.
  virtual void on_running_checked() {}
};

// The Ada extensions, in any letter case ("ads", "ADB"), and what they say.
enum class AdaExtension : std::uint8_t { None, Ads, Adb, Ada, Adq };
AdaExtension ada_extension(std::string_view ext);

// Whether the walk takes a file of this name for an Ada source (by its
// extension, in any letter case).
bool names_ada_source(std::string_view file_name);

// Walks root's directory (and its subdirectories when asked) once. `running`
// is read before every file and directory; when it turns false the walk ends
// without handing on anything more. Never throws for file-system trouble.
WalkCounts walk_sources(const SearchRoot& root, Phase phase, const WalkOptions& options,
                        const std::atomic<bool>& running, WalkVisitor& visitor);

}  // namespace flawseek
