// The numbering of names with letter case ignored: kept through growth and
// collisions, started again after a clear.
#include "bugcheck/declarations/folded_name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace flawseek {
namespace {

TEST(FoldedNameIndex, NumbersNamesInOrderOfFirstSightWhateverTheirCase) {
  FoldedNameIndex index;
  EXPECT_TRUE(index.empty());
  EXPECT_EQ(index.find("Alpha"), FoldedNameIndex::none);
  EXPECT_EQ(index.add("Alpha"), 0u);
  EXPECT_EQ(index.add("Beta"), 1u);
  EXPECT_EQ(index.add("ALPHA"), 0u);
  EXPECT_EQ(index.find("alpha"), 0u);
  EXPECT_EQ(index.find("bETA"), 1u);
  // A name that only starts like a known one, or is spelled one letter off, is another name.
  EXPECT_EQ(index.find("Alph"), FoldedNameIndex::none);
  EXPECT_EQ(index.find("Alphas"), FoldedNameIndex::none);
  EXPECT_EQ(index.find("Alpho"), FoldedNameIndex::none);
  EXPECT_EQ(index.add(""), 2u);
  EXPECT_EQ(index.find(""), 2u);
  EXPECT_EQ(index.size(), 3u);
}

TEST(FoldedNameIndex, FoldsLatin1LettersAndLeavesOtherBytesAlone) {
  FoldedNameIndex index;
  EXPECT_EQ(index.add("\xC4RGER"), 0u);          // "ÄRGER"
  EXPECT_EQ(index.find("\xE4rger"), 0u);         // "ärger"
  EXPECT_EQ(index.add("Stra\xDF" "e"), 1u);      // ß has no upper-case partner
  EXPECT_EQ(index.find("STRA\xDF" "E"), 1u);
  EXPECT_EQ(index.find("STRASSE"), FoldedNameIndex::none);
  // 0xD7 and 0xF7 (multiplication and division signs) are no letters.
  EXPECT_EQ(index.add("A\xD7"), 2u);
  EXPECT_EQ(index.find("a\xF7"), FoldedNameIndex::none);
  EXPECT_EQ(index.find("a\xD7"), 2u);
}

TEST(FoldedNameIndex, ALetterOfAnyKindAtAnyPlaceOfANameOfAnyLengthCounts) {
  // Names are folded and compared several characters at a time: a capital,
  // a Latin-1 capital or a changed letter must count wherever it stands.
  FoldedNameIndex index;
  std::uint32_t next = 0;
  for (std::size_t length = 1; length <= 20; ++length) {
    for (std::size_t place = 0; place < length; ++place) {
      std::string name(length, 'q');
      name[place] = '\xC4';  // Ä
      ASSERT_EQ(index.add(name), next) << name;
      std::string lower = name;
      lower[place] = '\xE4';  // ä
      ASSERT_EQ(index.find(lower), next) << length << " " << place;
      std::string capitals(length, 'Q');
      capitals[place] = '\xC4';
      ASSERT_EQ(index.find(capitals), next) << length << " " << place;
      std::string other = lower;
      other[(place + 1) % length] = 'r';
      if (length > 1) {
        ASSERT_EQ(index.find(other), FoldedNameIndex::none) << length << " " << place;
      }
      other = lower;
      other[place] = 'a';
      ASSERT_EQ(index.find(other), FoldedNameIndex::none) << length << " " << place;
      ++next;
    }
  }
}

TEST(FoldedNameIndex, AnAddedNameIsFoldedAtEveryPlaceWhateverItsLength) {
  // A name is folded where it is stored, in words that may overlap: a
  // capital left unfolded at any place would stop the name being found.
  FoldedNameIndex index;
  std::uint32_t next = 0;
  for (std::size_t length = 1; length <= 20; ++length) {
    for (std::size_t place = 0; place < length; ++place) {
      std::string name(length, 'z');
      name[place] = 'K';
      ASSERT_EQ(index.add(name), next) << name;
      name[place] = 'k';
      ASSERT_EQ(index.find(name), next) << name;
      ++next;
    }
  }
}

TEST(FoldedNameIndex, KeepsEveryNumberThroughGrowthAndCollisions) {
  FoldedNameIndex index;
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("Name_" + std::to_string(i * 7919 % 10007));
  for (std::size_t i = 0; i < names.size(); ++i) ASSERT_EQ(index.add(names[i]), i) << names[i];
  EXPECT_EQ(index.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string upper = names[i];
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    ASSERT_EQ(index.find(upper), i) << upper;
  }
  EXPECT_EQ(index.find("Name_10007"), FoldedNameIndex::none);
}

TEST(FoldedNameIndex, AClearForgetsEveryNameAndNumbersFromZeroAgain) {
  FoldedNameIndex index;
  // Small enough to keep its table, then large enough to give it back.
  for (int names : {10, 5000}) {
    for (int i = 0; i < names; ++i) index.add("Old_" + std::to_string(i));
    index.clear();
    EXPECT_TRUE(index.empty());
    for (int i = 0; i < names; ++i) ASSERT_EQ(index.find("Old_" + std::to_string(i)), FoldedNameIndex::none);
    EXPECT_EQ(index.add("New"), 0u);
    EXPECT_EQ(index.add("Old_1"), 1u);
    EXPECT_EQ(index.find("new"), 0u);
    index.clear();
  }
}

}  // namespace
}  // namespace flawseek
