// The constructs of the later language levels as the hooks see them, and the
// words those levels reserve when older code uses them as names.
#include <gtest/gtest.h>

#include <string>

#include "parser_test_support.h"

namespace flawseek {
namespace {

using testing_support::Options;
using testing_support::parse_source;

struct ReservedWordCase {
  const char* word;
  AdaVersion level;
  AdaVersion before;
};

// A name that became a reserved word parses at the level before and stops at
// the word from its level on, with the message naming the word and the level.
TEST(ParserLaterLevels, LaterReservedWordAsANameSaysSinceWhen) {
  const ReservedWordCase cases[] = {
      {"Interface", AdaVersion::ADA_2005, AdaVersion::ADA_95},
      {"Synchronized", AdaVersion::ADA_2005, AdaVersion::ADA_95},
      {"Some", AdaVersion::ADA_2012, AdaVersion::ADA_2005},
      {"Parallel", AdaVersion::ADA_2022, AdaVersion::ADA_2012},
  };
  for (const ReservedWordCase& c : cases) {
    const std::string source = std::string("procedure P is\n   X : Integer;\nbegin\n   ") + c.word +
                               " := X;\nend P;\n";
    Options options;
    options.ada_version = c.before;
    EXPECT_EQ(parse_source(source, options).syntax_message, "") << c.word;
    options.ada_version = c.level;
    const auto outcome = parse_source(source, options);
    std::string lower(c.word);
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(outcome.syntax_message, "`" + lower + "` is a reserved word since " +
                                          std::string(ada_version_name(c.level)) +
                                          "; older code can say pragma Ada_95 or run with --ada-version 95");
    EXPECT_EQ(outcome.line, 4) << c.word;
    EXPECT_EQ(outcome.column, 4) << c.word;
  }
}

// A null procedure and an expression function are a specification and a body
// to the hooks, and the expression's names are read as uses inside the body.
TEST(ParserLaterLevels, NullProceduresAndExpressionFunctionsAreBodies) {
  Options options;
  options.ada_version = AdaVersion::ADA_2012;
  const auto outcome = parse_source(
      "package P is\n   procedure Reset is null;\n   function Twice (X : Integer) return Integer is (Limit + X);\n"
      "end P;\n",
      options);
  ASSERT_EQ(outcome.syntax_message, "");
  const std::string body = std::to_string(static_cast<int>(UnitKind::SUBPROGRAM_BODY));
  const std::string scope = std::to_string(static_cast<int>(ScopeKind::SUBPROGRAM_BODY));
  EXPECT_TRUE(outcome.has("unit Reset " + body));
  const int open = outcome.index_of("scope open " + scope + " Twice");
  const int use = outcome.index_of("used Limit " + std::to_string(static_cast<int>(NameContext::EXPRESSION)), open);
  const int close = outcome.index_of("scope close " + scope + " Twice", open);
  EXPECT_GE(open, 0);
  EXPECT_LT(open, use);
  EXPECT_LT(use, close);
}

// Language pragmas change the level mid-file, the word after them included.
TEST(ParserLaterLevels, LanguagePragmaSwitchesTheLevelFromThereOn) {
  Options options;
  options.ada_version = AdaVersion::ADA_2012;
  EXPECT_EQ(parse_source("pragma ADA_95;\nprocedure Some is begin null; end Some;\n", options).syntax_message, "");
  options.ada_version = AdaVersion::ADA_95;
  EXPECT_EQ(parse_source("pragma Ada_05;\nprocedure P is null;\n", options).syntax_message, "");
  EXPECT_NE(parse_source("pragma Ada_83;\nprocedure P is null;\n", options).syntax_message, "");
}

}  // namespace
}  // namespace flawseek
