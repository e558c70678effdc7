// A unified diff of a file's text before and after a mend that keeps its
// lines (respellings and words written into a line), as `diff -u` writes it,
// so `patch -p0` applies it from the directory the run was started in.
#pragma once

#include <string>
#include <string_view>

namespace flawseek {

// The diff of `before` and `after` (the same number of lines) of the file
// `shown_name`; empty when they are the same. Three lines of context.
std::string unified_diff(std::string_view shown_name, std::string_view before, std::string_view after);

}  // namespace flawseek
