// The search for a unit's specification: candidate names and their order,
// lookup without regard to letter case, "/*" subtrees, and nothing found.
#include "stylecheck/unit_survey/specification_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

class SpecificationSearchTest : public ::testing::Test {
 protected:
  std::string path(const std::string& relative) const { return (directory_.path() / relative).string(); }
  std::string file(const std::string& relative) const {
    std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
    std::ofstream(path(relative)) << "package P is end P;\n";
    return path(relative);
  }

  testing::TemporaryDirectory directory_{"specsearch"};
  SpecificationSearch search_;
};

TEST(SpecificationCandidates, ChildUnitsUseHyphensAndTheThreeSpecificationForms) {
  EXPECT_EQ(specification_candidates("Parent.Child.Leaf"),
            (std::vector<std::string>{"Parent-Child-Leaf.ads", "Parent-Child-Leaf_.ada", "Parent-Child-Leaf_.adq"}));
  EXPECT_EQ(split_directory_list(" /a ;;/b; ;"), (std::vector<std::string>{"/a", "/b"}));
  EXPECT_TRUE(split_directory_list("").empty());
}

TEST_F(SpecificationSearchTest, UnitNamesAreFoundWithoutRegardToCaseExactMatchFirst) {
  file("dir/parent-child_.ada");
  EXPECT_EQ(search_.find_in_directory(path("dir"), "Parent.Child"), path("dir/parent-child_.ada"));
  // An earlier form wins over a later one whatever their spelling.
  file("dir/PARENT-CHILD.ADS");
  EXPECT_EQ(search_.find_in_directory(path("dir"), "Parent.Child"), path("dir/PARENT-CHILD.ADS"));
  // The exact spelling wins over one that differs in case only; two that
  // differ only in case leave the choice open, so neither is taken and the
  // next form is.
  file("dir/Parent-Child.ads");
  EXPECT_EQ(search_.find_in_directory(path("dir"), "Parent.Child"), path("dir/Parent-Child.ads"));
  EXPECT_EQ(search_.find_in_directory(path("dir"), "parent.child"), path("dir/parent-child_.ada"));
  // A directory of the specification's name is no specification.
  std::filesystem::create_directories(path("dir/other.ads"));
  EXPECT_EQ(search_.find_in_directory(path("dir"), "Other"), "");
  EXPECT_EQ(search_.find_in_directory(path("missing"), "Other"), "");
}

TEST_F(SpecificationSearchTest, TheOwnDirectoryComesFirstThenTheEntriesInOrderSubtreesOnlyWithTheMark) {
  file("own/body.adb");
  file("flat/deeper/alpha.ads");
  file("tree/a/alpha.ads");
  file("tree/b/c/beta.ads");
  file("last/beta.ads");
  search_.set_reference_entries({path("flat"), path("tree") + "/*", path("last")});

  // "flat" is searched alone; "tree/*" covers tree/a and tree/b/c.
  EXPECT_EQ(search_.find("Alpha", path("own")), path("tree/a/alpha.ads"));
  EXPECT_EQ(search_.find("beta", path("own")), path("tree/b/c/beta.ads"));
  file("own/beta.ads");
  EXPECT_EQ(search_.find("Beta", path("own")), path("own/beta.ads"));
  EXPECT_EQ(search_.find("Gamma", path("own")), "");

  // A file added after a lookup is found by the next one.
  file("tree/b/gamma_.adq");
  EXPECT_EQ(search_.find("Gamma", path("own")), path("tree/b/gamma_.adq"));

  // Entries given for one lookup replace the reference entries.
  const std::vector<std::string> others{path("last")};
  EXPECT_EQ(search_.find("Alpha", path("own"), &others), "");
}

TEST_F(SpecificationSearchTest, ALinkBackUpTheSubtreeIsFollowedOnce) {
  file("tree/a/x.ads");
  std::filesystem::create_directory_symlink(path("tree"), path("tree/a/loop"));
  search_.set_reference_entries({path("tree") + "/*"});
  EXPECT_EQ(search_.find("Missing", path("tree/a")), "");
  EXPECT_EQ(search_.find("X", path("elsewhere")), path("tree/a/x.ads"));
}

}  // namespace
}  // namespace flawseek
