// Whole-file reading and writing: complete transfers through pipes and large
// files, and the errno each failure hands back.
#include "platform/file_io.h"
#include "platform/real_disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>

#include "../support/file_text.h"
#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

using testing::TemporaryDirectory;
using testing::write_file;

// Every byte value, repeated past one read buffer so the loops must go round.
std::string large_binary_text() {
  std::string text;
  for (int i = 0; i < 200000; ++i) text.push_back(static_cast<char>(i * 7 % 256));
  return text;
}

TEST(WriteAllTest, DeliversEverythingThroughAPipeThatTakesLittleAtATime) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string text = large_binary_text();  // far more than a pipe holds
  std::string received;
  std::thread reader([&] {
    EXPECT_TRUE(read_all(ends[0], received));
    ::close(ends[0]);
  });
  EXPECT_TRUE(write_all(ends[1], text));
  ::close(ends[1]);
  reader.join();
  EXPECT_EQ(received, text);
}

TEST(WriteAllTest, FailuresTellWhyByErrno) {
  if (std::filesystem::exists("/dev/full")) {
    int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    errno = 0;
    EXPECT_FALSE(write_all(full, "no room"));
    EXPECT_EQ(errno, ENOSPC);
    ::close(full);
  }

  TemporaryDirectory directory;
  write_file(directory / "read-only", "kept");
  int read_only = ::open((directory / "read-only").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(read_only, 0);
  errno = 0;
  EXPECT_FALSE(write_all(read_only, "refused"));
  EXPECT_EQ(errno, EBADF);
  ::close(read_only);
  EXPECT_EQ(testing::read_file(directory / "read-only"), "kept");
}

TEST(WriteAllTest, NothingToWriteSucceedsEvenOnABadDescriptor) {
  EXPECT_TRUE(write_all(-1, ""));
}

TEST(ReadAllTest, AppendsToWhatTheTextHeldAndReportsABadDescriptor) {
  TemporaryDirectory directory;
  write_file(directory / "tail", "tail");
  int fd = ::open((directory / "tail").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::string text = "head-";
  EXPECT_TRUE(read_all(fd, text));
  EXPECT_EQ(text, "head-tail");
  ::close(fd);

  errno = 0;
  EXPECT_FALSE(read_all(-1, text));
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(text, "head-tail");
}

TEST(ReadWholeFileTest, ReadsLargeBinaryAndEmptyFilesWhole) {
  TemporaryDirectory directory;
  const std::string large = large_binary_text();
  write_file(directory / "large", large);
  std::string text;
  EXPECT_EQ(read_whole_file((directory / "large").string(), text), 0);
  EXPECT_EQ(text, large);

  write_file(directory / "empty", "");
  std::string empty = "before";
  EXPECT_EQ(read_whole_file((directory / "empty").string(), empty), 0);
  EXPECT_EQ(empty, "before");
}

TEST(ReadWholeFileTest, AFileWithoutARegularSizeIsStillReadToItsEnd) {
  // /proc files report a size of zero; the size is a hint, never a limit.
  if (!std::filesystem::exists("/proc/self/status")) GTEST_SKIP() << "no /proc";
  std::string text;
  EXPECT_EQ(read_whole_file("/proc/self/status", text), 0);
  EXPECT_NE(text.find("Pid:"), std::string::npos);
}

TEST(ReadIntoRoomTest, ReadsEachFileToTheStartOfARoomThatOnlyGrows) {
  TemporaryDirectory directory;
  const std::string large = large_binary_text();
  write_file(directory / "large", large);
  write_file(directory / "small", "small");
  RealDisk disk;
  FileRoom room;
  EXPECT_EQ(disk.read_into_room((directory / "large").string(), room), 0);
  EXPECT_EQ(room.text(), large);
  const std::size_t room_size = room.bytes.size();
  EXPECT_EQ(disk.read_into_room((directory / "small").string(), room), 0);
  EXPECT_EQ(room.text(), "small");
  EXPECT_EQ(room.bytes.size(), room_size) << "the room is kept for the next file";
  EXPECT_EQ(disk.read_into_room((directory / "missing").string(), room), ENOENT);
  EXPECT_EQ(room.length, 0u);
}

std::size_t open_descriptor_count() {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                                std::filesystem::directory_iterator()));
}

// Files are opened relative to the directory of the file read before when
// they share it: files of one name in two directories, read in turn, are
// each their own, and the directory kept open is closed with the room's
// release.
TEST(ReadIntoRoomTest, FilesOfOneNameInTwoDirectoriesAreEachReadWhole) {
  TemporaryDirectory directory;
  std::filesystem::create_directories(directory / "a");
  std::filesystem::create_directories(directory / "a" / "a");
  write_file(directory / "a" / "x.adb", "first");
  write_file(directory / "a" / "a" / "x.adb", "second");
  write_file(directory / "x.adb", "third");
  const std::size_t descriptors = open_descriptor_count();
  RealDisk disk;
  FileRoom room;
  for (const char* relative : {"a/x.adb", "a/a/x.adb", "a/x.adb", "x.adb", "a/x.adb"}) {
    const std::filesystem::path path = directory / relative;
    ASSERT_EQ(disk.read_into_room(path.string(), room), 0) << relative;
    EXPECT_EQ(room.text(), testing::read_file(path)) << relative;
  }
  // A file gone from the kept directory fails as by its path.
  EXPECT_EQ(disk.read_into_room((directory / "a" / "gone.adb").string(), room), ENOENT);
  EXPECT_EQ(open_descriptor_count(), descriptors + 1) << "the room keeps its directory";
  room.release();
  EXPECT_EQ(open_descriptor_count(), descriptors);
}

// The room's quick read trusts a short read followed by the end; an empty
// read or a failed one must still be judged as any file is.
TEST(ReadIntoRoomTest, PipesAndDirectoriesAreRefusedAsByTheWholeFileRead) {
  TemporaryDirectory directory;
  const std::string fifo = (directory / "pipe.adb").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  RealDisk disk;
  FileRoom room;
  room.length = 99;
  EXPECT_EQ(disk.read_into_room(fifo, room), not_a_regular_file);
  EXPECT_EQ(room.length, 0u);
  EXPECT_EQ(disk.read_into_room(directory.path().string(), room), EISDIR);
  write_file(directory / "empty.adb", "");
  EXPECT_EQ(disk.read_into_room((directory / "empty.adb").string(), room), 0);
  EXPECT_EQ(room.length, 0u);
}

TEST(ReadWholeFileTest, FailuresReturnTheirErrnoAndLeaveTheTextAsItWas) {
  TemporaryDirectory directory;
  std::string text = "untouched";
  EXPECT_EQ(read_whole_file((directory / "missing.adb").string(), text), ENOENT);
  EXPECT_EQ(text, "untouched");

  EXPECT_EQ(read_whole_file(directory.path().string(), text), EISDIR);
  EXPECT_EQ(text, "untouched");

  EXPECT_EQ(read_whole_file("", text), ENOENT);
  EXPECT_EQ(text, "untouched");

  write_file(directory / "secret.adb", "procedure Secret is begin null; end;");
  std::filesystem::permissions(directory / "secret.adb", std::filesystem::perms::none);
  if (::geteuid() != 0) {
    EXPECT_EQ(read_whole_file((directory / "secret.adb").string(), text), EACCES);
    EXPECT_EQ(text, "untouched");
  }
}

// A FIFO put where a source was (after the walk looked) has no writer: the
// read must refuse it at once rather than wait for one.
TEST(ReadWholeFileTest, AFifoIsRefusedWithoutWaitingForAWriter) {
  TemporaryDirectory directory;
  const std::string fifo = (directory / "pipe.adb").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string text = "untouched";
  EXPECT_EQ(read_whole_file(fifo, text), not_a_regular_file);
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(file_error_text(not_a_regular_file), "not a regular file");
  EXPECT_EQ(file_error_text(ENOENT), "No such file or directory");
}

}  // namespace
}  // namespace flawseek
