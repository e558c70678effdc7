// The pending list of a scope: removal by a name's number (one for every
// letter case) keeps the order of the rest, and storage taken back by later
// names holds only their own texts.
#include "bugcheck/declarations/pending_names.h"

#include "bugcheck/declarations/folded_name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace flawseek {
namespace {

std::vector<std::string> names_and_texts(const PendingNames& list) {
  std::vector<std::string> result;
  for (const NameItem& item : list.items()) result.push_back(item.name + "@" + std::to_string(item.line) + ":" + item.text);
  return result;
}

// Appends `item` under its name's number, as the declarative levels do.
void append(PendingNames& list, FoldedNameIndex& numbers, const NameItem& item) {
  list.append(item, numbers.add(item.name));
}

TEST(PendingNames, AUseRemovesEveryViewOfTheNameAndKeepsTheOrderOfTheRest) {
  FoldedNameIndex numbers;
  PendingNames list;
  append(list, numbers, {"Alpha", 1, 4, "Alpha : Integer; -- the first of a longer line"});
  append(list, numbers, {"Beta", 2, 4, "Beta : Integer;"});
  append(list, numbers, {"ALPHA", 3, 4, "ALPHA : Float;"});
  append(list, numbers, {"Gamma", 4, 4, "Gamma : Boolean;"});
  list.remove_numbered(numbers.find("alpha"));
  EXPECT_EQ(names_and_texts(list), (std::vector<std::string>{"Beta@2:Beta : Integer;", "Gamma@4:Gamma : Boolean;"}));
  // The freed places take new names with nothing of the old texts left.
  append(list, numbers, {"D", 5, 1, "D"});
  append(list, numbers, {"E", 6, 1, ""});
  EXPECT_EQ(names_and_texts(list),
            (std::vector<std::string>{"Beta@2:Beta : Integer;", "Gamma@4:Gamma : Boolean;", "D@5:D", "E@6:"}));
}

TEST(PendingNames, MovedLeftoversLeaveTheListEmptyAndReusable) {
  FoldedNameIndex numbers;
  PendingNames scope;
  PendingNames reported;
  append(reported, numbers, {"Stale", 9, 1, "Stale"});
  append(scope, numbers, {"A", 1, 1, "A : T;"});
  append(scope, numbers, {"B", 2, 1, "B : T;"});
  scope.move_into(reported);
  EXPECT_TRUE(scope.empty());
  EXPECT_EQ(names_and_texts(reported), (std::vector<std::string>{"A@1:A : T;", "B@2:B : T;"}));
  // The moved items keep their numbers: a use still removes them.
  reported.remove_numbered(numbers.find("a"));
  EXPECT_EQ(names_and_texts(reported), (std::vector<std::string>{"B@2:B : T;"}));
  append(scope, numbers, {"C", 3, 1, "C : T;"});
  EXPECT_EQ(names_and_texts(scope), (std::vector<std::string>{"C@3:C : T;"}));
}

}  // namespace
}  // namespace flawseek
