// The pending list of a scope: removal by name in any letter case keeps the
// order of the rest, and storage taken back by later names holds only their
// own texts.
#include "bugcheck/declarations/pending_names.h"

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

TEST(PendingNames, AUseRemovesEveryViewOfTheNameAndKeepsTheOrderOfTheRest) {
  PendingNames list;
  list.append({"Alpha", 1, 4, "Alpha : Integer; -- the first of a longer line"});
  list.append({"Beta", 2, 4, "Beta : Integer;"});
  list.append({"ALPHA", 3, 4, "ALPHA : Float;"});
  list.append({"Gamma", 4, 4, "Gamma : Boolean;"});
  list.remove_named("alpha");
  EXPECT_EQ(names_and_texts(list), (std::vector<std::string>{"Beta@2:Beta : Integer;", "Gamma@4:Gamma : Boolean;"}));
  // The freed places take new names with nothing of the old texts left.
  list.append({"D", 5, 1, "D"});
  list.append({"E", 6, 1, ""});
  EXPECT_EQ(names_and_texts(list),
            (std::vector<std::string>{"Beta@2:Beta : Integer;", "Gamma@4:Gamma : Boolean;", "D@5:D", "E@6:"}));
}

TEST(PendingNames, MovedLeftoversLeaveTheListEmptyAndReusable) {
  PendingNames scope;
  PendingNames reported;
  reported.append({"Stale", 9, 1, "Stale"});
  scope.append({"A", 1, 1, "A : T;"});
  scope.append({"B", 2, 1, "B : T;"});
  scope.move_into(reported);
  EXPECT_TRUE(scope.empty());
  EXPECT_EQ(names_and_texts(reported), (std::vector<std::string>{"A@1:A : T;", "B@2:B : T;"}));
  scope.append({"C", 3, 1, "C : T;"});
  EXPECT_EQ(names_and_texts(scope), (std::vector<std::string>{"C@3:C : T;"}));
}

}  // namespace
}  // namespace flawseek
