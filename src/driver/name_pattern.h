// File-name patterns with "*" and "?" as the search root gives them, matched
// without regard to letter case, like the file enumeration they came from.
#pragma once

#include <string_view>

namespace flawseek {

// "*" matches any run of characters, "?" exactly one; ASCII letters match in
// either case. A pattern ending in ".*" also matches a name without a dot by
// its part before ".*", so "*.*" matches every name.
bool name_matches(std::string_view pattern, std::string_view name);

}  // namespace flawseek
