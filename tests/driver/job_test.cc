// The job against real settings files in a temporary directory: loading,
// saving, extended style mode, rule books and the one-run settings.
#include "driver/job.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../support/environment_variable.h"
#include "../support/file_text.h"
#include "../support/temporary_directory.h"
#include "fake_job_controls.h"
#include "platform/label.h"
#include "platform/settings_store.h"

namespace flawseek {
namespace {

using testing::FakeJobControls;
using Json = nlohmann::ordered_json;

std::string kind_label(StyleKind kind) { return label(image(kind)); }

class JobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(directory_.path().empty());
    store_ = make_store();
  }

  static std::unique_ptr<SettingsStore> make_store() {
    auto store = std::make_unique<SettingsStore>(settings_files_from_environment(), false);
    store->initialize(Company::Brightmoor, "Flawseek");
    return store;
  }

  // The machine-wide file positioned at one of our keys, as an administrator
  // would have filled it.
  static std::unique_ptr<SettingsStore> machine_key(std::string_view key) {
    auto machine = make_store();
    machine->select_root(Root::LocalMachine);
    machine->create_key("Software\\Brightmoor\\Flawseek\\" + std::string(key));
    return machine;
  }

  // Values written before the job starts, as an earlier session would have.
  void seed_integer(std::string_view key, std::string_view name, std::int32_t value) {
    auto seeder = make_store();
    seeder->open_application_key(key);
    seeder->set_integer(name, value);
  }
  void seed_string(std::string_view key, std::string_view name, std::string_view value) {
    auto seeder = make_store();
    seeder->open_application_key(key);
    seeder->set_string(name, value);
  }

  // The application key as the user's file holds it now.
  Json application_key() const {
    std::ifstream in(user_file_);
    if (!in) return Json::object();
    Json document = Json::parse(in, nullptr, false);
    const Json* key = &document;
    for (const char* word : {"Software", "Brightmoor", "Flawseek"}) {
      if (!key->is_object() || !key->contains(word)) return Json::object();
      key = &(*key)[word];
    }
    return *key;
  }
  std::optional<Json> stored(const std::string& key, const std::string& name) const {
    Json application = application_key();
    const Json* holder = &application;
    if (!key.empty()) {
      if (!application.contains(key)) return std::nullopt;
      holder = &application[key];
    }
    if (!holder->contains(name)) return std::nullopt;
    return (*holder)[name];
  }
  std::vector<std::string> names_in(const std::string& key) const {
    std::vector<std::string> names;
    Json application = application_key();
    const Json& holder = key.empty() ? application : application[key];
    for (auto it = holder.begin(); it != holder.end(); ++it) {
      if (!it.value().is_object()) names.push_back(it.key());
    }
    return names;
  }
  std::string file_text() const { return testing::read_file(user_file_); }

  testing::TemporaryDirectory directory_{"job"};
  const std::filesystem::path user_file_ = directory_ / "user" / "registry.json";
  const std::filesystem::path machine_file_ = directory_ / "machine" / "registry.json";
  testing::EnvironmentVariable user_variable_{"FLAWSEEK_USER_REGISTRY", user_file_.c_str()};
  testing::EnvironmentVariable machine_variable_{"FLAWSEEK_MACHINE_REGISTRY", machine_file_.c_str()};
  std::unique_ptr<SettingsStore> store_;
  FakeJobControls controls_;
};

// ---- Loading --------------------------------------------------------------------

TEST_F(JobTest, FreshStoreGivesTheInitialJob) {
  Job job(controls_, store_.get());
  job.load_job();

  EXPECT_EQ(job.search_root(), std::filesystem::current_path().string());
  for (int position = 0; position < option_count; ++position) {
    const auto option = static_cast<Option>(position);
    EXPECT_EQ(job.option_is_set(option), option == Option::SEARCH_SUBFOLDERS) << image(option);
  }
  EXPECT_EQ(job.current_style_set(), StyleSet::USER);
  for (int position = 0; position < style_kind_count; ++position) {
    EXPECT_FALSE(job.style_kind_enabled(static_cast<StyleKind>(position)));
  }
  EXPECT_FALSE(job.extended_style_mode());
  EXPECT_FALSE(job.has_reference_path_field());
  EXPECT_FALSE(job.list_unchecked_style_available());
  EXPECT_FALSE(controls_.has_option_item(Option::RELAXED_STYLES));
  EXPECT_TRUE(controls_.has_option_item(Option::SEARCH_SUBFOLDERS));
  EXPECT_TRUE(controls_.has_style_kind_item(StyleKind::SUPERFLUOUS_CODE_MARK));
  EXPECT_FALSE(controls_.has_style_kind_item(StyleKind::LINE_TOO_LONG));
  EXPECT_FALSE(controls_.has_style_set_items());

  job.save_job();
  EXPECT_FALSE(stored("", "Reference Path"));
  EXPECT_FALSE(stored("Options", "Default Rule Book"));
  EXPECT_FALSE(stored("Options", "Relaxed Styles"));
  EXPECT_FALSE(stored("Options", "List Unchecked Style"));
  EXPECT_EQ(stored("Options", "Search Subfolders"), Json(1));
  EXPECT_EQ(stored("", "Search Root"), Json(std::filesystem::current_path().string()));
}

TEST_F(JobTest, StoredValuesAreReadUnderTheirLabels) {
  seed_string("", "Search Root", "/srv/ada/src");
  seed_integer("\\Options", "Search Subfolders", 0);
  seed_integer("\\Options", "Gnat Extensions", 5);  // any non-zero integer is True
  seed_integer("\\Style", "No Goto Statements", 1);
  seed_integer("\\Style", "Line Too Long", 1);  // an extended kind: not read outside extended mode
  Job job(controls_, store_.get());
  job.load_job();

  EXPECT_EQ(job.search_root(), "/srv/ada/src");
  EXPECT_FALSE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_TRUE(job.option_is_set(Option::GNAT_EXTENSIONS));
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_TRUE(controls_.style_kind_mark(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::LINE_TOO_LONG));
}

TEST_F(JobTest, MachineWideValuesServeAFreshUser) {
  auto machine = machine_key("Options");
  machine->set_integer("Preparation Phase", 1);
  Job job(controls_, store_.get());
  job.load_job();
  EXPECT_TRUE(job.option_is_set(Option::PREPARATION_PHASE));
}

TEST_F(JobTest, DefaultRuleBookSwitchesExtendedModeOnAndSelectsTheSet) {
  struct Case {
    std::int32_t stored;
    StyleSet expected;
  };
  for (const Case& c : {Case{3, StyleSet::TAVIK}, Case{9, StyleSet::USER}, Case{-1, StyleSet::USER},
                        Case{0, StyleSet::NONE}, Case{4, StyleSet::TAVIK_95}}) {
    std::filesystem::remove(user_file_);
    seed_integer("\\Options", "Default Rule Book", c.stored);
    auto store = make_store();
    FakeJobControls controls;
    Job job(controls, store.get());
    job.load_job();
    EXPECT_TRUE(job.extended_style_mode()) << c.stored;
    EXPECT_EQ(job.current_style_set(), c.expected) << c.stored;
    EXPECT_TRUE(controls.style_set_marked(c.expected)) << c.stored;
    EXPECT_TRUE(controls.has_option_item(Option::RELAXED_STYLES));
    EXPECT_TRUE(controls.has_style_kind_item(StyleKind::WRONG_MODE));
    // The load saves the job: an out-of-range book is stored back as the one in use.
    EXPECT_EQ(stored("Options", "Default Rule Book"), Json(static_cast<int>(c.expected))) << c.stored;
  }
}

TEST_F(JobTest, TavikSelectsAndGreysEveryKindButTheMarkKind) {
  seed_integer("\\Options", "Default Rule Book", 3);
  Job job(controls_, store_.get());
  job.load_job();
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    if (kind == StyleKind::SUPERFLUOUS_CODE_MARK) {
      EXPECT_FALSE(job.style_kind_enabled(kind));
      EXPECT_TRUE(controls_.style_kind_item_enabled(kind));
      continue;
    }
    EXPECT_TRUE(job.style_kind_enabled(kind)) << image(kind);
    EXPECT_TRUE(controls_.style_kind_mark(kind)) << image(kind);
    EXPECT_FALSE(controls_.style_kind_item_enabled(kind)) << image(kind);
  }
}

TEST_F(JobTest, ListUncheckedStyleValueSwitchesExtendedModeOnWithUser) {
  seed_integer("\\Options", "List Unchecked Style", 0);
  Job job(controls_, store_.get());
  job.load_job();
  EXPECT_TRUE(job.list_unchecked_style_available());
  EXPECT_FALSE(job.list_unchecked_style());
  EXPECT_TRUE(controls_.has_list_unchecked_style_item());
  EXPECT_TRUE(job.extended_style_mode());
  EXPECT_EQ(job.current_style_set(), StyleSet::USER);
}

TEST_F(JobTest, ExtendedModeReadsRelaxedStylesReferencePathAndLaterKinds) {
  seed_integer("\\Options", "Default Rule Book", 2);
  seed_integer("\\Options", "Relaxed Styles", 1);
  seed_string("", "Reference Path", "/opt/specs/*;/usr/share/ada");
  seed_integer("\\Style", "Bad Prefix", 1);
  Job job(controls_, store_.get());
  job.load_job();
  EXPECT_TRUE(job.option_is_set(Option::RELAXED_STYLES));
  EXPECT_EQ(job.reference_path(), "/opt/specs/*;/usr/share/ada");
  EXPECT_TRUE(controls_.reference_path_visible());
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::BAD_PREFIX));
  EXPECT_EQ(controls_.count("create reference path shown"), 1);

  const StyleSelection selection = job.style_selection();
  EXPECT_TRUE(selection.extended_style_mode);
  EXPECT_TRUE(selection.relaxed_styles);
  EXPECT_EQ(selection.style_set, StyleSet::USER_95);
  EXPECT_TRUE(selection.is_selected(StyleKind::BAD_PREFIX));
}

TEST_F(JobTest, ExtendedModeIsEnteredOnlyOnce) {
  seed_integer("\\Options", "Default Rule Book", 1);
  Job job(controls_, store_.get());
  job.load_job();
  job.enter_extended_style_mode();
  job.enter_extended_style_mode();
  EXPECT_EQ(controls_.count("create sets"), 1);
  EXPECT_EQ(controls_.count("create option Relaxed Styles"), 1);
}

TEST_F(JobTest, BrokenSettingsFileLeavesTheInitialJob) {
  std::filesystem::create_directories(user_file_.parent_path());
  std::ofstream(user_file_) << "{ \"Software\": { \"Brightmoor\": [ broken";
  auto store = make_store();
  Job job(controls_, store.get());
  job.load_job();
  EXPECT_TRUE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_FALSE(job.extended_style_mode());
  // The broken file was kept aside, not overwritten.
  bool kept_aside = false;
  for (const auto& entry : std::filesystem::directory_iterator(user_file_.parent_path())) {
    kept_aside |= entry.path().filename().string().starts_with("registry.json.corrupt-");
  }
  EXPECT_TRUE(kept_aside);
}

// ---- Saving -----------------------------------------------------------------------

TEST_F(JobTest, SaveWritesInTheDocumentedOrder) {
  Job writer(controls_, store_.get());
  writer.set_style_set(StyleSet::USER_95);
  writer.set_list_unchecked_style(true);
  writer.set_search_root("/work/tree");
  // Entering extended mode read (and so stored) defaults; start from an empty
  // file so only the save's own writes are in it, in the order it made them.
  std::filesystem::remove(user_file_);
  writer.save_job();

  EXPECT_EQ(names_in(""), (std::vector<std::string>{"Search Root", "Reference Path"}));
  EXPECT_EQ(names_in("Options"),
            (std::vector<std::string>{"Gnat Extensions", "Preparation Phase", "Skip Read Only Files",
                                      "Search Subfolders", "Ada Version", "Relaxed Styles", "Default Rule Book",
                                      "List Unchecked Style"}));
  std::vector<std::string> kinds;
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    kinds.push_back(kind_label(static_cast<StyleKind>(position)));
  }
  EXPECT_EQ(names_in("Style"), kinds);
  // The keys themselves come in write order too.
  Json application = application_key();
  std::vector<std::string> keys;
  for (auto it = application.begin(); it != application.end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"Search Root", "Reference Path", "Options", "Style"}));
}

TEST_F(JobTest, OutsideExtendedModeOnlyTheBasicKindsAreWritten) {
  Job job(controls_, store_.get());
  job.load_job();
  job.toggle_style_kind(StyleKind::NO_PACKAGE_USE_CLAUSE);
  EXPECT_EQ(stored("Style", "No Package Use Clause"), Json(1));
  EXPECT_EQ(stored("Style", "Superfluous Code Mark"), Json(0));
  EXPECT_FALSE(stored("Style", "Line Too Long"));
  EXPECT_FALSE(stored("Style", "Wrong Mode"));
}

TEST_F(JobTest, TavikWritesNothingIntoStyleSoUserSelectionsSurvive) {
  seed_integer("\\Options", "Default Rule Book", 1);
  seed_integer("\\Style", "Bad Keyword", 1);
  Job job(controls_, store_.get());
  job.load_job();
  ASSERT_TRUE(job.style_kind_enabled(StyleKind::BAD_KEYWORD));

  job.select_style_set(StyleSet::TAVIK);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::LINE_TOO_LONG));
  EXPECT_EQ(stored("Style", "Bad Keyword"), Json(1));
  EXPECT_EQ(stored("Style", "Line Too Long"), Json(0));
  EXPECT_EQ(stored("Options", "Default Rule Book"), Json(3));
  EXPECT_FALSE(controls_.style_set_marked(StyleSet::USER));
  EXPECT_TRUE(controls_.style_set_marked(StyleSet::TAVIK));

  job.select_style_set(StyleSet::USER);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::BAD_KEYWORD));
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::LINE_TOO_LONG));
  EXPECT_TRUE(controls_.style_kind_item_enabled(StyleKind::LINE_TOO_LONG));
}

TEST_F(JobTest, NoneKeepsTheMarkKindAndGreysTheRest) {
  seed_integer("\\Options", "Default Rule Book", 1);
  seed_integer("\\Style", "Superfluous Code Mark", 1);
  seed_integer("\\Style", "No Goto Statements", 1);
  seed_integer("\\Style", "Wrong Mode", 1);
  Job job(controls_, store_.get());
  job.load_job();

  job.select_style_set(StyleSet::NONE);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::SUPERFLUOUS_CODE_MARK));
  EXPECT_TRUE(controls_.style_kind_item_enabled(StyleKind::SUPERFLUOUS_CODE_MARK));
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_FALSE(controls_.style_kind_mark(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_FALSE(controls_.style_kind_item_enabled(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::WRONG_MODE));
  EXPECT_FALSE(controls_.style_kind_item_enabled(StyleKind::WRONG_MODE));
  EXPECT_EQ(stored("Options", "Default Rule Book"), Json(0));
  // NONE writes nothing into "Style" either.
  EXPECT_EQ(stored("Style", "No Goto Statements"), Json(1));
}

TEST_F(JobTest, TogglesFlipTheMarkAndSave) {
  seed_integer("\\Options", "Default Rule Book", 1);
  Job job(controls_, store_.get());
  job.load_job();

  job.toggle_option(Option::SEARCH_SUBFOLDERS);
  EXPECT_FALSE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_FALSE(controls_.option_mark(Option::SEARCH_SUBFOLDERS));
  EXPECT_EQ(stored("Options", "Search Subfolders"), Json(0));

  job.toggle_option(Option::RELAXED_STYLES);
  EXPECT_TRUE(job.option_is_set(Option::RELAXED_STYLES));
  EXPECT_TRUE(controls_.reference_path_visible());
  EXPECT_EQ(stored("Options", "Relaxed Styles"), Json(1));
  job.toggle_option(Option::RELAXED_STYLES);
  EXPECT_FALSE(controls_.reference_path_visible());
  EXPECT_EQ(controls_.count("show reference path"), 1);
  EXPECT_EQ(controls_.count("hide reference path"), 1);

  job.toggle_style_kind(StyleKind::INCONSISTENT_PACKAGE_NAME);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::INCONSISTENT_PACKAGE_NAME));
  EXPECT_EQ(stored("Style", "Inconsistent Package Name"), Json(1));
  job.toggle_style_kind(StyleKind::INCONSISTENT_PACKAGE_NAME);
  EXPECT_EQ(stored("Style", "Inconsistent Package Name"), Json(0));

  // NO_STYLE_CHECKS has no switch.
  job.toggle_style_kind(StyleKind::NO_STYLE_CHECKS);
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::NO_STYLE_CHECKS));
}

TEST_F(JobTest, TheAdaVersionIsStoredAsItsTextAndAnyOtherValueReadsAsTheDefault) {
  Job job(controls_, store_.get());
  job.load_job();
  EXPECT_EQ(job.ada_version(), AdaVersion::ADA_2012);
  EXPECT_TRUE(controls_.has_ada_version_items());
  job.select_ada_version(AdaVersion::ADA_2005);
  EXPECT_EQ(stored("Options", "Ada Version"), Json("2005"));
  EXPECT_TRUE(controls_.ada_version_marked(AdaVersion::ADA_2005));
  EXPECT_FALSE(controls_.ada_version_marked(AdaVersion::ADA_2012));
  job.select_ada_version(static_cast<AdaVersion>(ada_version_count));  // no such item
  EXPECT_EQ(job.ada_version(), AdaVersion::ADA_2005);

  struct Case {
    Json value;
    AdaVersion read;
  };
  const Case cases[] = {{Json("2005"), AdaVersion::ADA_2005}, {Json("95"), AdaVersion::ADA_95},
                        {Json("2022"), AdaVersion::ADA_2022}, {Json("83"), AdaVersion::ADA_2012},
                        {Json("Ada 95"), AdaVersion::ADA_2012}, {Json(""), AdaVersion::ADA_2012},
                        {Json(1995), AdaVersion::ADA_2012}};
  for (const Case& c : cases) {
    std::filesystem::remove(user_file_);
    c.value.is_string() ? seed_string("\\Options", "Ada Version", c.value.get<std::string>())
                        : seed_integer("\\Options", "Ada Version", c.value.get<std::int32_t>());
    FakeJobControls controls;
    const auto store = make_store();
    Job reread(controls, store.get());
    reread.load_job();
    EXPECT_EQ(reread.ada_version(), c.read) << c.value;
    EXPECT_TRUE(controls.ada_version_marked(c.read)) << c.value;
  }
}

TEST_F(JobTest, TheToggleFollowsTheMarkTheWindowShows) {
  Job job(controls_, store_.get());
  job.load_job();
  // The window shows the item checked (say, restored from elsewhere): the
  // toggle takes the opposite of what the user sees.
  controls_.set_option_mark(Option::GNAT_EXTENSIONS, true);
  job.toggle_option(Option::GNAT_EXTENSIONS);
  EXPECT_FALSE(job.option_is_set(Option::GNAT_EXTENSIONS));
}

TEST_F(JobTest, AStyleCommandMakesListUncheckedStyleAvailableOnce) {
  Job job(controls_, store_.get());
  job.load_job();
  ASSERT_FALSE(job.extended_style_mode());

  job.note_style_command_seen();
  EXPECT_TRUE(job.list_unchecked_style_available());
  EXPECT_TRUE(job.list_unchecked_style());
  EXPECT_EQ(stored("Options", "List Unchecked Style"), Json(1));

  job.toggle_list_unchecked_style();
  EXPECT_FALSE(job.list_unchecked_style());
  EXPECT_EQ(stored("Options", "List Unchecked Style"), Json(0));
  job.note_style_command_seen();  // already available: the user's choice stands
  EXPECT_FALSE(job.list_unchecked_style());
  EXPECT_EQ(controls_.count("create list unchecked style"), 1);

  // After the search the job looks again, and now enters extended mode.
  job.enter_extended_style_mode();
  EXPECT_TRUE(job.extended_style_mode());
  EXPECT_EQ(job.current_style_set(), StyleSet::USER);
}

TEST_F(JobTest, AReadOnlySettingsFileKeepsTheChangeButReportsTheFailedSave) {
  Job job(controls_, store_.get());
  job.load_job();
  const std::string before = file_text();
  std::filesystem::permissions(user_file_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  EXPECT_THROW(job.toggle_option(Option::PREPARATION_PHASE), RegistryError);
  EXPECT_TRUE(job.option_is_set(Option::PREPARATION_PHASE));
  EXPECT_EQ(file_text(), before);
}

TEST_F(JobTest, AReadOnlyUserFileWithoutTheKeyStillGetsMachineWideValues) {
  auto machine = machine_key("Options");
  machine->set_integer("Preparation Phase", 1);
  machine->set_integer("Search Subfolders", 0);
  // The user's file holds other settings but no key of ours, and may not be written.
  std::filesystem::create_directories(user_file_.parent_path());
  testing::write_file(user_file_, "{\"Other\": {\"Kept\": 1}}\n");
  std::filesystem::permissions(user_file_, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const std::string before = file_text();

  Job job(controls_, store_.get());
  job.load_job();
  EXPECT_TRUE(job.option_is_set(Option::PREPARATION_PHASE));
  EXPECT_FALSE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_EQ(file_text(), before);
}

TEST_F(JobTest, AnUnsavableRootDoesNotCostTheOtherValues) {
  Job job(controls_, store_.get());
  job.load_job();
  job.set_search_root(std::string(SettingsStore::max_string_length + 1, 'x'));
  job.set_option(Option::GNAT_EXTENSIONS, true);
  EXPECT_THROW(job.save_job(), Overflow);
  EXPECT_EQ(stored("Options", "Gnat Extensions"), Json(1));
}

TEST_F(JobTest, ReadOnlyJobsNeverSave) {
  seed_integer("\\Options", "Default Rule Book", 1);
  auto store = make_store();
  Job job(controls_, store.get(), JobPersistence::ReadOnly);
  job.load_job();
  const std::string loaded = file_text();
  job.toggle_option(Option::GNAT_EXTENSIONS);
  job.select_style_set(StyleSet::TAVIK_95);
  job.set_style_kind(StyleKind::BAD_KEYWORD, true);
  job.save_job();
  EXPECT_EQ(file_text(), loaded);
  EXPECT_TRUE(job.option_is_set(Option::GNAT_EXTENSIONS));
}

TEST_F(JobTest, ReadOnlyJobsLeaveAFreshStoreWithoutFiles) {
  Job job(controls_, store_.get(), JobPersistence::ReadOnly);
  job.load_job();
  EXPECT_TRUE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_FALSE(std::filesystem::exists(user_file_));
  EXPECT_FALSE(std::filesystem::exists(machine_file_));
}

TEST_F(JobTest, ReadOnlyJobsReadUserValuesFirstThenMachineValues) {
  auto machine = machine_key("Options");
  machine->set_integer("Preparation Phase", 1);
  machine->set_integer("Gnat Extensions", 1);
  machine->set_integer("Default Rule Book", 4);
  seed_integer("\\Options", "Gnat Extensions", 0);
  seed_string("", "Search Root", "/from/user");
  const std::string user_before = file_text();

  Job job(controls_, store_.get(), JobPersistence::ReadOnly);
  job.load_job();
  EXPECT_EQ(job.search_root(), "/from/user");
  EXPECT_TRUE(job.option_is_set(Option::PREPARATION_PHASE));
  EXPECT_FALSE(job.option_is_set(Option::GNAT_EXTENSIONS));
  // "Default Rule Book" turns extended mode on only where the user keeps it.
  EXPECT_FALSE(job.extended_style_mode());
  EXPECT_EQ(file_text(), user_before);
}

TEST_F(JobTest, MachineWideKindsServeEveryKindWhenTheUserHasNoStyleKey) {
  auto machine = machine_key("Style");
  machine->set_integer(kind_label(StyleKind::NO_GOTO_STATEMENTS), 1);
  machine->set_integer(kind_label(StyleKind::LINE_TOO_LONG), 1);
  seed_integer("\\Options", "Default Rule Book", 1);

  for (JobPersistence persistence : {JobPersistence::ReadOnly, JobPersistence::ReadWrite}) {
    FakeJobControls controls;
    Job job(controls, store_.get(), persistence);
    job.load_job();
    ASSERT_TRUE(job.extended_style_mode());
    // A basic and an extended kind come from the same place.
    EXPECT_TRUE(job.style_kind_enabled(StyleKind::NO_GOTO_STATEMENTS));
    EXPECT_TRUE(job.style_kind_enabled(StyleKind::LINE_TOO_LONG));
    EXPECT_TRUE(controls.style_kind_mark(StyleKind::LINE_TOO_LONG));
    EXPECT_FALSE(job.style_kind_enabled(StyleKind::BAD_KEYWORD));
  }
}

TEST_F(JobTest, LookingUpMachineWideValuesLeavesNoMachineKeyOpenForLaterWrites) {
  auto machine = machine_key("Options");
  machine->set_integer("Preparation Phase", 1);
  const std::string machine_before = testing::read_file(machine_file_);

  Job job(controls_, store_.get(), JobPersistence::ReadOnly);
  job.load_job();
  ASSERT_TRUE(job.option_is_set(Option::PREPARATION_PHASE));
  // A write that forgets to open a key must fail, not land in the machine's file.
  EXPECT_THROW(store_->set_integer("Stray", 1), EntryCreationFailure);
  EXPECT_EQ(testing::read_file(machine_file_), machine_before);
}

// ---- Headless, for one run ------------------------------------------------------------

TEST(HeadlessJob, StartsWithTheInitialValues) {
  Job job;
  EXPECT_EQ(job.search_root(), std::filesystem::current_path().string());
  EXPECT_TRUE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
  EXPECT_FALSE(job.option_is_set(Option::RELAXED_STYLES));
  EXPECT_EQ(job.current_style_set(), StyleSet::USER);
  EXPECT_FALSE(job.extended_style_mode());
  EXPECT_EQ(job.reference_path(), "");
  job.save_job();  // no store: nothing to do, nothing thrown
  job.toggle_option(Option::SEARCH_SUBFOLDERS);
  EXPECT_FALSE(job.option_is_set(Option::SEARCH_SUBFOLDERS));
}

TEST(HeadlessJob, ExtendedKindsRulesBooksAndRelaxedStylesSwitchExtendedModeOn) {
  {
    Job job;
    job.set_style_kind(StyleKind::NO_GOTO_STATEMENTS, true);
    EXPECT_FALSE(job.extended_style_mode());
    job.set_style_kind(StyleKind::LINE_TOO_LONG, true);
    EXPECT_TRUE(job.extended_style_mode());
    EXPECT_TRUE(job.style_kind_enabled(StyleKind::LINE_TOO_LONG));
    EXPECT_TRUE(job.style_kind_enabled(StyleKind::NO_GOTO_STATEMENTS));
  }
  {
    Job job;
    job.set_option(Option::RELAXED_STYLES, true);
    EXPECT_TRUE(job.extended_style_mode());
    job.set_reference_path("/a;/b/*");
    EXPECT_EQ(job.reference_path(), "/a;/b/*");
  }
  {
    Job job;
    job.set_style_set(StyleSet::TAVIK_95);
    EXPECT_TRUE(job.extended_style_mode());
    EXPECT_EQ(job.current_style_set(), StyleSet::TAVIK_95);
    EXPECT_TRUE(job.style_kind_enabled(StyleKind::BAD_PREFIX));
  }
}

TEST(HeadlessJob, ReturningToUserRestoresTheUsersKindsWithoutAStore) {
  Job job;
  job.set_style_set(StyleSet::USER);
  job.set_style_kind(StyleKind::BAD_PRAGMA, true);
  job.set_style_set(StyleSet::TAVIK);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::WRONG_MODE));
  job.set_style_set(StyleSet::USER);
  EXPECT_TRUE(job.style_kind_enabled(StyleKind::BAD_PRAGMA));
  EXPECT_FALSE(job.style_kind_enabled(StyleKind::WRONG_MODE));
}

TEST(HeadlessJob, SelectionCarriesWhatTheStyleSideNeeds) {
  Job job;
  job.set_style_kind(StyleKind::NO_PACKAGE_USE_CLAUSE, true);
  job.set_style_kind(StyleKind::SUPERFLUOUS_CODE_MARK, true);
  StyleSelection selection = job.style_selection();
  EXPECT_FALSE(selection.extended_style_mode);
  EXPECT_TRUE(selection.is_selected(StyleKind::NO_PACKAGE_USE_CLAUSE));
  EXPECT_TRUE(selection.is_selected(StyleKind::SUPERFLUOUS_CODE_MARK));
  EXPECT_FALSE(selection.is_selected(StyleKind::NO_GOTO_STATEMENTS));
  EXPECT_EQ(selection.style_set, StyleSet::USER);
}

}  // namespace
}  // namespace flawseek
