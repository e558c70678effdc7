// Wildcard matching of file names.
#include "driver/name_pattern.h"

#include "platform/path_glob.h"

namespace flawseek {

bool name_matches(std::string_view pattern, std::string_view name) {
  // The pattern of a plain directory root: "*.*" takes a name with a dot,
  // and one without through the ".*" rule below. Asked of every entry.
  if (pattern == "*" || pattern == "*.*") return true;
  if (wildcard_matches(pattern, name, true)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos)
    return wildcard_matches(pattern.substr(0, pattern.size() - 2), name, true);
  return false;
}

}  // namespace flawseek
