// Wildcard matching of file names.
#include "driver/name_pattern.h"

namespace flawseek {

namespace {

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Greedy matching that backs up to the last "*": linear in practice and never
// worse than pattern length times name length, whatever the input.
bool glob(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool name_matches(std::string_view pattern, std::string_view name) {
  // The pattern of a plain directory root: "*.*" takes a name with a dot,
  // and one without through the ".*" rule below. Asked of every entry.
  if (pattern == "*" || pattern == "*.*") return true;
  if (glob(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos)
    return glob(pattern.substr(0, pattern.size() - 2), name);
  return false;
}

}  // namespace flawseek
