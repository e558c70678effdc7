// Tests of the version and environment queries.
#include "platform/environment.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>

namespace flawseek {
namespace {

TEST(HexImageTest, FourDigitsHighByteFirst) {
  EXPECT_EQ(hex_image(0x0000), "0000");
  EXPECT_EQ(hex_image(0x00AB), "00AB");
  EXPECT_EQ(hex_image(0x1A2B), "1A2B");
  EXPECT_EQ(hex_image(0xF00D), "F00D");
  EXPECT_EQ(hex_image(0xFFFF), "FFFF");
  EXPECT_EQ(hex_image_32(0x0040F00Du), "0040F00D");
  EXPECT_EQ(hex_image_32(0xDEADBEEFu), "DEADBEEF");
}

TEST(ThreadImageTest, LowSixteenBitsOfTheKernelThreadId) {
  auto expected = [] {
    return hex_image(static_cast<std::uint16_t>(static_cast<unsigned long>(::syscall(SYS_gettid)) & 0xFFFF));
  };
  EXPECT_EQ(thread_image(), expected());
  std::string other_image;
  std::string other_expected;
  std::thread other([&] {
    other_image = thread_image();
    other_expected = expected();
  });
  other.join();
  EXPECT_EQ(other_image, other_expected);
  EXPECT_NE(other_image, thread_image());  // two live threads never share a tid
}

TEST(ProductTest, NameVersionAndCopyrightComeFromTheBuild) {
  EXPECT_EQ(product_name(), "Flawseek");
  EXPECT_TRUE(std::regex_match(std::string(product_version()), std::regex(R"(\d+\.\d+\.\d+.*)"))) << product_version();
  EXPECT_NE(legal_copyright().find("Copyright"), std::string_view::npos);
}

TEST(DateAndTimeImageTest, DateBlankTimeInTheUserLocale) {
  // The tests run with LC_ALL=C.UTF-8, whose formats are %m/%d/%y and %H:%M:%S.
  const char* all = std::getenv("LC_ALL");
  const std::string locale = all != nullptr ? all : "";
  if (locale != "C" && locale != "C.UTF-8" && locale != "POSIX") GTEST_SKIP() << "needs LC_ALL=C.UTF-8";
  std::tm time{};
  time.tm_year = 126;
  time.tm_mon = 11;
  time.tm_mday = 8;
  time.tm_hour = 21;
  time.tm_min = 5;
  time.tm_sec = 9;
  EXPECT_EQ(date_and_time_image(time), "12/08/26 21:05:09");
}

TEST(LocalTimeTest, IsNow) {
  std::time_t before = std::time(nullptr);
  std::tm now = local_time();
  std::time_t after = std::time(nullptr);
  std::time_t seen = std::mktime(&now);
  EXPECT_GE(seen, before);
  EXPECT_LE(seen, after);
}

TEST(IdlePriorityTest, EveryThreadDropsToNiceNineteen) {
  // In a child, so the test program keeps its priority.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::thread helper([] { ::sleep(1); });
    bool ok = set_idle_priority();
    errno = 0;
    int main_nice = ::getpriority(PRIO_PROCESS, 0);
    int later_nice = -100;
    std::thread later([&] { later_nice = ::getpriority(PRIO_PROCESS, 0); });
    later.join();
    helper.join();
    ::_exit(ok && main_nice == 19 && later_nice == 19 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(CurrentDirectoryTest, TheProcessDirectoryThenTheRootOnceItIsRemoved) {
  struct ReturnHome {
    std::filesystem::path home = std::filesystem::current_path();
    ~ReturnHome() { EXPECT_EQ(::chdir(home.c_str()), 0); }
  } return_home;
  std::string made = (std::filesystem::temp_directory_path() / "flawseek-cwd-XXXXXX").string();
  ASSERT_NE(::mkdtemp(made.data()), nullptr);
  ASSERT_EQ(::chdir(made.c_str()), 0);
  EXPECT_EQ(current_directory_text(), std::filesystem::canonical(made).string());
  ASSERT_EQ(::rmdir(made.c_str()), 0);
  EXPECT_EQ(current_directory_text(), "/");
}

}  // namespace
}  // namespace flawseek
