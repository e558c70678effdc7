// Tests of the text list: order, positions, and both letter-case rules.
#include "platform/text_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace flawseek {
namespace {

TEST(TextListTest, EmptyListFindsNothingAndHasNoEnds) {
  TextList list;
  EXPECT_TRUE(list.is_empty());
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.find("x", 1, true), 0);
  EXPECT_FALSE(list.contains("", false));
  EXPECT_THROW((void)list.first_item(), TextNotInList);
  try {
    (void)list.last_item();
    ADD_FAILURE() << "no error for the last item of an empty list";
  } catch (const TextNotInList& error) {
    EXPECT_STREQ(error.what(), "Text.Not_In_List");
  }
}

TEST(TextListTest, KeepsTheOrderOfAppending) {
  TextList list;
  for (const char* word : {"with", "use", "package", ""}) list.append(word);
  EXPECT_EQ(list.count(), 4);
  EXPECT_FALSE(list.is_empty());
  EXPECT_EQ(list.first_item(), "with");
  EXPECT_EQ(list.last_item(), "");
  EXPECT_EQ(list.item(3), "package");
  std::vector<std::string> walked(list.begin(), list.end());
  EXPECT_EQ(walked, (std::vector<std::string>{"with", "use", "package", ""}));
  EXPECT_EQ(list.find("", 1, true), 4);  // an empty text is a text like any other
}

TEST(TextListTest, CaseRuleIsTheCallers) {
  TextList list;
  list.append("address");
  list.append("\xE9t\xE9");  // Latin-1 "été"
  EXPECT_EQ(list.find("Address", 1, false), 1);
  EXPECT_EQ(list.find("Address", 1, true), 0);
  EXPECT_EQ(list.find("address", 1, true), 1);
  EXPECT_TRUE(list.contains("ADDRESS", false));
  EXPECT_FALSE(list.contains("ADDRESS", true));
  EXPECT_EQ(list.find("\xC9T\xC9", 1, false), 2);  // "ÉTÉ"
  EXPECT_EQ(list.find("\xC9T\xC9", 1, true), 0);
  // Equal up to case is not a prefix match.
  EXPECT_EQ(list.find("Addres", 1, false), 0);
  EXPECT_EQ(list.find("Addresses", 1, false), 0);
}

TEST(TextListTest, FindStartsAtTheGivenPosition) {
  TextList list;
  for (const char* word : {"a", "B", "c", "b"}) list.append(word);
  EXPECT_EQ(list.find("b", 1, false), 2);
  EXPECT_EQ(list.find("b", 2, false), 2);
  EXPECT_EQ(list.find("b", 3, false), 4);
  EXPECT_EQ(list.find("b", 5, false), 0);  // past the end
  EXPECT_EQ(list.find("b", 1000, false), 0);
  EXPECT_EQ(list.find("a", 0, true), 1);  // below 1 searches from the start
  EXPECT_EQ(list.find("a", -7, true), 1);
  EXPECT_EQ(list.find("b", 1, true), 4);
}

TEST(TextListTest, ItemsStayValidWhileTheListGrows) {
  TextList list;
  list.append("first");
  const std::string& first = list.first_item();
  for (int i = 0; i < 10000; ++i) list.append("item " + std::to_string(i));
  EXPECT_EQ(first, "first");
  EXPECT_EQ(list.count(), 10001);
  EXPECT_EQ(list.last_item(), "item 9999");
  list.clear();
  EXPECT_TRUE(list.is_empty());
  EXPECT_EQ(list.find("first", 1, true), 0);
}

TEST(TextsEqualTest, LettersWithoutAnUpperPartnerCompareAsThemselves) {
  EXPECT_TRUE(
      texts_equal("stra\xDF"
                  "e",
                  "STRA\xDF"
                  "E",
                  false));  // ß has no upper case in Latin-1
  EXPECT_FALSE(texts_equal("\xFF", "\xDF", false));
  EXPECT_TRUE(texts_equal("\xFF", "\xFF", false));
  EXPECT_FALSE(texts_equal("\xD7", "\xF7", false));  // × and ÷ are not letters
  EXPECT_TRUE(texts_equal("a_1", "A_1", false));
}

}  // namespace
}  // namespace flawseek
