// Finding ids made from the kinds' literals, once.
#include "findings/finding_id.h"

#include <array>
#include <string>

#include "platform/latin1.h"

namespace flawseek {

namespace {

std::string id_of_literal(std::string_view prefix, std::string_view literal) {
  std::string id(prefix);
  for (char c : literal) id.push_back(c == '_' ? '-' : static_cast<char>(latin1::to_lower(static_cast<unsigned char>(c))));
  return id;
}

const std::array<std::string, FindingKind::count>& ids() {
  static const std::array<std::string, FindingKind::count> table = [] {
    std::array<std::string, FindingKind::count> made;
    for (int i = 0; i < bug_kind_count; ++i) made[i] = id_of_literal({}, image(static_cast<BugKind>(i)));
    for (int i = 0; i < style_kind_count; ++i)
      made[bug_kind_count + i] = id_of_literal("style/", image(static_cast<StyleKind>(i)));
    return made;
  }();
  return table;
}

}  // namespace

std::string_view finding_id(FindingKind kind) { return ids()[kind.index()]; }

std::optional<FindingKind> find_finding_id(std::string_view id) {
  if (id.empty()) return std::nullopt;
  std::string wanted;
  wanted.reserve(id.size());
  for (char c : id) wanted.push_back(c == '_' ? '-' : static_cast<char>(latin1::to_lower(static_cast<unsigned char>(c))));
  for (int index = 0; index < FindingKind::count; ++index) {
    if (ids()[index] == wanted) return FindingKind::from_index(index);
  }
  return std::nullopt;
}

}  // namespace flawseek
