// GNAT as an independent witness of the unused rules: each program below
// tests/fixtures/witness is checked unit by unit (specification and body as
// a pair) and compiled with "gcc -c -gnatc -gnat95 -gnatwu"; the unused
// units and declarations the two find must agree, but for the differences
// listed here with the reason each is accepted. Skipped without GNAT.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "bugcheck/bug_checker.h"
#include "check_test_support.h"

namespace flawseek {
namespace {

namespace fs = std::filesystem;
using testing_support::RecordingSink;
using testing_support::UnitFile;
using testing_support::UnitSettings;

// (file name, line, kind): both sides are compared by line, since GNAT
// points at a with'ed unit's last identifier and Flawseek at its first.
using Unused = std::tuple<std::string, std::int32_t, BugKind>;

struct AcceptedDifference {
  Unused finding;
  bool flawseek_only;
  const char* why;
};

const AcceptedDifference accepted_differences[] = {
    {{"logger.adb", 9, BugKind::UNUSED_DECLARATION}, false,
     "declared before a body stub: the subunit, checked on its own, may use it, so it is not judged"},
    {{"logger.adb", 2, BugKind::UNUSED_UNIT}, false,
     "a with of a body with a body stub: the subunit, checked on its own, may use it, so it is not judged"},
    {{"logger.ads", 1, BugKind::UNUSED_UNIT}, false,
     "GNAT says the with could move to the body; the body uses the unit, so the with is used"},
    {{"report.adb", 2, BugKind::UNUSED_UNIT}, false,
     "a use clause names the unit; without resolving names, what it makes visible may be used anywhere"},
};

std::string run(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 512> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) output += buffer.data();
  ::pclose(pipe);
  return output;
}

bool gnat_present() {
  std::string gnat1 = run("gcc -print-prog-name=gnat1 2>/dev/null");
  while (!gnat1.empty() && (gnat1.back() == '\n' || gnat1.back() == ' ')) gnat1.pop_back();
  return !gnat1.empty() && fs::path(gnat1).is_absolute() && fs::exists(gnat1);
}

// GNAT's "not referenced" warnings, by the kind Flawseek files them under.
std::set<Unused> gnat_findings(const fs::path& program, const fs::path& work) {
  static const std::regex warning(
      R"re(([^:\s]+):(\d+):\d+: warning: (?:(unit|procedure|function|package|variable|constant|type|subtype) "[^"]+" is not referenced|(no entities of) "))re");
  std::set<Unused> found;
  for (const auto& entry : fs::directory_iterator(program)) {
    if (entry.path().extension() != ".adb") continue;
    const std::string output = run("cd '" + work.string() + "' && gcc -c -gnatc -gnat95 -gnatwu -I'" +
                                   program.string() + "' '" + entry.path().string() + "' 2>&1");
    for (std::sregex_iterator it(output.begin(), output.end(), warning), end; it != end; ++it) {
      const std::string what = (*it)[3].matched ? (*it)[3].str() : (*it)[4].str();
      const bool declaration = what == "variable" || what == "constant" || what == "type" || what == "subtype";
      found.emplace(fs::path((*it)[1].str()).filename().string(), std::stoi((*it)[2].str()),
                    declaration ? BugKind::UNUSED_DECLARATION : BugKind::UNUSED_UNIT);
    }
  }
  return found;
}

std::set<Unused> flawseek_findings(const fs::path& program) {
  std::set<fs::path> stems;
  for (const auto& entry : fs::directory_iterator(program)) stems.insert(entry.path().parent_path() / entry.path().stem());
  RecordingSink sink;
  BugChecker checker;
  checker.start(0);
  UnitSettings settings;
  settings.scan.gnat_extensions = true;
  for (const fs::path& stem : stems) {
    std::vector<UnitFile> files;
    for (const char* extension : {".ads", ".adb"}) {
      fs::path file = stem;
      file += extension;
      if (fs::exists(file)) files.push_back({file.string(), false, {}});
    }
    testing_support::check_unit(checker, sink, files, settings);
  }
  std::set<Unused> found;
  for (const auto& finding : sink.findings) {
    for (BugKind kind : {BugKind::UNUSED_UNIT, BugKind::UNUSED_DECLARATION}) {
      if (finding.kind == FindingKind(kind)) found.emplace(fs::path(finding.file).filename().string(), finding.line, kind);
    }
  }
  return found;
}

TEST(GnatWitness, UnusedFindingsAgreeButForTheAcceptedDifferences) {
  if (!gnat_present()) GTEST_SKIP() << "GNAT is not installed";
  const fs::path root = fs::path(FLAWSEEK_FIXTURES) / "witness";
  const fs::path work = fs::temp_directory_path() / ("flawseek_witness_" + std::to_string(::getpid()));
  fs::create_directories(work);
  std::set<Unused> gnat;
  std::set<Unused> flawseek;
  int programs = 0;
  for (const auto& program : fs::directory_iterator(root)) {
    if (!program.is_directory()) continue;
    ++programs;
    for (const Unused& u : gnat_findings(program.path(), work)) gnat.insert(u);
    for (const Unused& u : flawseek_findings(program.path())) flawseek.insert(u);
  }
  fs::remove_all(work);
  ASSERT_GE(programs, 3);
  ASSERT_FALSE(gnat.empty()) << "GNAT reported nothing: the witness did not run";
  for (const AcceptedDifference& difference : accepted_differences) {
    const bool in_flawseek = flawseek.erase(difference.finding) > 0;
    const bool in_gnat = gnat.erase(difference.finding) > 0;
    // An accepted difference that no longer is one must leave the list.
    EXPECT_EQ(in_flawseek, difference.flawseek_only) << std::get<0>(difference.finding) << ":"
                                                     << std::get<1>(difference.finding) << " " << difference.why;
    EXPECT_EQ(in_gnat, !difference.flawseek_only) << std::get<0>(difference.finding) << ":"
                                                  << std::get<1>(difference.finding) << " " << difference.why;
  }
  for (const Unused& u : gnat) {
    EXPECT_TRUE(flawseek.count(u)) << "GNAT only: " << std::get<0>(u) << ":" << std::get<1>(u) << " "
                                   << FindingKind(std::get<2>(u)).label();
  }
  for (const Unused& u : flawseek) {
    EXPECT_TRUE(gnat.count(u)) << "Flawseek only: " << std::get<0>(u) << ":" << std::get<1>(u) << " "
                               << FindingKind(std::get<2>(u)).label();
  }
}

}  // namespace
}  // namespace flawseek
