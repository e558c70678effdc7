// Text list lookups with the caller's letter-case rule.
#include "platform/text_list.h"

#include "platform/latin1.h"

namespace flawseek {

bool texts_equal(std::string_view a, std::string_view b, bool case_sensitive) {
  return case_sensitive ? a == b : latin1::equal_ignoring_case(a, b);
}

void TextList::append(std::string_view item) { items_.emplace_back(item); }

const std::string& TextList::first_item() const {
  if (items_.empty()) throw TextNotInList();
  return items_.front();
}

const std::string& TextList::last_item() const {
  if (items_.empty()) throw TextNotInList();
  return items_.back();
}

std::int32_t TextList::find(std::string_view item, std::int32_t from, bool case_sensitive) const {
  std::size_t start = from < 1 ? 0 : static_cast<std::size_t>(from) - 1;
  for (std::size_t i = start; i < items_.size(); ++i) {
    if (texts_equal(items_[i], item, case_sensitive)) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

}  // namespace flawseek
