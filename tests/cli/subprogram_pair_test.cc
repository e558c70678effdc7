// A library subprogram with a specification of its own, checked with relaxed
// styles: the body of the pair gets the spellings its survey accepted, not
// an empty list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../support/log_messages.h"
#include "program_runner.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::run_program;
using testing::ScratchDirectory;

// The Bad Identifier lines of gnu output about `file`.
std::string spelling_findings(const std::string& out, const std::string& file) {
  std::string kept;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const bool in_file = line.starts_with(file + ":") || line.find("/" + file + ":") != std::string::npos;
    if (in_file && line.find("[style/bad-identifier]") != std::string::npos) {
      kept += line + "\n";
    }
  }
  return kept;
}

TEST(SubprogramPair, TheBodyOfALibrarySubprogramPairKeepsTheSpellingsItsSurveyAccepted) {
  ScratchDirectory scratch;
  const auto tree = scratch.copy_tree("relaxed");
  std::ofstream(tree / "src/pricing.ads") << "-->STYLE: TAVIK\n"
                                             "with Vendor_API;\n"
                                             "function Pricing (Node : Vendor_API.xmlNode) return Integer;\n";
  std::ofstream(tree / "src/pricing.adb") << "-->STYLE: TAVIK\n"
                                             "with Vendor_API;\n"
                                             "function Pricing (Node : Vendor_API.xmlNode) return Integer is\n"
                                             "begin\n"
                                             "   return Vendor_API.getPrice (Integer (Node));\n"
                                             "end Pricing;\n";
  const ProgramResult run = run_program(
      {"--relaxed-styles", "--reference-path", "specs/*", "--log", "trace.log", "--format", "gnu", "src"}, tree);
  ASSERT_EQ(run.status, 1) << run.err;
  std::vector<std::string> survey;
  bool in_pricing = false;
  for (const std::string& message : testing::log_messages(tree / "trace.log")) {
    if (message.starts_with("Tavik_Unit.Analyse (")) in_pricing = message.find("pricing.adb") != std::string::npos;
    if (in_pricing && message.starts_with("Irregular ")) survey.push_back(message);
  }
  EXPECT_EQ(survey, (std::vector<std::string>{"Irregular Specification Name => xmlNode",
                                              "Irregular Specification Name => getPrice",
                                              "Irregular Implementation Name => xmlNode",
                                              "Irregular Implementation Name => getPrice"}));
  EXPECT_EQ(spelling_findings(run.out, "pricing.adb"), "") << run.out;
  EXPECT_EQ(spelling_findings(run.out, "pricing.ads"), "") << run.out;

  // Without the vendor's specification the same names are findings, so the
  // silence above is the survey's doing.
  const ProgramResult strict = run_program({"--relaxed-styles", "--format", "gnu", "src"}, tree);
  EXPECT_NE(spelling_findings(strict.out, "pricing.adb"), "") << strict.out;
}

}  // namespace
}  // namespace flawseek
