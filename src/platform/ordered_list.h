// OrderedList: the list of records used by the findings lists and the bug
// checker's mark, name and entry lists. Each instance brings its item type, a
// Match that says when two items count as the same, and the name under which
// its errors are known ("Error.Report_List" gives "Error.Report_List.No_Elements").
//
//   struct ReportListNames { static constexpr std::string_view name = "Error.Report_List"; };
//   struct SameFinding { bool operator()(const Finding& a, const Finding& b) const; };
//   using ReportList = OrderedList<Finding, SameFinding, ReportListNames>;
#pragma once

#include <cstdint>
#include <list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace flawseek {

template <typename Item, typename Match, typename Names>
class OrderedList {
 public:
  // First or last item of an empty list was asked for.
  class NoElements : public std::runtime_error {
   public:
    NoElements() : std::runtime_error(std::string(Names::name) + ".No_Elements") {}
  };
  // A node to be removed does not belong to this list.
  class NotInList : public std::runtime_error {
   public:
    NotInList() : std::runtime_error(std::string(Names::name) + ".Not_In_List") {}
  };

  // A node handle: stays valid until its node is removed or the list is
  // cleared or destroyed (moving the list keeps handles valid).
  using Node = typename std::list<Item>::iterator;
  using ConstNode = typename std::list<Item>::const_iterator;
  using iterator = Node;
  using const_iterator = ConstNode;

  OrderedList() = default;
  explicit OrderedList(Match match) : match_(std::move(match)) {}

  void clear() { items_.clear(); }
  bool is_empty() const { return items_.empty(); }
  std::int32_t length() const { return static_cast<std::int32_t>(items_.size()); }

  // Adds a copy after the last item and returns its node.
  Node append(const Item& item) { return items_.insert(items_.end(), item); }
  Node append(Item&& item) { return items_.insert(items_.end(), std::move(item)); }

  // Appends a copy of every item of `other`, in order (`other` may be this list).
  void append_all(const OrderedList& other) {
    std::size_t count = other.items_.size();  // fixed first: appending to itself
    auto from = other.items_.begin();
    for (std::size_t i = 0; i < count; ++i, ++from) items_.push_back(*from);
  }

  // NoElements when the list is empty.
  Node first() {
    if (items_.empty()) throw NoElements();
    return items_.begin();
  }
  Node last() {
    if (items_.empty()) throw NoElements();
    return std::prev(items_.end());
  }
  ConstNode first() const {
    if (items_.empty()) throw NoElements();
    return items_.begin();
  }
  ConstNode last() const {
    if (items_.empty()) throw NoElements();
    return std::prev(items_.end());
  }

  // Whether some item matches `item`.
  bool contains(const Item& item) const { return find_match(item) != items_.end(); }

  // The node of the first item matching `item`, or end().
  ConstNode find_match(const Item& item) const {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if (match_(*it, item)) return it;
    }
    return items_.end();
  }

  // Removes the earliest item matching `item`; false when none matches.
  bool remove_first_match(const Item& item) {
    ConstNode found = find_match(item);
    if (found == items_.end()) return false;
    items_.erase(found);
    return true;
  }

  // Removes the node; NotInList when it is not a node of this list (checked by
  // walking the list, so a stray handle never corrupts another list).
  void remove(ConstNode node) {
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
      if (it == node) {
        items_.erase(it);
        return;
      }
    }
    throw NotInList();
  }

  // Appends `item` unless some item already matches; true when appended.
  bool add_unique(const Item& item) {
    if (contains(item)) return false;
    items_.push_back(item);
    return true;
  }

  // The items of a, then each item of b that matches no item already taken.
  static OrderedList union_of(const OrderedList& a, const OrderedList& b) {
    OrderedList result = a;
    for (const Item& item : b.items_) result.add_unique(item);
    return result;
  }

  // The items of a that match no item of b.
  static OrderedList difference(const OrderedList& a, const OrderedList& b) {
    OrderedList result(a.match_);
    for (const Item& item : a.items_) {
      if (!b.contains(item)) result.items_.push_back(item);
    }
    return result;
  }

  // First to last along the order of appending.
  iterator begin() { return items_.begin(); }
  iterator end() { return items_.end(); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

 private:
  std::list<Item> items_;
  [[no_unique_address]] Match match_{};
};

}  // namespace flawseek
