// The name and entry lists the declaration rules keep: a named, positioned
// item (matched by name, letter case ignored) and a task entry with the parts
// of its name (matched part by part). The mark list is in suppression_mark.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "bugcheck/declarations/name_dots.h"
#include "platform/latin1.h"
#include "platform/ordered_list.h"

namespace flawseek {

// A declaration or use: the name, where it stands (column 1 or more for an
// item that may be reported) and the text of its line, kept for the finding
// because the line has long left the reader when the item is reported.
struct NameItem {
  std::string name;
  std::int32_t line = 0;
  std::int32_t column = 1;
  std::string text;
};

struct SameName {
  bool operator()(const NameItem& a, const NameItem& b) const noexcept {
    return latin1::equal_ignoring_case(a.name, b.name);
  }
};

struct NameListNames {
  static constexpr std::string_view name = "DEFECT_SCAN.NQS.NAME_LIST";
};

using NameList = OrderedList<NameItem, SameName, NameListNames>;

// An entry and the parts of the name it is called by ("Worker", "Start").
struct EntryItem {
  std::string name;
  std::vector<std::string> parts;
};

// An empty part stands for any part: the caller could not name it.
struct SameEntry {
  bool operator()(const EntryItem& a, const EntryItem& b) const noexcept {
    if (!latin1::equal_ignoring_case(a.name, b.name) || a.parts.size() != b.parts.size()) return false;
    bool any_empty = false;
    bool all_equal = true;
    for (std::size_t i = 0; i < a.parts.size(); ++i) {
      if (a.parts[i].empty() || b.parts[i].empty()) any_empty = true;
      if (!latin1::equal_ignoring_case(a.parts[i], b.parts[i])) all_equal = false;
    }
    return any_empty || all_equal;
  }
};

struct EntryListNames {
  static constexpr std::string_view name = "DEFECT_SCAN.NQS.ENTRY_LIST";
};

using EntryList = OrderedList<EntryItem, SameEntry, EntryListNames>;

// The lower-case form of a name, for the hash indexes beside the lists.
inline void fold_name(std::string_view name, std::string& folded) {
  folded.resize(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    folded[i] = static_cast<char>(latin1::to_lower(static_cast<unsigned char>(name[i])));
  }
}

// A set of folded names, looked up by string_view without a copy.
struct FoldedNameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};
using FoldedNameSet = std::unordered_set<std::string, FoldedNameHash, std::equal_to<>>;

// Calls `visit` with each identifier of a dotted name ("A.B.C": A, B, C).
template <class Visit>
void for_each_segment(const DottedName& name, Visit&& visit) {
  std::size_t start = 0;
  for_each_dot(name, [&](std::size_t dot) {
    visit(name.text.substr(start, dot - start));
    start = dot + 1;
  });
  visit(name.text.substr(start));
}
template <class Visit>
void for_each_segment(std::string_view name, Visit&& visit) {
  for_each_segment(DottedName(name), visit);
}

}  // namespace flawseek
