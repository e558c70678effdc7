// GNAT as the standing witness of the syntax fixtures: its syntax check accepts
// every accepted fixture and rejects every rejected one, except the cases
// marked as decided against it, where it must still disagree (so a changed
// GNAT or a changed fixture is noticed). Skips without GNAT.
#include <gtest/gtest.h>

#include <cstdlib>
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

}  // namespace
}  // namespace flawseek
