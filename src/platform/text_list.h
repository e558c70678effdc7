// TextList: an ordered list of texts whose lookups take the letter-case rule
// from the caller, so one list serves exact and case-blind (Latin-1) searches.
#pragma once

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>

namespace flawseek {

// First or last item of an empty list (Text.Not_In_List).
class TextNotInList : public std::runtime_error {
 public:
  TextNotInList() : std::runtime_error("Text.Not_In_List") {}
};

// Equal texts under the chosen rule: identical bytes, or identical after
// Latin-1 upper-case mapping.
bool texts_equal(std::string_view a, std::string_view b, bool case_sensitive);

class TextList {
 public:
  using const_iterator = std::deque<std::string>::const_iterator;

  // Adds a copy after the last item. Items already handed out stay valid.
  void append(std::string_view item);
  void clear() { items_.clear(); }

  std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
  bool is_empty() const { return items_.empty(); }

  // TextNotInList when the list is empty.
  const std::string& first_item() const;
  const std::string& last_item() const;

  // The text at a 1-based position; position must be in 1 .. count().
  const std::string& item(std::int32_t position) const { return items_[static_cast<std::size_t>(position - 1)]; }

  // The 1-based position of the first item at `from` or later equal to `item`,
  // or 0. A `from` below 1 searches from the start.
  std::int32_t find(std::string_view item, std::int32_t from, bool case_sensitive) const;
  bool contains(std::string_view item, bool case_sensitive) const { return find(item, 1, case_sensitive) != 0; }

  // First to last, in the order of appending.
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

 private:
  // A deque keeps references to earlier items valid while appending.
  std::deque<std::string> items_;
};

}  // namespace flawseek
