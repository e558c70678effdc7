// The unit survey on small trees: which irregular spellings a withed
// specification makes acceptable, the style command that makes a file count,
// TAVIK_UNIT.STOP in a withed specification, the unit kinds, and files the
// parser gives up on.
#include "stylecheck/unit_survey/tavik_unit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/temporary_directory.h"

namespace flawseek {
namespace {

using Names = std::vector<std::string>;

// A withed specification that does not follow the standard.
constexpr const char* vendor_spec =
    "package Vendor is\n"
    "   type xmlNode is new Integer;\n"
    "   function getPrice (Item : Integer) return Integer;\n"
    "   procedure setLimit (newLimit : Integer);\n"
    "end Vendor;\n";

class TavikUnitTest : public ::testing::Test {
 protected:
  std::string path(const std::string& relative) const { return (directory_.path() / relative).string(); }
  std::string file(const std::string& relative, const std::string& text) const {
    std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
    std::ofstream(path(relative)) << text;
    return path(relative);
  }

  testing::TemporaryDirectory directory_{"survey"};
  TavikUnit survey_;
};

TEST_F(TavikUnitTest, APairAcceptsWhatTheWithedSpecificationsDeclareAndNothingElse) {
  file("refs/lib/vendor.ads", vendor_spec);
  file("src/shop.ads",
       "-->STYLE: TAVIK\n"
       "with Vendor;\n"
       "package Shop is\n"
       "   function Total (Node : Vendor.xmlNode) return Integer;\n"
       "end Shop;\n");
  const std::string body = file("src/shop.adb",
                                "with Vendor;\n"
                                "package body Shop is\n"
                                "   badBefore : Integer := 0;\n"
                                "-->  style :  tavik_95   (any case; names before it do not count)\n"
                                "   function Total (Node : Vendor.xmlNode) return Integer is\n"
                                "      myCount : constant Integer := Vendor.getPrice (Integer (Node));\n"
                                "   begin\n"
                                "      return myCount + Vendor.getPrice (1);\n"
                                "   end Total;\n"
                                "end Shop;\n");
  survey_.set_reference_directories({path("refs") + "/*"});
  survey_.analyse(body);

  EXPECT_FALSE(survey_.needs_no_specification());
  EXPECT_EQ(survey_.specification_file(), path("src/shop.ads"));
  EXPECT_EQ(survey_.specification_spellings(), (Names{"xmlNode"}));
  // The body's list also holds what the specification accepted; myCount is
  // declared by no withed unit, setLimit is declared but never misspelt here.
  EXPECT_EQ(survey_.body_spellings(), (Names{"xmlNode", "getPrice"}));
  EXPECT_EQ(survey_.log_records(), (Names{"Tavik_Unit.Analyse (" + body + ", )"}));

  // Without the reference entry the vendor's specification is not found.
  survey_.set_reference_directories({});
  survey_.analyse(body);
  EXPECT_TRUE(survey_.specification_spellings().empty());
  EXPECT_TRUE(survey_.body_spellings().empty());
  // ... unless the path text names it.
  survey_.analyse(body, path("nothing") + ";;" + path("refs/lib"));
  EXPECT_EQ(survey_.body_spellings(), (Names{"xmlNode", "getPrice"}));
  EXPECT_EQ(survey_.log_records().front(), "Tavik_Unit.Analyse (" + body + ", " + path("nothing") + ";;" +
                                               path("refs/lib") + ")");
}

TEST_F(TavikUnitTest, OnlyAFileThatFollowsTheStandardGainsSpellings) {
  file("src/vendor.ads", vendor_spec);
  const std::string plain = file("src/plain.adb",
                                 "with Vendor;\n"
                                 "procedure Plain is\n"
                                 "   X : Vendor.xmlNode := 0;\n"
                                 "begin\n"
                                 "   null;\n"
                                 "end Plain;\n");
  survey_.analyse(plain);
  EXPECT_TRUE(survey_.is_subprogram_body());
  EXPECT_TRUE(survey_.needs_no_specification());
  EXPECT_TRUE(survey_.specification_spellings().empty());

  // NONE and BRIGHTMOOR select no standard the survey relaxes.
  const std::string brightmoor = file("src/bright.adb",
                                      "-->STYLE: BRIGHTMOOR\n"
                                      "with Vendor;\n"
                                      "procedure Bright (X : Vendor.xmlNode) is begin null; end Bright;\n");
  survey_.analyse(brightmoor);
  EXPECT_TRUE(survey_.specification_spellings().empty());

  const std::string tavik = file("src/tavik.adb",
                                 "-->STYLE: TAVIK\n"
                                 "with Vendor;\n"
                                 "procedure Tavik (X : Vendor.xmlNode) is begin null; end Tavik;\n");
  survey_.analyse(tavik);
  EXPECT_EQ(survey_.specification_spellings(), (Names{"xmlNode"}));
  // A library subprogram body is its own unit: checked as the body of a
  // pair, it needs the same spellings.
  EXPECT_EQ(survey_.body_spellings(), (Names{"xmlNode"}));
}

TEST_F(TavikUnitTest, AWithedSpecificationStopsAtItsFirstDeclarationAfterItsOwnStyleCommand) {
  file("src/half.ads",
       "package Half is\n"
       "   type xmlNode is new Integer;\n"
       "-->STYLE: TAVIK\n"
       "   function getPrice (Item : Integer) return Integer;\n"
       "end Half;\n");
  file("src/strict.ads",
       "-->STYLE: TAVIK_95\n"
       "package Strict is\n"
       "   mySetting : Integer;\n"
       "end Strict;\n");
  const std::string user = file("src/user.adb",
                                "-->STYLE: TAVIK\n"
                                "with Half, Strict;\n"
                                "procedure User is\n"
                                "   A : Half.xmlNode := Half.xmlNode (Half.getPrice (Strict.mySetting));\n"
                                "begin\n"
                                "   null;\n"
                                "end User;\n");
  survey_.analyse(user);
  // TAVIK_UNIT.STOP ended both withed parses quietly: what Half declared
  // before its command counts, nothing after it, nothing of Strict.
  EXPECT_EQ(survey_.specification_spellings(), (Names{"xmlNode"}));
}

TEST_F(TavikUnitTest, FilesTheParserGivesUpOnYieldWhatWasReadBeforeAndNeverStopTheSurvey) {
  file("src/vendor.ads", vendor_spec);
  // A syntax error in the surveyed file: the names before it still count.
  const std::string broken = file("src/broken.adb",
                                  "-->STYLE: TAVIK\n"
                                  "with Vendor;\n"
                                  "procedure Broken (N : Vendor.xmlNode) is\n"
                                  "begin\n"
                                  "   if then Vendor.getPrice;\n"
                                  "end Broken;\n");
  survey_.analyse(broken);
  EXPECT_EQ(survey_.specification_spellings(), (Names{"xmlNode"}));

  // A withed specification that breaks off, or holds a line too long to
  // scan, gives what it declared before; a missing file nothing.
  file("src/cut.ads", "package Cut is\n   type xmlNode is new Integer;\n   function getPrice (\n");
  file("src/long.ads", "package Long is\n   type xmlNode is new Integer;\n   Y : Integer;\n   X : String := \"" +
                           std::string(500, 'x') + "\";\n   function getPrice return Integer;\nend Long;\n");
  for (const char* unit : {"Cut", "Long"}) {
    const std::string user = file(std::string("src/user_") + unit + ".adb",
                                  std::string("-->STYLE: TAVIK\nwith Missing, ") + unit +
                                      ";\nprocedure User is\n   A : Integer := getPrice (xmlNode'(1));\n"
                                      "begin\n   null;\nend User;\n");
    survey_.analyse(user);
    EXPECT_EQ(survey_.specification_spellings(), (Names{"xmlNode"})) << unit;
  }

  // A file that cannot be read is surveyed as empty.
  survey_.analyse(path("src/nowhere.adb"));
  EXPECT_TRUE(survey_.specification_spellings().empty());
  EXPECT_TRUE(survey_.body_spellings().empty());
}

TEST_F(TavikUnitTest, TheSurveyReadsAtTheJobsLanguageLevel) {
  // "interface" is a name in Ada 95 and a reserved word from Ada 2005 on: read
  // at a later level the specification breaks off before its irregular name.
  file("src/vendor.ads",
       "package Vendor is\n   interface : Integer := 0;\n   type xmlNode is new Integer;\nend Vendor;\n");
  const std::string user =
      file("src/user.adb", "-->STYLE: TAVIK\nwith Vendor;\nprocedure User (N : Vendor.xmlNode) is\nbegin\n   null;\nend User;\n");
  for (auto [version, spellings] : {std::pair{AdaVersion::ADA_2012, Names{}},
                                    std::pair{AdaVersion::ADA_95, Names{"xmlNode"}}}) {
    survey_.set_ada_version(version);
    survey_.analyse(user);
    EXPECT_EQ(survey_.specification_spellings(), spellings) << image(version);
  }
}

TEST(TavikUnitNames, OnlyTheExtensionAdqAdmitsEmbeddedSql) {
  EXPECT_TRUE(TavikUnit::is_adq("/src/p_.adq"));
  EXPECT_FALSE(TavikUnit::is_adq("/src/p_.ADQ"));
  EXPECT_FALSE(TavikUnit::is_adq("/src.adq/p_ada"));
  EXPECT_FALSE(TavikUnit::is_adq("/src/p.ada"));
}

}  // namespace
}  // namespace flawseek
