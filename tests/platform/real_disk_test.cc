// The real disk's listing of what is no directory it can open: the errno of
// the failure and no entries. (The walk's tests cover what it lists.)
#include "platform/real_disk.h"

#include <gtest/gtest.h>

#include <cerrno>

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
