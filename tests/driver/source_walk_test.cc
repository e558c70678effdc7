// The source walk: order, patterns, pairing of specifications and bodies,
// read-only files, subfolders, links, unreadable entries and stopping.
#include "driver/source_walk.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <vector>

#include "driver/name_pattern.h"
#include "driver/search_texts.h"
#include "../support/fake_disk.h"
#include "walk_test_support.h"

namespace flawseek {
namespace {

using testing::TempTree;
using Items = std::vector<std::string>;

// Writes every work item as one short line with paths relative to the tree.
class Recorder : public WalkVisitor {
 public:
  explicit Recorder(const TempTree& tree) : prefix_(tree.root() + "/") {}
  explicit Recorder(std::string prefix) : prefix_(std::move(prefix)) {}

  void on_work(const WorkItem& item) override {
    std::string line;
    switch (item.kind) {
      case WorkKind::Prepare: line = "prepare " + relative(item.file); break;
      case WorkKind::Single: line = "single " + relative(item.file); break;
      case WorkKind::Pair: line = "pair " + relative(item.file) + " " + relative(item.body); break;
    }
    if (item.is_adq) line += " adq";
    items.push_back(line);
    if (stop_after > 0 && static_cast<int>(items.size()) == stop_after) running->store(false);
  }
  void on_progress(Phase phase, const WalkCounts& counts) override {
    progress.push_back(progress_text(phase, counts));
  }
  void on_note(std::string_view message) override { notes.emplace_back(message); }

  Items items;
  Items progress;
  Items notes;
  int stop_after = 0;
  std::atomic<bool>* running = nullptr;

 private:
  std::string relative(const std::string& path) const {
    return path.rfind(prefix_, 0) == 0 ? path.substr(prefix_.size()) : path;
  }
  std::string prefix_;
};

struct WalkResult {
  Items items;
  WalkCounts counts;
  Items notes;
  Items progress;
};

WalkResult walk(const TempTree& tree, const std::string& pattern = "*.*", Phase phase = Phase::Check,
                WalkOptions options = {}) {
  Recorder recorder(tree);
  std::atomic<bool> running{true};
  WalkCounts counts = walk_sources(SearchRoot{tree.root(), pattern}, phase, options, running, recorder);
  return WalkResult{recorder.items, counts, recorder.notes, recorder.progress};
}

TEST(NamePattern, WildcardsWithoutRegardToCase) {
  EXPECT_TRUE(name_matches("*.*", "Makefile"));
  EXPECT_TRUE(name_matches("*.*", "pkg.adb"));
  EXPECT_TRUE(name_matches("*.*", ".hidden"));
  EXPECT_TRUE(name_matches("*.ads", "PKG.ADS"));
  EXPECT_TRUE(name_matches("*.ADS", "pkg.ads"));
  EXPECT_FALSE(name_matches("*.ads", "pkg.adb"));
  EXPECT_TRUE(name_matches("pkg_.ada", "Pkg_.Ada"));
  EXPECT_FALSE(name_matches("pkg_.ada", "pkg.ada"));
  EXPECT_TRUE(name_matches("p?g.ad?", "pkg.adb"));
  EXPECT_FALSE(name_matches("p?g.adb", "pg.adb"));
  EXPECT_TRUE(name_matches("a*b*c.*", "a-x-b-y-b-c.txt"));
  EXPECT_FALSE(name_matches("a*b*c.*", "a-x-c-b.txt"));
  EXPECT_TRUE(name_matches("x.*", "x"));      // ".*" also matches no extension
  EXPECT_TRUE(name_matches("ab*.*", "abcd"));
  EXPECT_FALSE(name_matches("x.*", "y"));
  EXPECT_TRUE(name_matches("**", ""));
  EXPECT_FALSE(name_matches("?", ""));
  // Hostile patterns stay cheap and correct.
  EXPECT_FALSE(name_matches(std::string(200, '*') + "b", std::string(5000, 'a')));
}

TEST(SourceWalk, FilesInByteOrderThenSubdirectoriesInByteOrder) {
  TempTree tree;
  for (const char* name : {"b.adb", "B.adb", "a.adb", "_z.ads", "sub2/d.adb", "sub1/c.adb", "sub1/deep/e.ads",
                           "Sub3/f.adb"})
    tree.file(name);
  WalkResult result = walk(tree);
  EXPECT_EQ(result.items, (Items{"single B.adb", "single _z.ads", "single a.adb", "single b.adb", "single Sub3/f.adb",
                                 "single sub1/c.adb", "single sub1/deep/e.ads", "single sub2/d.adb"}));
  EXPECT_EQ(result.counts.files_processed, 8);
  EXPECT_EQ(result.counts.read_only_skipped, 0);
}

TEST(SourceWalk, NamesSharingTheirFirstBytesAndLatin1NamesSortByEveryByte) {
  TempTree tree;
  // Long names alike in their first eight bytes, a name ending within them,
  // and a Latin-1 name whose first byte is above every ASCII one.
  for (const char* name : {"zz.adb", "abcdefgh_2.adb", "\xE9t\xE9.adb", "abcdefghi.adb", "abcdefg.adb",
                           "abcdefgh_10.adb", "abcdefgh.adb"})
    tree.file(name);
  EXPECT_EQ(walk(tree).items, (Items{"single abcdefg.adb", "single abcdefgh.adb", "single abcdefgh_10.adb",
                                     "single abcdefgh_2.adb", "single abcdefghi.adb", "single zz.adb",
                                     "single \xE9t\xE9.adb"}));
}

TEST(SourceWalk, NoSubfoldersStaysInTheRoot) {
  TempTree tree;
  tree.file("top.adb");
  tree.file("sub/below.adb");
  WalkOptions options;
  options.search_subfolders = false;
  EXPECT_EQ(walk(tree, "*.*", Phase::Check, options).items, Items{"single top.adb"});
}

TEST(SourceWalk, OnlyAdaExtensionsInAnyCase) {
  TempTree tree;
  for (const char* name : {"a.ADB", "b.Ads", "c.ada", "d.ADQ", "e.txt", "f.adbx", "README", "g.ad", "h."}) tree.file(name);
  tree.directory("dir.adb");
  EXPECT_EQ(walk(tree).items, (Items{"single a.ADB", "single b.Ads", "single c.ada", "single d.ADQ adq"}));
}

TEST(SourceWalk, PatternMatchesInAnyCaseAtEveryLevel) {
  TempTree tree;
  for (const char* name : {"x.adb", "Y.ADB", "z.ads", "sub/w.Adb", "sub/v.ads"}) tree.file(name);
  EXPECT_EQ(walk(tree, "*.adb").items, (Items{"single Y.ADB", "single x.adb", "single sub/w.Adb"}));
}

TEST(SourceWalk, SpecificationAndBodyMakeOnePairInEitherOrder) {
  TempTree tree;
  tree.file("x.ads");  // the body's entry comes first: ".adb" < ".ads"
  tree.file("x.adb");
  tree.file("y.ADS");  // the specification's entry comes first: 'A' < 'a'
  tree.file("y.adb");
  WalkResult result = walk(tree);
  EXPECT_EQ(result.items, (Items{"pair x.ads x.adb", "pair y.ADS y.adb"}));
  EXPECT_EQ(result.counts.files_processed, 4);
}

TEST(SourceWalk, SameCaseCompanionIsPreferred) {
  TempTree tree;
  for (const char* name : {"p.ADS", "p.ADB", "p.adb"}) tree.file(name);
  EXPECT_EQ(walk(tree).items, Items{"pair p.ADS p.ADB"});
}

TEST(SourceWalk, AdaAndAdqNamingSchemes) {
  TempTree tree;
  for (const char* name : {"a_.ada", "a.ada", "a_.adq",  // the ".adq" specification wins
                           "b_.ada", "b.ada",             // a pair in the ".ada" scheme
                           "c_.adq", "c.adq",             // a pair in the ".adq" scheme
                           "d.ada", "e_.ada", "f.adq", "g_.adq"})
    tree.file(name);
  WalkResult result = walk(tree);
  EXPECT_EQ(result.items, (Items{"single a_.adq adq", "pair b_.ada b.ada", "pair c_.adq c.adq adq", "single d.ada",
                                 "single e_.ada", "single f.adq adq", "single g_.adq adq"}));
  EXPECT_EQ(result.counts.files_processed, 9);
}

TEST(SourceWalk, AdqBodyAndSpecificationTakePrecedenceOverAda) {
  TempTree tree;
  for (const char* name : {"k_.ada", "k.ada", "k_.adq", "k.adq"}) tree.file(name);
  EXPECT_EQ(walk(tree).items, Items{"pair k_.adq k.adq adq"});
}

TEST(SourceWalk, PreparationHandsOnSpecificationsOnly) {
  TempTree tree;
  for (const char* name : {"a_.ada", "a_.adq", "b_.ada", "b.ada", "c.ads", "c.adb", "d_.adq", "e.adq", "sub/f.ads"})
    tree.file(name);
  WalkResult result = walk(tree, "*.*", Phase::Preparation);
  EXPECT_EQ(result.items, (Items{"prepare a_.adq adq", "prepare b_.ada", "prepare c.ads", "prepare d_.adq adq",
                                 "prepare sub/f.ads"}));
  EXPECT_EQ(result.counts.files_processed, 5);
}

TEST(SourceWalk, ReadOnlySpecificationWithWritableBodyIsAnalysedOnce) {
  TempTree tree;
  tree.file("x.ads");
  tree.file("x.adb");
  tree.read_only("x.ads");
  WalkOptions options;
  options.skip_read_only_files = true;
  WalkResult result = walk(tree, "*.*", Phase::Check, options);
  EXPECT_EQ(result.items, Items{"pair x.ads x.adb"});
  EXPECT_EQ(result.counts.files_processed, 2);
  EXPECT_EQ(result.counts.read_only_skipped, 0);
}

TEST(SourceWalk, ReadOnlyFilesAreSkippedAndCounted) {
  TempTree tree;
  for (const char* name : {"lone.adb", "s.ads", "s.adb", "w.adb", "notes.txt", "g_.ada", "g.ada"}) tree.file(name);
  for (const char* name : {"lone.adb", "s.ads", "s.adb", "notes.txt", "g.ada"}) tree.read_only(name);
  // One write bit is enough to make a file writable.
  ::chmod(tree.path("w.adb").c_str(), 0464);
  WalkOptions options;
  options.skip_read_only_files = true;
  WalkResult result = walk(tree, "*.*", Phase::Check, options);
  // The read-only body g.ada still goes with its writable specification.
  EXPECT_EQ(result.items, (Items{"pair g_.ada g.ada", "single w.adb"}));
  EXPECT_EQ(result.counts.read_only_skipped, 4);  // not notes.txt: only sources count
  EXPECT_EQ(result.counts.files_processed, 3);

  options.skip_read_only_files = false;
  EXPECT_EQ(walk(tree, "*.*", Phase::Check, options).counts.files_processed, 6);
}

TEST(SourceWalk, NamedBodyBringsItsSpecification) {
  TempTree tree;
  tree.file("pkg.ads");
  tree.file("pkg.adb");
  tree.file("other.adb");
  EXPECT_EQ(walk(tree, "pkg.adb").items, Items{"pair pkg.ads pkg.adb"});
  EXPECT_EQ(walk(tree, "*.adb").items, (Items{"single other.adb", "pair pkg.ads pkg.adb"}));
}

TEST(SourceWalk, NamedSpecificationIsFoundAtEveryLevel) {
  TempTree tree;
  for (const char* name : {"pkg_.ada", "pkg.ada", "x_.ada", "sub/pkg_.ada", "sub/deeper/PKG_.ADA"}) tree.file(name);
  EXPECT_EQ(walk(tree, "pkg_.ada").items,
            (Items{"pair pkg_.ada pkg.ada", "single sub/pkg_.ada", "single sub/deeper/PKG_.ADA"}));
}

TEST(SourceWalk, SymbolicLinksAreFollowedButNoDirectoryTwice) {
  TempTree tree;
  tree.file("real/a.adb");
  tree.symlink("..", "real/up");        // a cycle back to the root
  tree.symlink("real", "again");        // a second way into real/
  tree.symlink("real/a.adb", "link.adb");
  tree.symlink("missing.adb", "gone.adb");  // dangling
  // A dangling specification goes alone: its body is checked on its own too.
  tree.symlink("missing.ads", "x.ads");
  tree.file("x.adb");
  WalkResult result = walk(tree);
  // Each link to nothing is handed on, so that its analysis reports it.
  EXPECT_EQ(result.items,
            (Items{"single gone.adb", "single link.adb", "single x.adb", "single x.ads", "single again/a.adb"}));
  EXPECT_EQ(result.counts.files_processed, 5);
  EXPECT_TRUE(result.notes.empty());
  // The preparation pass leaves them to the check pass.
  EXPECT_TRUE(walk(tree, "*.*", Phase::Preparation).items.empty());
}

TEST(SourceWalk, SpecialFilesAreNotRead) {
  TempTree tree;
  tree.file("a.adb");
  ASSERT_EQ(::mkfifo(tree.path("pipe.adb").c_str(), 0644), 0);
  WalkResult result = walk(tree);
  EXPECT_EQ(result.items, Items{"single a.adb"});
  ASSERT_EQ(result.notes.size(), 1u);
  EXPECT_NE(result.notes[0].find("pipe.adb"), std::string::npos);
}

// Trouble the disk gives, whoever runs the walk: each case's tree holds
// /t/ok.adb beside its trouble, and the walk must go on past the trouble.
TEST(SourceWalk, UnreadableAndVanishingEntriesAreNotedOrHandedOnAndTheWalkGoesOn) {
  struct Case {
    const char* name;
    void (*trouble)(testing::FakeDisk&);
    Items items;
    Items notes;
  };
  const Case cases[] = {
      {"unreadable directory",
       [](testing::FakeDisk& disk) {
         disk.file("/t/a/x.adb");
         disk.unreadable("/t/a");
       },
       {"single ok.adb"},
       {"Cannot read directory /t/a: Permission denied"}},
      {"unreadable root", [](testing::FakeDisk& disk) { disk.unreadable("/t"); }, {},
       {"Cannot read directory /t: Permission denied"}},
      {"directory gone after the listing",
       [](testing::FakeDisk& disk) {
         disk.file("/t/a/x.adb");
         disk.vanishes("/t/a");
       },
       {"single ok.adb"},
       {"Cannot read directory /t/a: No such file or directory"}},
      // Its analysis opens it and files the failure under its name.
      {"file gone after the listing",
       [](testing::FakeDisk& disk) {
         disk.file("/t/gone.adb");
         disk.vanishes("/t/gone.adb");
       },
       {"single gone.adb", "single ok.adb"},
       {}},
      {"special file", [](testing::FakeDisk& disk) { disk.special("/t/pipe.adb"); }, {"single ok.adb"},
       {"Not a regular file, passed over: /t/pipe.adb"}},
  };
  for (const Case& c : cases) {
    testing::FakeDisk fake;
    fake.file("/t/ok.adb");
    c.trouble(fake);
    const ScopedDisk scoped(fake);
    Recorder recorder("/t/");
    std::atomic<bool> running{true};
    walk_sources(SearchRoot{"/t", "*.*"}, Phase::Check, WalkOptions{}, running, recorder);
    EXPECT_EQ(recorder.items, c.items) << c.name;
    EXPECT_EQ(recorder.notes, c.notes) << c.name;
  }
}

TEST(SourceWalk, DirectoryBeyondThePathLimitIsPassedOverWithANote) {
  TempTree tree;
  tree.file("a.adb");
  tree.file("z.adb");
  // A chain of directories whose full path is longer than the system allows.
  int fd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  const std::string component(200, 'd');
  for (int level = 0; level < 25; ++level) {
    ASSERT_EQ(::mkdirat(fd, component.c_str(), 0755), 0);
    int next = ::openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    ASSERT_GE(next, 0);
    fd = next;
  }
  ::close(::openat(fd, "deep.adb", O_CREAT | O_WRONLY, 0644));
  ::close(fd);

  WalkResult result = walk(tree);
  EXPECT_EQ(result.items, (Items{"single a.adb", "single z.adb"}));
  ASSERT_EQ(result.notes.size(), 1u);
  EXPECT_EQ(result.notes[0].rfind("Cannot read directory", 0), 0u) << result.notes[0];
}

TEST(SourceWalk, MissingRootDirectoryGivesANoteNotACrash) {
  TempTree tree;
  Recorder recorder(tree);
  std::atomic<bool> running{true};
  WalkCounts counts =
      walk_sources(SearchRoot{tree.path("nowhere"), "*.*"}, Phase::Check, WalkOptions{}, running, recorder);
  EXPECT_EQ(counts.files_processed, 0);
  EXPECT_TRUE(recorder.items.empty());
  EXPECT_EQ(recorder.notes.size(), 1u);
}

TEST(SourceWalk, StopEndsTheWalkBeforeTheNextFileOrDirectory) {
  TempTree tree;
  for (const char* name : {"a.adb", "b.adb", "c.adb", "sub/d.adb"}) tree.file(name);
  Recorder recorder(tree);
  std::atomic<bool> running{true};
  recorder.running = &running;
  recorder.stop_after = 2;
  WalkCounts counts = walk_sources(SearchRoot{tree.root(), "*.*"}, Phase::Check, WalkOptions{}, running, recorder);
  EXPECT_EQ(recorder.items, (Items{"single a.adb", "single b.adb"}));
  EXPECT_EQ(counts.files_processed, 2);

  Recorder idle(tree);
  std::atomic<bool> stopped{false};
  walk_sources(SearchRoot{tree.root(), "*.*"}, Phase::Preparation, WalkOptions{}, stopped, idle);
  EXPECT_TRUE(idle.items.empty());
}

TEST(SourceWalk, ProgressIsShownOnceMoreThanOneFileIsProcessed) {
  TempTree tree;
  for (const char* name : {"a.adb", "b.ads", "b.adb", "c.adb"}) tree.file(name);
  WalkResult result = walk(tree);
  // a.adb: 1 file (no progress); b.adb's entry leaves the pair to b.ads (still
  // 1); then 3, then 4.
  EXPECT_EQ(result.progress, (Items{"Searching... 3 files processed.", "Searching... 4 files processed."}));
}

// Each item's bound promises that no later item names a file before it; the
// traps are names the walk reaches in another order than their paths sort:
// a directory's files come before its subdirectories ("m/x.adb" sorts
// before "n.adb"), "m-n" sorts before "m/" but is walked after it, bodies
// sort before their specifications, and "q.ada" before "q_.ada".
TEST(SourceWalk, NoLaterItemNamesAFileBeforeAnItemsBound) {
  TempTree tree;
  for (const char* name : {"a.adb", "m.adb", "n.adb", "p.adb", "p.ads", "q.ada", "q_.ada", "z.adb", "m/x.adb",
                           "m/y/deep.adb", "m-n/k.adb", "m.d/j.ads", "m.d/j.adb", "mm/w.adb"}) {
    tree.file(name);
  }
  struct Collector : WalkVisitor {
    std::vector<WorkItem> items;
    void on_work(const WorkItem& item) override { items.push_back(item); }
  } collector;
  std::atomic<bool> running{true};
  walk_sources(SearchRoot{tree.root(), "*.*"}, Phase::Check, WalkOptions{}, running, collector);
  ASSERT_EQ(collector.items.size(), 11u);

  std::vector<std::string> settled_at_once;
  const std::string prefix = tree.root() + "/";
  for (std::size_t i = 0; i < collector.items.size(); ++i) {
    const std::string& bound = collector.items[i].later_paths_bound;
    for (std::size_t later = i + 1; later < collector.items.size(); ++later) {
      const WorkItem& item = collector.items[later];
      EXPECT_LE(bound, item.file) << "after " << collector.items[i].file;
      if (item.kind == WorkKind::Pair) {
        EXPECT_LE(bound, item.body) << "after " << collector.items[i].file;
      }
    }
    if (!bound.empty() && collector.items[i].file < bound) settled_at_once.push_back(collector.items[i].file.substr(prefix.size()));
  }
  EXPECT_TRUE(collector.items.back().later_paths_bound.empty());
  // A bound that said nothing would be sound and useless. The other items
  // rightly wait: the root's later files sort after its subdirectories,
  // "m/" and what is below it after "m-n/" and "m.d/".
  EXPECT_EQ(settled_at_once, (std::vector<std::string>{"a.adb", "m-n/k.adb", "m.d/j.ads"}));

  // Without subfolders the root's files wait for nothing but each other.
  Collector flat;
  WalkOptions no_subfolders;
  no_subfolders.search_subfolders = false;
  walk_sources(SearchRoot{tree.root(), "*.*"}, Phase::Check, no_subfolders, running, flat);
  ASSERT_EQ(flat.items.size(), 6u);
  for (std::size_t i = 0; i + 1 < flat.items.size(); ++i) {
    EXPECT_LT(flat.items[i].file, flat.items[i].later_paths_bound);
    EXPECT_LE(flat.items[i].later_paths_bound, flat.items[i + 1].body.empty() ? flat.items[i + 1].file
                                                                              : flat.items[i + 1].body);
  }

  // The preparation pass settles nothing: the check pass walks again.
  Collector preparation;
  walk_sources(SearchRoot{tree.root(), "*.*"}, Phase::Preparation, WalkOptions{}, running, preparation);
  for (const WorkItem& item : preparation.items) EXPECT_TRUE(item.later_paths_bound.empty()) << item.file;
}

// The GNAT library sources: a real tree of ".ads"/".adb" files, most of them
// pairs. Every file must be handed on exactly once, each pair together.
TEST(SourceWalk, GnatLibraryIsCoveredExactlyOnce) {
  const std::string gnat = "/usr/lib/gcc/x86_64-linux-gnu/12/adainclude";
  if (!std::filesystem::is_directory(gnat)) GTEST_SKIP() << "GNAT library sources not installed";

  struct Collector : WalkVisitor {
    std::vector<WorkItem> items;
    void on_work(const WorkItem& item) override { items.push_back(item); }
  } collector;
  std::atomic<bool> running{true};
  WalkCounts counts = walk_sources(SearchRoot{gnat, "*.*"}, Phase::Check, WalkOptions{}, running, collector);

  std::set<std::string> seen;
  std::size_t sources = 0;
  for (const auto& entry : std::filesystem::directory_iterator(gnat)) {
    std::string ext = entry.path().extension().string();
    if (ext == ".ads" || ext == ".adb") ++sources;
  }
  for (const WorkItem& item : collector.items) {
    EXPECT_TRUE(seen.insert(item.file).second) << item.file;
    if (item.kind == WorkKind::Pair) {
      EXPECT_TRUE(seen.insert(item.body).second) << item.body;
      EXPECT_EQ(item.file.substr(0, item.file.size() - 1), item.body.substr(0, item.body.size() - 1));
      EXPECT_EQ(item.file.back(), 's');
      EXPECT_EQ(item.body.back(), 'b');
    }
  }
  EXPECT_EQ(seen.size(), sources);
  EXPECT_EQ(static_cast<std::size_t>(counts.files_processed), sources);
  EXPECT_TRUE(std::is_sorted(collector.items.begin(), collector.items.end(),
                             [](const WorkItem& a, const WorkItem& b) { return a.file < b.file; }));
}

}  // namespace
}  // namespace flawseek
