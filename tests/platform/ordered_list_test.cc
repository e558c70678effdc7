// Tests of the ordered list: errors named by the instance, matching, set
// operations and node handles.
#include "platform/ordered_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace flawseek {
namespace {

// Items match by name; the line tells matching items apart.
struct Mark {
  std::string name;
  int line = 0;
};
struct SameName {
  bool operator()(const Mark& a, const Mark& b) const { return a.name == b.name; }
};
struct MarkListNames {
  static constexpr std::string_view name = "DEFECT_SCAN.NQS.MARK_LIST";
};
using MarkList = OrderedList<Mark, SameName, MarkListNames>;

struct ReportListNames {
  static constexpr std::string_view name = "Error.Report_List";
};
struct SameNumber {
  bool operator()(int a, int b) const { return a == b; }
};
using NumberList = OrderedList<int, SameNumber, ReportListNames>;

std::vector<std::string> names_of(const MarkList& list) {
  std::vector<std::string> names;
  for (const Mark& mark : list) names.push_back(mark.name + ":" + std::to_string(mark.line));
  return names;
}

std::vector<int> numbers_of(const NumberList& list) { return {list.begin(), list.end()}; }

NumberList numbers(std::initializer_list<int> items) {
  NumberList list;
  for (int item : items) list.append(item);
  return list;
}

TEST(OrderedListTest, EmptyListErrorsCarryTheInstanceName) {
  NumberList list;
  EXPECT_TRUE(list.is_empty());
  EXPECT_EQ(list.length(), 0);
  EXPECT_THROW(list.first(), NumberList::NoElements);
  try {
    list.last();
    ADD_FAILURE() << "no error for the last node of an empty list";
  } catch (const NumberList::NoElements& error) {
    EXPECT_STREQ(error.what(), "Error.Report_List.No_Elements");
  }
  const MarkList marks;
  try {
    marks.first();
    ADD_FAILURE() << "no error for the first node of an empty list";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "DEFECT_SCAN.NQS.MARK_LIST.No_Elements");
  }
  EXPECT_FALSE(list.contains(1));
  EXPECT_FALSE(list.remove_first_match(1));
}

TEST(OrderedListTest, AppendKeepsOrderAndLastStaysValid) {
  MarkList list;
  list.append({"NP", 3});
  MarkList::Node node = list.last();
  list.append({"UD", 4});
  list.append({"CNR", 9});
  EXPECT_EQ(list.length(), 3);
  EXPECT_EQ(node->name, "NP");  // the handle survives later appends
  node->line = 30;              // and updates the item in place
  EXPECT_EQ(list.first()->line, 30);
  EXPECT_EQ(list.last()->name, "CNR");
  EXPECT_EQ(names_of(list), (std::vector<std::string>{"NP:30", "UD:4", "CNR:9"}));
  list.remove_first_match({"UD", 0});
  EXPECT_EQ(node->name, "NP");  // removing another node leaves it alone
  list.clear();
  EXPECT_TRUE(list.is_empty());
  EXPECT_THROW(list.last(), MarkList::NoElements);
}

TEST(OrderedListTest, RemoveFirstMatchRemovesOnlyTheEarlierOne) {
  MarkList list;
  list.append({"NP", 1});
  list.append({"UD", 2});
  list.append({"NP", 3});
  EXPECT_TRUE(list.contains({"NP", 99}));
  EXPECT_TRUE(list.remove_first_match({"NP", 99}));
  EXPECT_EQ(names_of(list), (std::vector<std::string>{"UD:2", "NP:3"}));
  EXPECT_TRUE(list.remove_first_match({"NP", 0}));
  EXPECT_FALSE(list.remove_first_match({"NP", 0}));
  EXPECT_EQ(list.length(), 1);
  EXPECT_TRUE(list.remove_first_match({"UD", 0}));
  EXPECT_TRUE(list.is_empty());
  list.append({"WG", 5});  // the emptied list works as new
  EXPECT_EQ(list.first()->name, "WG");
  EXPECT_EQ(list.last()->name, "WG");
}

TEST(OrderedListTest, AddUniqueAppendsOnlyUnmatchedItems) {
  MarkList list;
  EXPECT_TRUE(list.add_unique({"NP", 1}));
  EXPECT_FALSE(list.add_unique({"NP", 2}));
  EXPECT_TRUE(list.add_unique({"UU", 3}));
  EXPECT_EQ(names_of(list), (std::vector<std::string>{"NP:1", "UU:3"}));
}

TEST(OrderedListTest, UnionAndDifferenceLeaveTheirOperandsAlone) {
  NumberList a = numbers({1, 2, 3});
  NumberList b = numbers({3, 4, 4, 1, 5});
  EXPECT_EQ(numbers_of(NumberList::union_of(a, b)), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(numbers_of(NumberList::difference(a, b)), (std::vector<int>{2}));
  EXPECT_EQ(numbers_of(NumberList::difference(b, a)), (std::vector<int>{4, 4, 5}));
  EXPECT_EQ(numbers_of(a), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(numbers_of(b), (std::vector<int>{3, 4, 4, 1, 5}));

  EXPECT_EQ(numbers_of(NumberList::union_of(a, a)), numbers_of(a));
  EXPECT_TRUE(NumberList::difference(a, a).is_empty());
  NumberList empty;
  EXPECT_EQ(numbers_of(NumberList::union_of(empty, b)), (std::vector<int>{3, 4, 1, 5}));
  EXPECT_EQ(numbers_of(NumberList::difference(a, empty)), numbers_of(a));
  // Duplicates already in the first operand are kept, as the items of A come first.
  NumberList twice = numbers({7, 7});
  EXPECT_EQ(numbers_of(NumberList::union_of(twice, numbers({7, 8}))), (std::vector<int>{7, 7, 8}));
}

TEST(OrderedListTest, AppendAllCopiesInOrderEvenFromItself) {
  NumberList list = numbers({1, 2});
  list.append_all(numbers({3, 4}));
  EXPECT_EQ(numbers_of(list), (std::vector<int>{1, 2, 3, 4}));
  list.append_all(list);
  EXPECT_EQ(numbers_of(list), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4}));
  EXPECT_EQ(list.length(), 8);
}

TEST(OrderedListTest, RemovingAForeignNodeRaisesNotInList) {
  NumberList mine = numbers({1, 2});
  NumberList other = numbers({1, 2});
  try {
    mine.remove(other.first());
    ADD_FAILURE() << "a node of another list was removed";
  } catch (const NumberList::NotInList& error) {
    EXPECT_STREQ(error.what(), "Error.Report_List.Not_In_List");
  }
  EXPECT_EQ(mine.length(), 2);
  EXPECT_EQ(other.length(), 2);
  mine.remove(mine.last());
  EXPECT_EQ(numbers_of(mine), (std::vector<int>{1}));
}

TEST(OrderedListTest, CopiesAreIndependentAndMovesKeepHandles) {
  NumberList original = numbers({1, 2});
  NumberList copy = original;
  copy.append(3);
  EXPECT_EQ(original.length(), 2);
  NumberList::Node node = original.last();
  NumberList moved = std::move(original);
  *node = 20;
  EXPECT_EQ(numbers_of(moved), (std::vector<int>{1, 20}));
}

}  // namespace
}  // namespace flawseek
