// The unit an editor's document is checked as: the walk's pairs, found by
// the other file's presence.
#include "driver/document_check.h"

#include <gtest/gtest.h>

#include "../support/fake_disk.h"

namespace flawseek {
namespace {

TEST(DocumentUnit, PairsAsTheWalkDoes) {
  testing::FakeDisk files;
  for (const char* path : {"/p/a.ads", "/p/a.adb", "/p/b.adb", "/p/C.ADS", "/p/C.ADB", "/p/d_.ada", "/p/d.ada",
                           "/p/e_.adq", "/p/f.ads", "/p/f.ADB"}) {
    files.file(path);
  }
  const ScopedDisk disk(files);
  const struct {
    const char* path;
    DocumentUnit unit;
  } cases[] = {
      {"/p/a.ads", {"/p/a.ads", "/p/a.adb", false, true}},
      {"/p/a.adb", {"/p/a.ads", "/p/a.adb", false, true}},
      {"/p/b.adb", {"/p/b.adb", "", false, false}},
      {"/p/C.ADB", {"/p/C.ADS", "/p/C.ADB", false, true}},
      {"/p/d.ada", {"/p/d_.ada", "/p/d.ada", false, true}},
      {"/p/e_.adq", {"/p/e_.adq", "", true, true}},
      {"/p/f.ads", {"/p/f.ads", "", false, true}},  // the body's extension is of another case
      {"/p/notes.txt", {"/p/notes.txt", "", false, false}},
  };
  for (const auto& one : cases) EXPECT_EQ(document_unit(one.path), one.unit) << one.path;
}

}  // namespace
}  // namespace flawseek
