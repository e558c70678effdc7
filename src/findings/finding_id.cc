// Finding ids, read from the kinds' descriptor rows.
#include "findings/finding_id.h"

#include <string>

#include "findings/rule_descriptor.h"
#include "platform/latin1.h"

namespace flawseek {

std::string_view finding_id(FindingKind kind) { return rule_descriptor(kind).id; }

std::optional<FindingKind> find_finding_id(std::string_view id) {
  if (id.empty()) return std::nullopt;
  std::string wanted;
  wanted.reserve(id.size());
  for (char c : id) wanted.push_back(c == '_' ? '-' : static_cast<char>(latin1::to_lower(static_cast<unsigned char>(c))));
  for (const RuleDescriptor& row : rule_descriptors) {
    if (row.id == wanted) return row.kind;
  }
  return std::nullopt;
}

}  // namespace flawseek
