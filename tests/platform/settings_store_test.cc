// Tests of the settings store: defaults and write-back, the machine-wide
// fallback, value kinds and limits, damaged and read-only files, key paths,
// and concurrent writers in separate processes.
#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "../support/environment_variable.h"
#include "../support/file_text.h"
#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

using testing::EnvironmentVariable;
using testing::read_file;
using testing::TemporaryDirectory;
using testing::write_file;

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path user_file() const { return directory_ / "user" / "registry.json"; }
  std::filesystem::path machine_file() const { return directory_ / "machine" / "registry.json"; }
  SettingsFiles files() const { return {user_file(), machine_file()}; }

  std::unique_ptr<SettingsStore> make_store(bool is_service = false) const {
    auto store = std::make_unique<SettingsStore>(files(), is_service);
    store->initialize(Company::Brightmoor, "Flawseek");
    return store;
  }

  static nlohmann::json parse(const std::filesystem::path& file) { return nlohmann::json::parse(read_file(file)); }

  void write_json(const std::filesystem::path& file, const std::string& text) const {
    std::filesystem::create_directories(file.parent_path());
    write_file(file, text);
  }

  // The value under the application's Options key of a file, if any.
  static std::optional<nlohmann::json> option_in(const std::filesystem::path& file, const std::string& name) {
    if (!std::filesystem::exists(file)) return std::nullopt;
    nlohmann::json document = parse(file);
    const nlohmann::json::json_pointer pointer("/Software/Brightmoor/Flawseek/Options/" + name);
    if (!document.contains(pointer)) return std::nullopt;
    return document.at(pointer);
  }

  TemporaryDirectory directory_;
};

// ---------------------------------------------------------------------------
// Defaults, fallback, write-back

TEST_F(SettingsStoreTest, FirstReadWritesTheDefaultAndLaterReadsReturnTheStoredValue) {
  {
    auto store = make_store();
    store->open_application_key("\\Options");
    EXPECT_EQ(store->get_string("Search Root", "/home/me/src"), "/home/me/src");
    EXPECT_EQ(store->get_integer("Gnat Extensions", 1), 1);
  }
  EXPECT_EQ(option_in(user_file(), "Search Root"), nlohmann::json("/home/me/src"));
  EXPECT_EQ(option_in(user_file(), "Gnat Extensions"), nlohmann::json(1));

  // A later run (a new store) gets the stored values, not its own defaults.
  auto store = make_store();
  store->open_application_key("\\Options");
  EXPECT_EQ(store->get_string("Search Root", "/elsewhere"), "/home/me/src");
  EXPECT_EQ(store->get_integer("Gnat Extensions", 0), 1);
  EXPECT_FALSE(std::filesystem::exists(machine_file()));
}

TEST_F(SettingsStoreTest, MachineWideValueIsReturnedButNotCopiedToTheUser) {
  write_json(machine_file(),
             R"({"Software":{"Brightmoor":{"Flawseek":{"Options":{"Width":640,"Search Root":"/srv/ada"}}}}})");
  auto store = make_store();
  store->open_application_key("\\Options");
  EXPECT_EQ(store->get_integer("Width", 100), 640);
  EXPECT_EQ(store->get_string("Search Root", "/tmp"), "/srv/ada");
  EXPECT_FALSE(option_in(user_file(), "Width").has_value());
  EXPECT_FALSE(option_in(user_file(), "Search Root").has_value());
  // The user's key stays current for what follows.
  EXPECT_FALSE(store->root_is_local_machine());
  EXPECT_EQ(store->current_key_name(), "Software\\Brightmoor\\Flawseek\\Options");
  // A value the machine does not have either is written to the user's key.
  EXPECT_EQ(store->get_integer("Height", 480), 480);
  EXPECT_EQ(option_in(user_file(), "Height"), nlohmann::json(480));
  EXPECT_FALSE(option_in(machine_file(), "Height").has_value());
}

TEST_F(SettingsStoreTest, UserValueWinsOverMachineValue) {
  write_json(machine_file(), R"({"Software":{"Brightmoor":{"Flawseek":{"Options":{"Width":640}}}}})");
  auto store = make_store();
  store->open_application_key("\\Options");
  store->set_integer("Width", 800);
  EXPECT_EQ(store->get_integer("Width", 100), 800);
}

TEST_F(SettingsStoreTest, ServiceUsesTheMachineRootWithoutFallback) {
  auto store = make_store(/*is_service=*/true);
  EXPECT_EQ(store->default_root(), Root::LocalMachine);
  store->open_application_key("");
  EXPECT_TRUE(store->root_is_local_machine());
  EXPECT_EQ(store->get_string("Log", "/var/log/flawseek.log"), "/var/log/flawseek.log");
  nlohmann::json machine = parse(machine_file());
  EXPECT_EQ(machine["Software"]["Brightmoor"]["Flawseek"]["Log"], "/var/log/flawseek.log");
  EXPECT_FALSE(std::filesystem::exists(user_file()));
}

TEST_F(SettingsStoreTest, CompanyFolderNamesTheKeyPath) {
  auto store = std::make_unique<SettingsStore>(files(), false);
  EXPECT_THROW(store->open_application_key(), KeyCreationFailure);  // not initialised yet
  EXPECT_FALSE(std::filesystem::exists(user_file()));
  store->initialize(Company::Corvane, "Other");
  store->open_application_key("/Metrics");
  EXPECT_EQ(store->current_key_name(), "Software\\Corvane\\Other\\Metrics");
  store->set_integer("X-Position", -20);
  EXPECT_EQ(parse(user_file())["Software"]["Corvane"]["Other"]["Metrics"]["X-Position"], -20);
}

// ---------------------------------------------------------------------------
// Kinds and limits

TEST_F(SettingsStoreTest, WrongKindRaisesWrongTypeBothWays) {
  auto store = make_store();
  store->open_application_key("\\Options");
  store->set_integer("Number", 7);
  store->set_string("Text", "seven");
  EXPECT_EQ(store->value_kind("Number"), ValueKind::Integer);
  EXPECT_EQ(store->value_kind("Text"), ValueKind::String);
  EXPECT_THROW(store->get_string("Number"), WrongType);
  EXPECT_THROW(store->get_integer("Text"), WrongType);
  try {
    store->get_integer("Text");
  } catch (const WrongType& error) {
    EXPECT_STREQ(error.what(), "Windows.Registry.Wrong_Type");
  }
  // The read with default keeps the stored value of the other kind.
  EXPECT_EQ(store->get_integer("Text", 3), 3);
  EXPECT_EQ(store->get_string("Text"), "seven");
}

TEST_F(SettingsStoreTest, ValuesJsonCannotMapToAKindReadAsNone) {
  write_json(user_file(), R"({"Software":{"Brightmoor":{"Flawseek":{
      "Flag":true, "Real":1.5, "Big":2147483648, "Small":-2147483649, "Max":2147483647,
      "Min":-2147483648, "List":[1], "Nothing":null, "Sub":{}}}}})");
  auto store = make_store();
  store->open_application_key();
  for (const char* name : {"Flag", "Real", "Big", "Small", "List", "Nothing", "Sub", "Absent"}) {
    EXPECT_EQ(store->value_kind(name), ValueKind::None) << name;
    EXPECT_FALSE(store->exists(name)) << name;
  }
  EXPECT_EQ(store->get_integer("Max"), 2147483647);
  EXPECT_EQ(store->get_integer("Min"), -2147483647 - 1);
  EXPECT_THROW(store->get_integer("Big"), WrongType);
  EXPECT_THROW(store->get_string("Flag"), WrongType);
  EXPECT_THROW(store->get_string("Absent"), EntryNotFound);
  EXPECT_THROW(store->get_integer("Absent"), EntryNotFound);
}

TEST_F(SettingsStoreTest, StringsUpTo4096BytesAreKeptLongerOnesOverflow) {
  auto store = make_store();
  store->open_application_key();
  const std::string longest(4096, 'p');
  store->set_string("Path", longest);
  EXPECT_EQ(store->get_string("Path"), longest);
  EXPECT_THROW(store->set_string("Path", std::string(4097, 'q')), Overflow);
  EXPECT_EQ(store->get_string("Path"), longest);  // unchanged by the refused write

  // One written by hand reads as Overflow, and the read with default neither
  // returns it nor overwrites it.
  const std::string too_long(4097, 'r');
  write_json(user_file(), R"({"Software":{"Brightmoor":{"Flawseek":{"Path":")" + too_long + R"("}}}})");
  EXPECT_THROW(store->get_string("Path"), Overflow);
  EXPECT_EQ(store->get_string("Path", "/default"), "/default");
  EXPECT_EQ(parse(user_file())["Software"]["Brightmoor"]["Flawseek"]["Path"], too_long);
}

TEST_F(SettingsStoreTest, TextJsonCannotHoldIsRefusedAndTheFileIsKept) {
  auto store = make_store();
  store->open_application_key();
  store->set_string("Root", "/src");
  const std::string before = read_file(user_file());
  EXPECT_THROW(store->set_string("Root", "/caf\xE9"), EntryCreationFailure);  // Latin-1, not UTF-8
  EXPECT_EQ(read_file(user_file()), before);
  store->set_string("Root", "/caf\xC3\xA9");  // the UTF-8 spelling is fine
  EXPECT_EQ(store->get_string("Root"), "/caf\xC3\xA9");
}

// ---------------------------------------------------------------------------
// Keys

TEST_F(SettingsStoreTest, KeysOpenCreateCloseAndReopenByName) {
  auto store = make_store();
  EXPECT_FALSE(store->has_open_key());
  EXPECT_THROW(store->open_key("Software\\Brightmoor"), KeyNotFound);
  store->create_key("Software\\Brightmoor\\Flawseek\\Style");
  EXPECT_EQ(store->current_key_name(), "Software\\Brightmoor\\Flawseek\\Style");
  store->set_integer("Bad Keyword", 1);

  // A failed open leaves the current key as it was.
  EXPECT_THROW(store->open_key("Software\\Nobody"), KeyNotFound);
  EXPECT_EQ(store->current_key_name(), "Software\\Brightmoor\\Flawseek\\Style");

  // Save the key, switch root, come back: the value is there again.
  std::string saved = store->current_key_name();
  store->select_root(Root::LocalMachine);
  EXPECT_THROW(store->open_key(saved), KeyNotFound);
  store->select_root(Root::CurrentUser);
  store->open_key(saved);
  EXPECT_EQ(store->get_integer("Bad Keyword"), 1);

  // Either separator, and stray separators, name the same key.
  store->open_key("/Software/Brightmoor//Flawseek/Style/");
  EXPECT_EQ(store->get_integer("Bad Keyword"), 1);

  // The empty path is the root itself.
  store->open_key("");
  EXPECT_TRUE(store->has_open_key());
  EXPECT_EQ(store->current_key_name(), "");
  EXPECT_EQ(store->value_kind("Bad Keyword"), ValueKind::None);

  store->close();
  EXPECT_FALSE(store->has_open_key());
  EXPECT_THROW(store->get_integer("Bad Keyword"), EntryNotFound);
  EXPECT_THROW(store->set_integer("Bad Keyword", 0), EntryCreationFailure);
  EXPECT_EQ(store->value_kind("Bad Keyword"), ValueKind::None);
}

TEST_F(SettingsStoreTest, HandEditedNamesMatchWithoutRegardToCase) {
  write_json(user_file(), R"({"software":{"BRIGHTMOOR":{"flawseek":{"options":{"search root":"/hand"}}}}})");
  auto store = make_store();
  store->open_application_key("\\Options");
  EXPECT_EQ(store->get_string("Search Root"), "/hand");
  store->set_string("Search Root", "/tool");
  // The existing entry is replaced, not joined by a second spelling.
  nlohmann::json options = parse(user_file())["software"]["BRIGHTMOOR"]["flawseek"]["options"];
  EXPECT_EQ(options.size(), 1u);
  EXPECT_EQ(options["search root"], "/tool");
}

TEST_F(SettingsStoreTest, AValueInTheWayOfAKeyIsNeverReplaced) {
  write_json(user_file(), R"({"Software":{"Brightmoor":"not a key"}})");
  const std::string before = read_file(user_file());
  auto store = make_store();
  EXPECT_THROW(store->open_application_key(), KeyCreationFailure);
  EXPECT_THROW(store->create_key("Software\\Brightmoor\\Flawseek"), KeyCreationFailure);
  EXPECT_THROW(store->open_key("Software\\Brightmoor"), KeyNotFound);
  EXPECT_EQ(read_file(user_file()), before);
}

TEST_F(SettingsStoreTest, OtherValuesInTheFileSurviveAWrite) {
  write_json(user_file(), R"({"Other":{"Tool":"kept"},"Software":{"Brightmoor":{"Flawseek":{"Log":"/x"}}}})");
  auto store = make_store();
  store->open_application_key();
  store->set_integer("Log Limit", 10);
  nlohmann::json document = parse(user_file());
  EXPECT_EQ(document["Other"]["Tool"], "kept");
  EXPECT_EQ(document["Software"]["Brightmoor"]["Flawseek"]["Log"], "/x");
  EXPECT_EQ(document["Software"]["Brightmoor"]["Flawseek"]["Log Limit"], 10);
}

TEST_F(SettingsStoreTest, ARemovedValueIsGoneInEitherSpellingAndTheMachineWideOneServesAgain) {
  write_json(user_file(), R"({"Software":{"Brightmoor":{"Flawseek":{"editor":"vi %f","Log":"/x"}}}})");
  write_json(machine_file(), R"({"Software":{"Brightmoor":{"Flawseek":{"Editor":"site-editor %f"}}}})");
  auto store = make_store();
  store->open_application_key();
  store->remove_value("Editor");
  EXPECT_EQ(parse(user_file())["Software"]["Brightmoor"]["Flawseek"], nlohmann::json({{"Log", "/x"}}));
  EXPECT_EQ(store->value_kind("Editor"), ValueKind::None);
  EXPECT_EQ(store->get_string("Editor", "none"), "site-editor %f");
  store->remove_value("Editor");  // absent: nothing to do, nothing thrown
  ::chmod(user_file().c_str(), 0444);
  EXPECT_THROW(store->remove_value("Log"), EntryCreationFailure);
  EXPECT_EQ(parse(user_file())["Software"]["Brightmoor"]["Flawseek"]["Log"], "/x");
}

// ---------------------------------------------------------------------------
// Damaged and read-only files

TEST_F(SettingsStoreTest, CorruptFileIsMovedAsideReportedOnceAndDefaultsServe) {
  const std::string garbage = "{\"Software\": {\"Brightmoor\": ";  // cut off mid-write
  write_json(user_file(), garbage);
  auto store = make_store();
  store->open_application_key("\\Options");
  EXPECT_EQ(store->get_integer("Width", 500), 500);

  auto moved = testing::files_starting_with(user_file().parent_path(), "registry.json.corrupt-");
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(read_file(moved[0]), garbage);
  EXPECT_EQ(option_in(user_file(), "Width"), nlohmann::json(500));

  std::vector<std::string> warnings = store->take_warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(user_file().string()), std::string::npos);
  EXPECT_NE(warnings[0].find(moved[0].string()), std::string::npos);
  EXPECT_TRUE(store->take_warnings().empty());
}

TEST_F(SettingsStoreTest, JsonThatIsNotAnObjectCountsAsCorrupt) {
  write_json(user_file(), "[1, 2, 3]");
  auto store = make_store();
  std::vector<std::string> heard;
  store->set_warning_listener([&](const std::string& warning) { heard.push_back(warning); });
  store->open_application_key();
  EXPECT_EQ(heard.size(), 1u);
  EXPECT_EQ(testing::files_starting_with(user_file().parent_path(), "registry.json.corrupt-").size(), 1u);
  EXPECT_TRUE(store->take_warnings().empty());  // delivered, not queued
}

// Nesting that would overflow the stack, and an object so wide that reading
// it in order would take seconds, are refused like a corrupt file.
TEST_F(SettingsStoreTest, HostileNestingAndBreadthAreRefusedLikeACorruptFile) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "{\"k\":";
  deep += "1";
  for (int i = 0; i < 200000; ++i) deep += "}";
  std::string wide = "{";
  for (int i = 0; i < 40000; ++i) wide += (i == 0 ? "\"k" : ",\"k") + std::to_string(i) + "\":1";
  wide += "}";
  for (const std::string& hostile : {deep, wide}) {
    write_json(user_file(), hostile);
    for (const auto& moved : testing::files_starting_with(user_file().parent_path(), "registry.json.corrupt-")) {
      std::filesystem::remove(moved);
    }
    auto store = make_store();
    store->open_application_key();
    store->set_integer("Width", 5);
    EXPECT_EQ(store->get_integer("Width"), 5);
    auto moved = testing::files_starting_with(user_file().parent_path(), "registry.json.corrupt-");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(read_file(moved[0]).size(), hostile.size());
  }
}

TEST_F(SettingsStoreTest, UnreadableFileIsLeftAloneAndReported) {
  std::filesystem::create_directories(user_file());  // a directory cannot be read as a file
  auto store = make_store();
  EXPECT_TRUE(store->root_is_read_only(Root::CurrentUser));
  EXPECT_THROW(store->open_application_key(), KeyCreationFailure);
  store->select_root(Root::CurrentUser);
  EXPECT_THROW(store->open_key("Software"), KeyNotFound);
  EXPECT_TRUE(std::filesystem::is_directory(user_file()));
  std::vector<std::string> warnings = store->take_warnings();
  ASSERT_EQ(warnings.size(), 1u);  // once, however often the file is looked at
  EXPECT_NE(warnings[0].find("cannot be read"), std::string::npos);

  // A loop of links is no missing file: it is reported, not passed over.
  std::filesystem::remove(user_file());
  std::filesystem::create_symlink(user_file(), user_file());
  auto looped = make_store();
  EXPECT_THROW(looped->open_application_key(), KeyCreationFailure);
  warnings = looped->take_warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("cannot be read (Too many levels of symbolic links)"), std::string::npos) << warnings[0];
  EXPECT_TRUE(std::filesystem::is_symlink(user_file()));
}

TEST_F(SettingsStoreTest, AFileThatIsNotARegularFileIsNeitherReadNorMoved) {
  // A pipe (or /dev/null, named to run with defaults) would block the read or
  // be renamed aside as corrupt.
  std::filesystem::create_directories(user_file().parent_path());
  ASSERT_EQ(::mkfifo(user_file().c_str(), 0600), 0);
  auto store = make_store();
  EXPECT_TRUE(store->root_is_read_only(Root::CurrentUser));
  EXPECT_THROW(store->open_application_key(), KeyCreationFailure);
  EXPECT_TRUE(std::filesystem::is_fifo(user_file()));
  std::vector<std::string> warnings = store->take_warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(user_file().string()), std::string::npos);
}

TEST_F(SettingsStoreTest, QueuedWarningsReachALateListener) {
  write_json(machine_file(), "not json at all");
  auto store = make_store();
  store->open_application_key();
  EXPECT_EQ(store->get_integer("Width", 1), 1);  // the fallback reads the machine file
  std::vector<std::string> heard;
  store->set_warning_listener([&](const std::string& warning) { heard.push_back(warning); });
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_NE(heard[0].find(machine_file().string()), std::string::npos);
}

TEST_F(SettingsStoreTest, FileWithoutWriteBitsOpensReadOnly) {
  write_json(user_file(), R"({"Software":{"Brightmoor":{"Flawseek":{"Options":{"Width":700}}}}})");
  ::chmod(user_file().c_str(), 0444);
  const std::string before = read_file(user_file());
  auto store = make_store();
  EXPECT_TRUE(store->root_is_read_only(Root::CurrentUser));
  EXPECT_FALSE(store->root_is_read_only(Root::LocalMachine));  // missing: writable when made

  store->open_application_key("\\Options");  // exists: opens for reading
  EXPECT_EQ(store->get_integer("Width"), 700);
  EXPECT_THROW(store->set_integer("Width", 1), EntryCreationFailure);
  try {
    store->set_string("Root", "/x");
    ADD_FAILURE() << "a read-only file was written";
  } catch (const EntryCreationFailure& error) {
    EXPECT_STREQ(error.what(), "Windows.Registry.Entry_Creation_Failure");
  }
  // Defaults still serve; nothing is written back.
  EXPECT_EQ(store->get_integer("Height", 300), 300);
  EXPECT_THROW(store->open_application_key("\\Style"), KeyCreationFailure);
  EXPECT_EQ(read_file(user_file()), before);
}

TEST_F(SettingsStoreTest, ASymbolicLinkToTheFileStaysALinkAndItsTargetIsWritten) {
  // Settings kept elsewhere (a dotfiles checkout) and linked into place.
  const std::filesystem::path target = directory_ / "dotfiles" / "registry.json";
  write_json(target, R"({"Other":{"Kept":1}})");
  std::filesystem::create_directories(user_file().parent_path());
  std::filesystem::create_symlink(target, user_file());

  auto store = make_store();
  store->open_application_key("\\Options");
  store->set_integer("Width", 640);

  EXPECT_TRUE(std::filesystem::is_symlink(user_file()));
  EXPECT_EQ(option_in(target, "Width"), nlohmann::json(640));
  EXPECT_EQ(parse(target)["Other"]["Kept"], 1);
  EXPECT_FALSE(make_store()->root_is_read_only(Root::CurrentUser));
}

TEST_F(SettingsStoreTest, ReadOnlyStoreReadsButNeverWrites) {
  write_json(machine_file(), R"({"Software":{"Brightmoor":{"Flawseek":{"Options":{"Width":640}}}}})");
  auto store = make_store();
  store->set_read_only(true);
  EXPECT_TRUE(store->is_read_only());
  store->open_application_key("\\Options");  // missing: opened empty, not created
  EXPECT_EQ(store->get_integer("Width", 1), 640);
  EXPECT_EQ(store->get_integer("Height", 480), 480);
  EXPECT_THROW(store->set_integer("Height", 1), EntryCreationFailure);
  EXPECT_THROW(store->create_key("Software\\Other"), KeyCreationFailure);
  EXPECT_FALSE(std::filesystem::exists(user_file()));

  store->set_read_only(false);
  EXPECT_EQ(store->get_integer("Height", 480), 480);
  EXPECT_EQ(option_in(user_file(), "Height"), nlohmann::json(480));
}

TEST_F(SettingsStoreTest, UnwritableLocationRaisesCreationFailures) {
  // A regular file where the settings directory should be: nothing can be made.
  write_file(directory_ / "user", "in the way");
  auto store = make_store();
  EXPECT_THROW(store->open_application_key(), KeyCreationFailure);
  store->select_root(Root::CurrentUser);
  EXPECT_THROW(store->create_key("Software"), KeyCreationFailure);
  EXPECT_EQ(read_file(directory_ / "user"), "in the way");
}

// ---------------------------------------------------------------------------
// Several stores and processes

TEST_F(SettingsStoreTest, ReadsSeeWritesOfAnotherStore) {
  auto first = make_store();
  auto second = make_store();
  first->open_application_key();
  second->open_application_key();
  first->set_integer("Count", 1);
  EXPECT_EQ(second->get_integer("Count"), 1);
  second->set_integer("Count", 2);
  EXPECT_EQ(first->get_integer("Count"), 2);
  first->set_string("Name", "one");  // keeps the other store's value
  EXPECT_EQ(second->get_integer("Count"), 2);
  EXPECT_EQ(second->get_string("Name"), "one");
}

std::string race_name(char tag, int i) {
  char name[16];
  std::snprintf(name, sizeof name, "%c%d", tag, i);
  return name;
}

TEST_F(SettingsStoreTest, ConcurrentProcessesNeverLoseEachOthersValues) {
  constexpr int writes = 150;
  auto write_many = [&](char tag) {
    SettingsStore store(files(), false);
    store.initialize(Company::Brightmoor, "Flawseek");
    store.open_application_key("\\Race");
    for (int i = 0; i < writes; ++i) store.set_integer(race_name(tag, i), i);
  };
  auto store = make_store();
  store->open_application_key("\\Race");  // both children start from the same file

  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      int status = 0;
      try {
        write_many(c == 0 ? 'a' : 'b');
      } catch (...) {
        status = 1;
      }
      ::_exit(status);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  nlohmann::json race = parse(user_file())["Software"]["Brightmoor"]["Flawseek"]["Race"];
  EXPECT_EQ(race.size(), 2u * writes);
  for (int i = 0; i < writes; ++i) {
    EXPECT_EQ(race[race_name('a', i)], i);
    EXPECT_EQ(race[race_name('b', i)], i);
  }
  // No temporary or half-written files are left behind.
  EXPECT_TRUE(testing::files_starting_with(user_file().parent_path(), "registry.json.tmp").empty());
}

TEST_F(SettingsStoreTest, WritersThroughALinkAndThroughItsTargetShareOneLock) {
  constexpr int writes = 150;
  const std::filesystem::path target = directory_ / "dotfiles" / "registry.json";
  write_json(target, "{}");
  std::filesystem::create_directories(user_file().parent_path());
  std::filesystem::create_symlink(target, user_file());

  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      int status = 0;
      try {
        SettingsStore store({c == 0 ? user_file() : target, machine_file()}, false);
        store.initialize(Company::Brightmoor, "Flawseek");
        store.open_application_key("\\Race");
        for (int i = 0; i < writes; ++i) store.set_integer(race_name(c == 0 ? 'a' : 'b', i), i);
      } catch (...) {
        status = 1;
      }
      ::_exit(status);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(user_file()));
  nlohmann::json race = parse(target)["Software"]["Brightmoor"]["Flawseek"]["Race"];
  EXPECT_EQ(race.size(), 2u * writes);
}

// ---------------------------------------------------------------------------
// Where the files are

TEST(SettingsFilesTest, EnvironmentNamesTheFiles) {
  {
    EnvironmentVariable user("FLAWSEEK_USER_REGISTRY", "/a/user.json");
    EnvironmentVariable machine("FLAWSEEK_MACHINE_REGISTRY", "/b/machine.json");
    SettingsFiles files = settings_files_from_environment();
    EXPECT_EQ(files.user, "/a/user.json");
    EXPECT_EQ(files.machine, "/b/machine.json");
  }
  {
    EnvironmentVariable user("FLAWSEEK_USER_REGISTRY", nullptr);
    EnvironmentVariable machine("FLAWSEEK_MACHINE_REGISTRY", nullptr);
    EnvironmentVariable config_home("XDG_CONFIG_HOME", "/home/x/cfg");
    EnvironmentVariable config_dirs("XDG_CONFIG_DIRS", "/opt/etc:/etc/xdg");
    SettingsFiles files = settings_files_from_environment();
    EXPECT_EQ(files.user, "/home/x/cfg/flawseek/registry.json");
    EXPECT_EQ(files.machine, "/opt/etc/flawseek/registry.json");
  }
  {
    EnvironmentVariable user("FLAWSEEK_USER_REGISTRY", nullptr);
    EnvironmentVariable machine("FLAWSEEK_MACHINE_REGISTRY", nullptr);
    EnvironmentVariable config_home("XDG_CONFIG_HOME", "relative/ignored");
    EnvironmentVariable home("HOME", "/home/me");
    EnvironmentVariable config_dirs("XDG_CONFIG_DIRS", nullptr);
    SettingsFiles files = settings_files_from_environment();
    EXPECT_EQ(files.user, "/home/me/.config/flawseek/registry.json");
    EXPECT_EQ(files.machine, "/etc/xdg/flawseek/registry.json");
  }
}

TEST(SettingsFilesTest, AGraphicalSessionIsNeverAService) {
  EnvironmentVariable display("DISPLAY", ":0");
  EXPECT_FALSE(detect_is_service());
}

}  // namespace
}  // namespace flawseek
