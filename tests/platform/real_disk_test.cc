// The real disk's listing of what is no directory it can open: the errno of
// the failure and no entries. (The walk's tests cover what it lists.)
#include "platform/real_disk.h"
#include "platform/temporary_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>

#include "../support/file_text.h"
#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

struct Names final : EntryVisitor {
  void on_entry(std::string_view name, FileKind) override { names.emplace_back(name); }
  std::vector<std::string> names;
};

TEST(RealDisk, WhatCannotBeListedGivesItsErrnoAndNoEntries) {
  testing::TemporaryDirectory directory;
  testing::write_file(directory / "a.adb", "x");
  RealDisk disk;
  Names names;
  EXPECT_EQ(disk.list_directory(directory.path().string(), names).open_error, 0);
  EXPECT_EQ(names.names, std::vector<std::string>{"a.adb"});
  names.names.clear();
  EXPECT_EQ(disk.list_directory((directory / "a.adb").string(), names).open_error, ENOTDIR);
  EXPECT_EQ(disk.list_directory((directory / "missing").string(), names).open_error, ENOENT);
  EXPECT_TRUE(names.names.empty());
}

}  // namespace
}  // namespace flawseek

namespace flawseek {
namespace {

// A program ended at once while a report is written (a second Ctrl-C)
// removes the copy it was writing: nothing is left beside the report, and
// the earlier report stays whole.
TEST(RealDiskWrite, AHardExitDuringAWriteLeavesNothingBesideTheReport) {
  testing::TemporaryDirectory dir("write");
  const std::string report = (dir.path() / "r.json").string();
  testing::write_file(report, "earlier");
  RealDisk disk;
  const int error = disk.write_file(report, [](std::ostream& out) {
    out << "half of a new report";
    out.flush();
    remove_temporary_files();  // what the exit does first
  });
  EXPECT_NE(error, 0);
  EXPECT_EQ(testing::read_file(report), "earlier");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
  // A write that ends normally leaves nothing for an exit to remove.
  EXPECT_EQ(disk.write_file(report, [](std::ostream& out) { out << "new"; }), 0);
  remove_temporary_files();
  EXPECT_EQ(testing::read_file(report), "new");
}

}  // namespace
}  // namespace flawseek
