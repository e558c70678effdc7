// Resolving the search root, checking the reference path, and the status texts.
#include "driver/source_search.h"

#include <gtest/gtest.h>

#include "driver/search_texts.h"
#include "walk_test_support.h"

namespace flawseek {
namespace {

using testing::TempTree;

std::string image(const std::optional<SearchRoot>& root) {
  return root ? root->directory + " | " + root->pattern : "not found";
}

TEST(SearchRoot, DirectoryWithOrWithoutFinalSlash) {
  TempTree tree;
  tree.directory("src");
  EXPECT_EQ(image(resolve_search_root(tree.path("src/"), "/")), tree.path("src") + " | *.*");
  EXPECT_EQ(image(resolve_search_root(tree.path("src"), "/")), tree.path("src") + " | *.*");
  EXPECT_EQ(image(resolve_search_root("  " + tree.path("src") + "  ", "/")), tree.path("src") + " | *.*");
}

TEST(SearchRoot, DirectoryAndPattern) {
  TempTree tree;
  tree.file("src/pkg_.ada");
  EXPECT_EQ(image(resolve_search_root(tree.path("src/pkg_.ada"), "/")), tree.path("src") + " | pkg_.ada");
  EXPECT_EQ(image(resolve_search_root(tree.path("src/*.adb"), "/")), tree.path("src") + " | *.adb");
  // A pattern without a dot gets ".*"; a missing file is still a pattern.
  EXPECT_EQ(image(resolve_search_root(tree.path("src/p*"), "/")), tree.path("src") + " | p*.*");
  EXPECT_EQ(image(resolve_search_root(tree.path("src/none.adb"), "/")), tree.path("src") + " | none.adb");
}

TEST(SearchRoot, NotFound) {
  TempTree tree;
  tree.file("src/file.adb");
  EXPECT_EQ(image(resolve_search_root("", "/")), "not found");
  EXPECT_EQ(image(resolve_search_root("    ", "/")), "not found");
  EXPECT_EQ(image(resolve_search_root(tree.path("src/x"), "/")), "not found");  // neither "*" nor "."
  EXPECT_EQ(image(resolve_search_root(tree.path("src/a?c"), "/")), "not found");
  EXPECT_EQ(image(resolve_search_root(tree.path("missing/*.adb"), "/")), "not found");
  EXPECT_EQ(image(resolve_search_root(tree.path("missing/"), "/")), "not found");
  EXPECT_EQ(image(resolve_search_root(tree.path("src/file.adb/*.adb"), "/")), "not found");
}

TEST(SearchRoot, RelativeTextIsTakenFromTheCurrentDirectory) {
  TempTree tree;
  tree.directory("proj/src");
  EXPECT_EQ(image(resolve_search_root("src", tree.path("proj"))), tree.path("proj/src") + " | *.*");
  EXPECT_EQ(image(resolve_search_root("src/*.ads", tree.path("proj") + "/")), tree.path("proj/src") + " | *.ads");
  EXPECT_EQ(image(resolve_search_root(".", tree.path("proj"))), tree.path("proj") + " | *.*");
  EXPECT_EQ(image(resolve_search_root("./src/../src/", tree.path("proj"))), tree.path("proj/src") + " | *.*");
}

TEST(SearchRoot, FileSystemRoot) {
  EXPECT_EQ(image(resolve_search_root("/", "/tmp")), "/ | *.*");
  EXPECT_EQ(image(resolve_search_root("/*.adb", "/tmp")), "/ | *.adb");
}

TEST(ReferencePath, EmptyAndSeparatorsOnlyAreValid) {
  EXPECT_TRUE(validate_reference_path("", "/").valid);
  EXPECT_TRUE(validate_reference_path("   ", "/").valid);
  ReferencePathCheck check = validate_reference_path(" ; ;;  ", "/");
  EXPECT_TRUE(check.valid);
  EXPECT_TRUE(check.directories.empty());
}

TEST(ReferencePath, EveryEntryMustBeAnExistingDirectory) {
  TempTree tree;
  tree.directory("specs/sub");
  tree.directory("more");
  tree.file("plain.ads");
  ReferencePathCheck check =
      validate_reference_path("  " + tree.path("specs") + "/* ;  " + tree.path("more") + " ; ", "/");
  EXPECT_TRUE(check.valid);
  EXPECT_EQ(check.directories, (std::vector<std::string>{tree.path("specs"), tree.path("more")}));

  check = validate_reference_path(tree.path("specs") + ";" + tree.path("gone") + ";" + tree.path("more"), "/");
  EXPECT_FALSE(check.valid);
  EXPECT_EQ(check.bad_entry, tree.path("gone"));
  EXPECT_TRUE(check.directories.empty());

  EXPECT_FALSE(validate_reference_path(tree.path("gone") + "/*", "/").valid);
  EXPECT_FALSE(validate_reference_path(tree.path("plain.ads"), "/").valid);
  EXPECT_TRUE(validate_reference_path("/*", tree.root()).valid);
}

TEST(ReferencePath, EntriesForTheSurveyKeepTheirSubdirectoryMark) {
  TempTree tree;
  tree.directory("specs/sub");
  tree.directory("more");
  ReferencePathCheck check = validate_reference_path(" specs/./* ; more ;/*", tree.root());
  ASSERT_TRUE(check.valid);
  EXPECT_EQ(check.entries, (std::vector<std::string>{tree.path("specs") + "/*", tree.path("more"), "/*"}));
  EXPECT_EQ(check.directories, (std::vector<std::string>{tree.path("specs"), tree.path("more"), "/"}));

  check = validate_reference_path("more/*;gone", tree.root());
  EXPECT_FALSE(check.valid);
  EXPECT_TRUE(check.entries.empty());
}

TEST(ReferencePath, RelativeEntriesAreTakenFromTheCurrentDirectory) {
  TempTree tree;
  tree.directory("specs");
  ReferencePathCheck check = validate_reference_path("specs/*;.", tree.root());
  EXPECT_TRUE(check.valid);
  EXPECT_EQ(check.directories, (std::vector<std::string>{tree.path("specs"), tree.root()}));
  EXPECT_FALSE(validate_reference_path("specs;nothing/*", tree.root()).valid);
}

TEST(SearchTexts, ProgressAndResultWithTheirBlanks) {
  EXPECT_EQ(progress_text(Phase::Check, WalkCounts{2, 0}), "Searching... 2 files processed.");
  EXPECT_EQ(progress_text(Phase::Preparation, WalkCounts{5, 1}),
            "Preparation... 5 files processed. ( 1 Read-Only file skipped )");
  EXPECT_EQ(result_text(3, WalkCounts{120, 2}), " 3 potential bugs found in search of 120 files ( 2 Read-Only files skipped )");
  EXPECT_EQ(result_text(0, WalkCounts{1, 0}), " 0 potential bugs found in search of 1 file");
  EXPECT_EQ(result_text(1, WalkCounts{0, 0}), " 1 potential bug found in search of 0 files");
  // A count below zero for a moment shows nothing.
  EXPECT_EQ(result_text(2, WalkCounts{4, -1}), " 2 potential bugs found in search of 4 files");
}

}  // namespace
}  // namespace flawseek
