// flawseek over the whole GNAT library corpus (Ada that GNAT accepts): a real
// tree must draw no syntax error and no internal error. Skips without GNAT.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "program_runner.h"

namespace flawseek {
namespace {

using testing::ProgramResult;
using testing::run_program;

TEST(CorpusEndToEnd, TheWholeTreeParsesWithoutSyntaxOrInternalErrors) {
  const std::filesystem::path corpus = FLAWSEEK_GNAT_CORPUS;
  if (!std::filesystem::exists(corpus / ".complete")) GTEST_SKIP() << "no GNAT corpus in " << corpus;

  const ProgramResult run = run_program({"-q", "--gnat-extensions", "--format", "csv", corpus.string()}, corpus);
  ASSERT_TRUE(run.status == 0 || run.status == 1) << run.status << "\n" << run.err;
  EXPECT_EQ(run.err, "");

  std::istringstream lines(run.out);
  std::string line;
  int bad = 0;
  std::string examples;
  while (std::getline(lines, line)) {
    if (line.find(",Syntax Error,") == std::string::npos && line.find(",Internal Error,") == std::string::npos) continue;
    if (++bad <= 20) examples += line + "\n";
  }
  EXPECT_EQ(bad, 0) << "the first of them:\n" << examples;
}

}  // namespace
}  // namespace flawseek
