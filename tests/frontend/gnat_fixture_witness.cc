// GNAT as the standing witness of the syntax fixtures: its syntax check accepts
// every accepted fixture and rejects every rejected one, except the cases
// marked as decided against it, where it must still disagree (so a changed
// GNAT or a changed fixture is noticed). Skips without GNAT.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "gnat_syntax_check.h"
#include "syntax_fixtures.h"

namespace flawseek {
namespace {

using namespace testing_support;

TEST(GnatWitness, AgreesWithEverySyntaxFixture) {
  ScratchDirectory scratch;
  if (!gnat_available(scratch)) GTEST_SKIP() << "no GNAT (" << gnat_gcc() << " -gnats)";
  const std::vector<SyntaxFixture> fixtures = syntax_fixtures(FLAWSEEK_FIXTURES "/syntax");
  ASSERT_FALSE(fixtures.empty());
  // GNAT checks each fixture at the fixture's own level.
  std::vector<GnatVerdict> verdicts(fixtures.size());
  for (int v = 0; v < ada_version_count; ++v) {
    const auto version = static_cast<AdaVersion>(v);
    std::vector<std::string> names;
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < fixtures.size(); ++i) {
      if (fixtures[i].ada_version != version) continue;
      scratch.write(fixtures[i].name, fixtures[i].text);
      names.push_back(fixtures[i].name);
      places.push_back(i);
    }
    if (names.empty()) continue;
    const std::vector<GnatVerdict> found = gnat_check(scratch.path, names, 4, 40, version);
    for (std::size_t n = 0; n < places.size(); ++n) verdicts[places[n]] = found[n];
  }
  for (std::size_t i = 0; i < fixtures.size(); ++i) {
    const SyntaxFixture& f = fixtures[i];
    const bool we_accept = !rejects(parse_fixture(f));
    EXPECT_EQ(we_accept, f.accepted) << f.name << " (Ada " << image(f.ada_version) << ")";
    if (f.gnat_disagrees) {
      EXPECT_NE(verdicts[i].accepted, we_accept) << f.name << ": GNAT now agrees; drop its mark";
    } else {
      EXPECT_EQ(verdicts[i].accepted, we_accept) << f.name << ": GNAT's first error at line "
                                                 << verdicts[i].first_error_line;
    }
    // Where both reject, GNAT names the same line.
    if (!f.accepted && !f.gnat_disagrees && !verdicts[i].accepted) {
      EXPECT_EQ(verdicts[i].first_error_line, f.line) << f.name;
    }
  }
}

// GNAT's library sources read at the default level and at Ada 2022: a file
// whose parse stops there is one GNAT rejects too at that level, once it is
// renamed so that GNAT no longer takes it for one of its run-time units (which
// it reads at Ada 2022 with its internal switches, whatever the level asked).
TEST(GnatWitness, ReadsGnatsLibraryWhereverGnatDoes) {
  ScratchDirectory scratch;
  if (!gnat_available(scratch)) GTEST_SKIP() << "no GNAT (" << gnat_gcc() << " -gnats)";
  const std::string library = gnat_library_directory();
  if (library.empty()) GTEST_SKIP() << "no GNAT library sources (gnatls -v)";
  std::vector<std::filesystem::path> sources;
  for (const auto& entry : std::filesystem::directory_iterator(library)) {
    const auto ext = entry.path().extension();
    if (ext == ".ads" || ext == ".adb") sources.push_back(entry.path());
  }
  ASSERT_GT(sources.size(), 500u);
  for (const AdaVersion version : {default_ada_version, AdaVersion::ADA_2022}) {
    std::vector<std::string> stopped;
    for (const auto& source : sources) {
      std::ifstream in(source, std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      Options options;
      options.ada_version = version;
      bool clean = false;
      try {
        clean = parse_source(text, options).syntax_message.empty();
      } catch (const std::exception&) {
      }
      if (clean) continue;
      stopped.push_back("x-" + source.filename().string());
      scratch.write(stopped.back(), text);
    }
    // The forms GNAT's run-time units take from Ada 2022 stop a hundred or so
    // at Ada 2012; at Ada 2022 every file is read to its end.
    if (version == AdaVersion::ADA_2022) {
      EXPECT_EQ(stopped, std::vector<std::string>{}) << "Ada " << image(version);
    } else {
      EXPECT_LT(stopped.size(), 150u) << "Ada " << image(version);
    }
    const std::vector<GnatVerdict> verdicts = gnat_check(scratch.path, stopped, 4, 40, version);
    for (std::size_t i = 0; i < stopped.size(); ++i) {
      // An iterated component association in parentheses: GNAT's syntax
      // check takes it at any level, its full check only from Ada 2022.
      if (stopped[i] == "x-s-veboop.ads" && version < AdaVersion::ADA_2022) continue;
      EXPECT_FALSE(verdicts[i].accepted) << stopped[i] << ": GNAT reads it at Ada " << image(version);
    }
  }
}

}  // namespace
}  // namespace flawseek
