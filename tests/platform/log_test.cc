// Tests of the log: record format, header, rotation and backup names, the
// settings that name the file and its limit, failures, and many writers.
#include "platform/log.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/environment.h"
#include "platform/settings_store.h"
#include "../support/file_text.h"
#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

using testing::read_file;
using testing::read_lines;
using testing::TemporaryDirectory;
using testing::write_file;

// One record line taken apart.
struct Record {
  double seconds = -1;
  std::string thread;
  std::string message;
};

Record parse_record(const std::string& line) {
  static const std::regex shape(R"(^(\d+\.\d{6}) \(([0-9A-F]{4})\) => (.*)$)");
  std::smatch parts;
  if (!std::regex_match(line, parts, shape)) {
    ADD_FAILURE() << "not a record line: \"" << line << "\"";
    return {};
  }
  return {std::stod(parts[1].str()), parts[2].str(), parts[3].str()};
}

std::vector<std::string> messages_of(const std::filesystem::path& file) {
  std::vector<std::string> messages;
  for (const std::string& line : read_lines(file)) messages.push_back(parse_record(line).message);
  return messages;
}

std::string version_line() { return std::string(product_name()) + " version " + std::string(product_version()); }

// ---------------------------------------------------------------------------
// Backup names

TEST(LogBackupNameTest, TwoGoesBeforeTheLastDotOfTheFileName) {
  EXPECT_EQ(log_backup_file_name("/tmp/run.log"), "/tmp/run_2.log");
  EXPECT_EQ(log_backup_file_name("/tmp/trace"), "/tmp/trace_2");
  EXPECT_EQ(log_backup_file_name("/tmp/archive.tar.gz"), "/tmp/archive.tar_2.gz");
  EXPECT_EQ(log_backup_file_name("/var/lib.d/trace"), "/var/lib.d/trace_2");
  EXPECT_EQ(log_backup_file_name("/var/lib.d/run.log"), "/var/lib.d/run_2.log");
  EXPECT_EQ(log_backup_file_name("run.log"), "run_2.log");
  EXPECT_EQ(log_backup_file_name(".log"), "_2.log");
  EXPECT_EQ(log_backup_file_name("trace."), "trace_2.");
}

// ---------------------------------------------------------------------------
// Records, header, rotation

class LogFileTest : public ::testing::Test {
 protected:
  TemporaryDirectory directory_;
};

TEST_F(LogFileTest, HeaderAndRecordsHaveTheDesignedShape) {
  const auto file = directory_ / "run.log";
  Log log;
  log.open(file, 0);
  ASSERT_TRUE(log.is_enabled());
  EXPECT_TRUE(log.warning().empty());
  log.put("Flawseek Started");
  log.put("two\nlines\r\n");
  EXPECT_EQ(log.record_count(), 4u);

  const std::string text = read_file(file);
  EXPECT_EQ(text.find('\r'), std::string::npos);  // Linux line ends
  ASSERT_EQ(text.back(), '\n');
  std::vector<std::string> lines = read_lines(file);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(parse_record(lines[0]).message, version_line());
  EXPECT_EQ(parse_record(lines[1]).message.rfind("Log created ", 0), 0u);
  EXPECT_GT(parse_record(lines[1]).message.size(), std::string("Log created ").size() + 3);
  EXPECT_EQ(parse_record(lines[2]).message, "Flawseek Started");
  EXPECT_EQ(parse_record(lines[3]).message, "two lines  ");  // still one record, one line
  Record record = parse_record(lines[2]);
  EXPECT_EQ(record.thread, thread_image());
  EXPECT_GE(record.seconds, 0.0);
  EXPECT_LT(record.seconds, 86401.0);
}

TEST_F(LogFileTest, LimitThreeRotatesOnTheSecondMessage) {
  const auto file = directory_ / "run.log";
  const auto backup = directory_ / "run_2.log";
  Log log;
  log.open(file, 3);
  EXPECT_EQ(log.backup_file_name(), backup);
  log.put("first");
  EXPECT_EQ(log.record_count(), 3u);
  EXPECT_FALSE(std::filesystem::exists(backup));
  log.put("second");
  EXPECT_EQ(log.record_count(), 3u);

  std::vector<std::string> old = messages_of(backup);
  ASSERT_EQ(old.size(), 3u);
  EXPECT_EQ(old[0], version_line());
  EXPECT_EQ(old[1].rfind("Log created ", 0), 0u);
  EXPECT_EQ(old[2], "first");
  EXPECT_EQ(messages_of(file), (std::vector<std::string>{
                                   "The log file reached it's maximum size of 3 records",
                                   "These records are now stored in the file " + backup.string(),
                                   "second",
                               }));

  // The next rotation replaces the backup: one generation only.
  log.put("third");
  EXPECT_EQ(messages_of(backup).back(), "second");
  EXPECT_EQ(messages_of(file).back(), "third");
  EXPECT_EQ(testing::files_starting_with(directory_.path(), "run").size(), 2u);
}

TEST_F(LogFileTest, LimitOneStillWritesEveryMessage) {
  const auto file = directory_ / "trace";
  Log log;
  log.open(file, 1);
  for (const char* message : {"a", "b", "c"}) log.put(message);
  EXPECT_EQ(messages_of(file).back(), "c");
  EXPECT_EQ(messages_of(directory_ / "trace_2").back(), "b");
}

TEST_F(LogFileTest, LimitZeroNeverRotatesNorTouchesABackup) {
  const auto file = directory_ / "run.log";
  write_file(directory_ / "run_2.log", "an older backup\n");
  write_file(file, "last run's records\n");
  Log log;
  log.open(file, 0);
  for (int i = 0; i < 50; ++i) log.put("message " + std::to_string(i));
  EXPECT_EQ(read_lines(file).size(), 52u);
  EXPECT_EQ(messages_of(file)[2], "message 0");  // truncated at open, not appended
  EXPECT_EQ(read_file(directory_ / "run_2.log"), "an older backup\n");
  EXPECT_TRUE(log.backup_file_name().empty());
}

TEST_F(LogFileTest, OpeningWithALimitDeletesAnOldBackup) {
  write_file(directory_ / "run_2.log", "stale\n");
  Log log;
  log.open(directory_ / "run.log", 100);
  EXPECT_FALSE(std::filesystem::exists(directory_ / "run_2.log"));
}

TEST_F(LogFileTest, RotationGoesOnWhenTheFileWasRemovedMeanwhile) {
  const auto file = directory_ / "run.log";
  Log log;
  log.open(file, 3);
  log.put("first");
  std::filesystem::remove(file);
  log.put("second");
  EXPECT_TRUE(log.is_enabled());
  EXPECT_EQ(messages_of(file).back(), "second");
  EXPECT_EQ(log.record_count(), 3u);
}

TEST_F(LogFileTest, RotationThatCannotMoveTheFileKeepsItsRecords) {
  const auto file = directory_ / "run.log";
  Log log;
  log.open(file, 3);
  log.put("first");
  // A directory holds the backup's name: the move fails, the file must not be truncated.
  std::filesystem::create_directory(directory_ / "run_2.log");
  write_file(directory_ / "run_2.log" / "keep", "x");
  log.put("second");
  log.put("third");
  const std::vector<std::string> kept = messages_of(file);
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0], version_line());
  EXPECT_EQ(kept[2], "first");
  EXPECT_FALSE(log.is_enabled());
  EXPECT_NE(log.warning().find((directory_ / "run_2.log").string()), std::string::npos);
}

TEST_F(LogFileTest, ALogThatIsNotARegularFileIsNeverMovedAside) {
  // Logging into a pipe or a device (/dev/null) must never rename it.
  const auto fifo = directory_ / "trace";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  write_file(directory_ / "trace_2", "unrelated\n");
  Log log;
  log.open(fifo, 3);
  for (const char* message : {"first", "second", "third"}) log.put(message);
  EXPECT_TRUE(log.is_enabled());
  EXPECT_EQ(log.record_count(), 5u);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(read_file(directory_ / "trace_2"), "unrelated\n");
  char buffer[4096];
  const ssize_t got = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  ASSERT_GT(got, 0);
  EXPECT_NE(std::string(buffer, static_cast<std::size_t>(got)).find("=> third"), std::string::npos);
}

TEST_F(LogFileTest, APipeWithoutReaderDisablesLoggingInsteadOfHanging) {
  const auto fifo = directory_ / "trace";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Log log;
  log.open(fifo, 3);
  EXPECT_FALSE(log.is_enabled());
  EXPECT_NE(log.warning().find(fifo.string()), std::string::npos);
}

TEST_F(LogFileTest, RotationThatCannotCreateTheFileDisablesLogging) {
  const auto subdirectory = directory_ / "logs";
  std::filesystem::create_directory(subdirectory);
  const auto file = subdirectory / "run.log";
  Log log;
  log.open(file, 3);
  log.put("first");
  // The directory is replaced by a file: neither move nor create can work.
  std::filesystem::remove_all(subdirectory);
  write_file(subdirectory, "not a directory");
  log.put("second");
  log.put("third");
  EXPECT_FALSE(log.is_enabled());
  EXPECT_NE(log.warning().find(file.string()), std::string::npos);
  EXPECT_EQ(read_file(subdirectory), "not a directory");
}

TEST_F(LogFileTest, ExceptionsAreLoggedWithTheirPlace) {
  const auto file = directory_ / "run.log";
  Log log;
  log.open(file, 0);
  log.put_exception("Control.Start", std::runtime_error("Windows.Registry.Key_Not_Found"));
  log.put_exception("Control.Save_As", std::runtime_error(""));
  log.put_exception("Control.Defect_Scan", std::make_exception_ptr(42));
  log.put_exception("Defect.Scan.Prepare exception", std::make_exception_ptr(std::logic_error("broken")));
  std::vector<std::string> messages = messages_of(file);
  ASSERT_EQ(messages.size(), 6u);
  EXPECT_EQ(messages[2], "Control.Start: Exception = Windows.Registry.Key_Not_Found");
  EXPECT_EQ(messages[3], "Control.Save_As: Unknown Exception");
  EXPECT_EQ(messages[4], "Control.Defect_Scan: Unknown Exception");
  EXPECT_EQ(messages[5], "Defect.Scan.Prepare exception: Exception = broken");
}

TEST_F(LogFileTest, UncreatableFileDisablesLoggingWithAWarning) {
  const auto file = directory_ / "missing-directory" / "run.log";
  Log log;
  log.open(file, 10);
  EXPECT_FALSE(log.is_enabled());
  EXPECT_NE(log.warning().find(file.string()), std::string::npos);
  log.put("goes nowhere");  // no crash, no file
  log.put_exception("Control.Start", std::runtime_error("x"));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(log.record_count(), 0u);
}

TEST_F(LogFileTest, DisabledLogWritesNothing) {
  Log log;
  EXPECT_FALSE(log.is_enabled());
  log.put("nothing");
  EXPECT_EQ(log.record_count(), 0u);
  EXPECT_TRUE(log.warning().empty());
}

TEST_F(LogFileTest, RecordsOfManyThreadsNeverInterleave) {
  const auto file = directory_ / "threads.log";
  constexpr int threads = 4;
  constexpr int each = 300;
  constexpr std::uint32_t limit = 250;  // rotations happen while threads write
  Log log;
  log.open(file, limit);
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t) {
    writers.emplace_back([&log, t] {
      for (int i = 0; i < each; ++i) log.put("writer " + std::to_string(t) + " message " + std::to_string(i));
    });
  }
  for (std::thread& writer : writers) writer.join();

  // Every line is whole, and each writer's messages keep their order.
  int last_seen[threads] = {-1, -1, -1, -1};
  int messages = 0;
  for (const auto& part : {directory_ / "threads_2.log", file}) {
    std::vector<std::string> lines = read_lines(part);
    EXPECT_LE(lines.size(), limit);
    for (const std::string& line : lines) {
      int writer = -1;
      int index = -1;
      if (std::sscanf(parse_record(line).message.c_str(), "writer %d message %d", &writer, &index) != 2) continue;
      ASSERT_TRUE(writer >= 0 && writer < threads) << line;
      EXPECT_GT(index, last_seen[writer]) << line;
      last_seen[writer] = index;
      ++messages;
    }
  }
  EXPECT_GT(messages, static_cast<int>(limit));  // both generations hold messages
  // The very last record is some writer's final message.
  EXPECT_TRUE(std::find(std::begin(last_seen), std::end(last_seen), each - 1) != std::end(last_seen));
  EXPECT_EQ(log.record_count(), static_cast<std::uint32_t>(read_lines(file).size()));
}

// ---------------------------------------------------------------------------
// Settings

class LogSettingsTest : public ::testing::Test {
 protected:
  LogSettingsTest() : store_({directory_ / "user.json", directory_ / "machine.json"}, false) {
    store_.initialize(Company::Brightmoor, "Flawseek");
  }

  void set(Root root, const std::string& name, const std::string& value) {
    store_.select_root(root);
    store_.create_key("Software\\Brightmoor\\Flawseek");
    store_.set_string(name, value);
  }
  void set(Root root, const std::string& name, std::int32_t value) {
    store_.select_root(root);
    store_.create_key("Software\\Brightmoor\\Flawseek");
    store_.set_integer(name, value);
  }

  TemporaryDirectory directory_;
  SettingsStore store_;
};

TEST_F(LogSettingsTest, TheUserRootNamesFileAndLimit) {
  const auto file = directory_ / "user.log";
  set(Root::CurrentUser, "Log", file.string());
  set(Root::CurrentUser, "Log Limit", 3);
  // The caller's place in the store: the machine root with a key of its own.
  set(Root::LocalMachine, "Unrelated", 1);
  store_.create_key("Software\\Brightmoor\\Flawseek\\Metrics");

  Log log;
  log.initialize(store_);
  EXPECT_TRUE(log.is_enabled());
  EXPECT_EQ(log.file_name(), file);
  EXPECT_EQ(log.limit(), 3u);
  log.put("first");
  log.put("second");
  EXPECT_EQ(messages_of(directory_ / "user_2.log").back(), "first");
  EXPECT_EQ(messages_of(file).back(), "second");

  EXPECT_TRUE(store_.root_is_local_machine());
  EXPECT_EQ(store_.current_key_name(), "Software\\Brightmoor\\Flawseek\\Metrics");
}

TEST_F(LogSettingsTest, MachineRootServesAnOrdinaryUser) {
  const auto file = directory_ / "machine.log";
  set(Root::LocalMachine, "Log", file.string());
  store_.select_root(Root::CurrentUser);
  store_.close();
  const std::string user_before = read_file(directory_ / "user.json");

  Log log;
  log.initialize(store_);
  EXPECT_TRUE(log.is_enabled());
  EXPECT_EQ(log.file_name(), file);
  EXPECT_EQ(log.limit(), Log::default_limit);  // absent: the default, not written back
  EXPECT_EQ(messages_of(file).front(), version_line());
  EXPECT_EQ(read_file(directory_ / "user.json"), user_before);
  // Restored: the user root, no key open.
  EXPECT_FALSE(store_.root_is_local_machine());
  EXPECT_FALSE(store_.has_open_key());
  store_.select_root(Root::LocalMachine);
  store_.open_key("Software\\Brightmoor\\Flawseek");
  EXPECT_FALSE(store_.exists("Log Limit"));
}

TEST_F(LogSettingsTest, NoLogValueMeansNoLoggingAndNoWarning) {
  set(Root::CurrentUser, "Search Root", "/src");
  Log log;
  log.initialize(store_);
  EXPECT_FALSE(log.is_enabled());
  EXPECT_TRUE(log.warning().empty());
  EXPECT_FALSE(store_.root_is_local_machine());
  EXPECT_EQ(store_.current_key_name(), "Software\\Brightmoor\\Flawseek");
  // The key was only opened: the user root gained nothing.
  EXPECT_EQ(read_file(directory_ / "user.json").find("Log"), std::string::npos);
}

TEST_F(LogSettingsTest, LimitZeroAndNegativeLimits) {
  const auto file = directory_ / "zero.log";
  set(Root::CurrentUser, "Log", file.string());
  set(Root::CurrentUser, "Log Limit", 0);
  {
    Log log;
    log.initialize(store_);
    EXPECT_EQ(log.limit(), 0u);
  }
  set(Root::CurrentUser, "Log Limit", -5);
  Log log;
  log.initialize(store_);
  EXPECT_EQ(log.limit(), Log::default_limit);
}

TEST_F(LogSettingsTest, UncreatableLogFromSettingsWarnsAndGoesOn) {
  set(Root::CurrentUser, "Log", (directory_ / "no" / "such" / "dir.log").string());
  Log log;
  log.initialize(store_);
  EXPECT_FALSE(log.is_enabled());
  EXPECT_FALSE(log.warning().empty());
  // The store is usable afterwards.
  EXPECT_EQ(store_.get_string("Log").substr(0, directory_.path().string().size()), directory_.path().string());
}

TEST_F(LogSettingsTest, SettingsWarningsAreLogged) {
  const auto file = directory_ / "warnings.log";
  write_file(directory_ / "machine.json", "{ broken");
  set(Root::CurrentUser, "Log", file.string());
  Log log;
  log.initialize(store_);  // the machine file is read for "Log Limit" and found broken
  std::vector<std::string> messages = messages_of(file);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_NE(messages[2].find("machine.json is not a valid settings file"), std::string::npos);

  // Later warnings arrive as they are found.
  write_file(directory_ / "user.json", "][");
  store_.select_root(Root::CurrentUser);
  EXPECT_THROW(store_.open_key("Software"), KeyNotFound);
  messages = messages_of(file);
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_NE(messages[3].find("user.json is not a valid settings file"), std::string::npos);
}

}  // namespace
}  // namespace flawseek
