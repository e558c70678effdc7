// The dots of a used name, found in blocks: the first 64 characters are
// searched once for every rule that splits the name, the rest as the rules
// walk on. Every dot must be found once, in order, wherever it stands.
#include "bugcheck/declarations/name_dots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bugcheck/declarations/declaration_lists.h"

namespace flawseek {
namespace {

std::vector<std::size_t> dots_of(const std::string& name) {
  std::vector<std::size_t> found;
  for_each_dot(DottedName(name), [&](std::size_t dot) { found.push_back(dot); });
  return found;
}

TEST(NameDots, EveryDotOfANameOfAnyLengthIsFoundOnceInOrder) {
  for (std::size_t length = 0; length <= 200; ++length) {
    for (std::size_t step : {1u, 2u, 5u, 13u, 63u, 64u, 65u}) {
      std::string name(length, 'a');
      std::vector<std::size_t> expected;
      for (std::size_t at = step - 1; at < length; at += step) {
        name[at] = '.';
        expected.push_back(at);
      }
      ASSERT_EQ(dots_of(name), expected) << "length " << length << ", a dot every " << step;
    }
  }
}

TEST(NameDots, ANameIsKnownToBeOneIdentifierOnlyWhenNoDotCanHide) {
  EXPECT_TRUE(DottedName("Count").one_identifier());
  EXPECT_TRUE(DottedName(std::string(64, 'a')).one_identifier());
  EXPECT_FALSE(DottedName("Ada.Text_IO").one_identifier());
  EXPECT_FALSE(DottedName(std::string(63, 'a') + ".").one_identifier());
  // Past the first 64 characters a dot may stand unseen.
  EXPECT_FALSE(DottedName(std::string(64, 'a') + ".B").one_identifier());
  EXPECT_FALSE(DottedName(std::string(65, 'a')).one_identifier());
}

TEST(NameDots, TheSegmentsOfALongNameAreItsIdentifiers) {
  const std::string first(70, 'P');
  const std::string name = first + ".Q." + std::string(61, 'R') + ".S";
  std::vector<std::string> segments;
  for_each_segment(DottedName(name), [&](std::string_view segment) { segments.emplace_back(segment); });
  EXPECT_EQ(segments, (std::vector<std::string>{first, "Q", std::string(61, 'R'), "S"}));
}

}  // namespace
}  // namespace flawseek
