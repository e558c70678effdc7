// The page Help > "Help" shows: how to use the window, and every rule with
// its id, label, family, what it detects, whether --fix mends it and the
// mark that suppresses it. Built from the program itself (the descriptor
// rows), since where an installed README lives is no one's promise.
#pragma once

#include <string>

namespace flawseek {

// Rich text (Qt's HTML subset).
std::string help_page_html();

}  // namespace flawseek
