// A set of identifier spellings that pass the Mixed case rule although they
// fail it: the spellings the declaring units themselves use. Compared exactly
// (case-sensitive); lookups take a string_view and allocate nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace flawseek {

class AcceptedSpellings {
 public:
  // Adds a spelling; returns false when it was already present.
  bool add(std::string_view spelling) { return spellings_.emplace(spelling).second; }
  bool contains(std::string_view spelling) const { return spellings_.find(spelling) != spellings_.end(); }
  void clear() { spellings_.clear(); }
  std::size_t size() const { return spellings_.size(); }
  bool empty() const { return spellings_.empty(); }

 private:
  // Transparent hashing lets contains() look up a string_view without
  // building a std::string per identifier.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_set<std::string, Hash, std::equal_to<>> spellings_;
};

// Whether `spellings` (null for none) holds `text`. Inline: a name that fails
// the Mixed rule is looked up here, and most files accept no spelling at all.
inline bool accepts(const AcceptedSpellings* spellings, std::string_view text) {
  return spellings != nullptr && !spellings->empty() && spellings->contains(text);
}

}  // namespace flawseek
