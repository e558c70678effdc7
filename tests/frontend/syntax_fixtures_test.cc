// Every syntax fixture parses as its folder says: the accepted ones clean, the
// rejected ones stopped at the position their comment names.
#include <gtest/gtest.h>

#include "frontend/replacement_characters.h"
#include "syntax_fixtures.h"

namespace flawseek {
namespace {

using testing_support::SyntaxFixture;

TEST(SyntaxFixtures, AcceptedParseCleanAndRejectedStopWhereTheyShould) {
  const std::vector<SyntaxFixture> fixtures = testing_support::syntax_fixtures(FLAWSEEK_FIXTURES "/syntax");
  int accepted = 0;
  int rejected = 0;
  for (const SyntaxFixture& f : fixtures) {
    const testing_support::Outcome o = testing_support::parse_fixture(f);
    if (f.accepted) {
      ++accepted;
      EXPECT_FALSE(testing_support::rejects(o))
          << f.name << ": " << o.syntax_message << " @" << o.line << ":" << o.column;
      continue;
    }
    ++rejected;
    ASSERT_GT(f.line, 0) << f.name << " names no \"-- syntax error @ L:C\"";
    EXPECT_TRUE(testing_support::rejects(o)) << f.name << " parses clean";
    EXPECT_EQ(o.line, f.line) << f.name << ": " << o.syntax_message;
    EXPECT_EQ(o.column, f.column) << f.name << ": " << o.syntax_message;
  }
  // Every form of each family is there (a lost folder is no pass).
  EXPECT_GE(accepted, 16);
  EXPECT_GE(rejected, 22);
}

// The rewrite of the replacement characters changes nothing inside string and
// character literals, keeps every column, and leaves colons that close no
// based literal alone.
TEST(SyntaxFixtures, ReplacementCharactersAreRewrittenInPlace) {
  std::string line = "when 1 ! 2 => S := %a!b% & '!' & \"x!%y%\" & 16:FF: & A (1):=2 & %50%%%;";
  const std::size_t length = line.size();
  EXPECT_TRUE(use_standard_delimiters(line));
  EXPECT_EQ(line, "when 1 | 2 => S := \"a!b\" & '!' & \"x!%y%\" & 16#FF# & A (1):=2 & \"50%%\";");
  EXPECT_EQ(line.size(), length);
  std::string plain = "X : Integer := Y (1) ; Z : T;";
  EXPECT_FALSE(use_standard_delimiters(plain));
  // A percent sign with a quotation mark before its closing one is no delimiter.
  std::string stray = "S := %a\"b%;";
  EXPECT_FALSE(use_standard_delimiters(stray));
}

}  // namespace
}  // namespace flawseek
