// The overlay serves its texts in place of the disk's and passes the rest on.
#include "platform/overlay_disk.h"

#include <gtest/gtest.h>

#include "../support/fake_disk.h"

namespace flawseek {
namespace {

TEST(OverlayDisk, ServesItsTextsAndPassesTheRestOn) {
  testing::FakeDisk below;
  below.file("/src/a.adb", "on disk");
  below.file("/src/b.adb", "b on disk");
  OverlayDisk overlay(below);
  overlay.put("/src/a.adb", std::make_shared<const std::string>("in the editor"));
  overlay.put("/src/new.adb", std::make_shared<const std::string>("never saved"));

  const auto read = [&overlay](const std::string& path) {
    FileRoom room;
    room.bytes.assign(64, '#');  // a longer text before, which must not show
    const int error = overlay.read_into_room(path, room);
    std::string whole;
    EXPECT_EQ(overlay.read_file(path, whole), error);
    EXPECT_EQ(whole, error == 0 ? std::string(room.text()) : std::string());
    return error == 0 ? std::string(room.text()) : "error " + std::to_string(error);
  };
  EXPECT_EQ(read("/src/a.adb"), "in the editor");
  EXPECT_EQ(read("/src/new.adb"), "never saved");
  EXPECT_EQ(read("/src/b.adb"), "b on disk");
  EXPECT_EQ(read("/src/gone.adb"), "error " + std::to_string(ENOENT));
  PathStatus status;
  ASSERT_EQ(overlay.status("/src/new.adb", status), 0);
  EXPECT_EQ(status.kind, FileKind::Regular);

  overlay.remove("/src/a.adb");
  overlay.remove("/src/new.adb");
  EXPECT_EQ(read("/src/a.adb"), "on disk");
  EXPECT_NE(overlay.status("/src/new.adb", status), 0);
}

}  // namespace
}  // namespace flawseek
