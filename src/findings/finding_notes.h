// What the machine-readable outputs know about a search beyond its findings:
// the checks' own words for some findings (a syntax error's "then expected")
// and the bug findings that suppression marks absorbed. Kept beside the
// findings lists, which stay as the tree and the reports need them.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "findings/finding.h"

namespace flawseek {

struct SuppressedFinding {
  FindingKind kind;
  Finding finding;
};

class FindingNotes {
 public:
  // `position` counts the findings of `kind` from 0, in list order.
  void set_detail(FindingKind kind, std::size_t position, std::string_view detail);
  // Empty when the check said nothing more.
  std::string_view detail(FindingKind kind, std::size_t position) const;

  void add_suppressed(FindingKind kind, Finding finding) { suppressed_.push_back({kind, std::move(finding)}); }
  const std::vector<SuppressedFinding>& suppressed() const { return suppressed_; }

  void clear();

 private:
  // Few findings carry a detail (at most a syntax error per file), so a map
  // costs nothing for the rest.
  std::map<std::pair<int, std::size_t>, std::string> details_;
  std::vector<SuppressedFinding> suppressed_;
};

}  // namespace flawseek
