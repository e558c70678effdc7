// The files a write has made beside their final place and not yet renamed
// into it. A program that must end at once (a second Ctrl-C) removes them
// first, so no half-written copy of a report is ever left behind.
#pragma once

#include <string>

namespace flawseek {

void track_temporary_file(const std::string& path);
void forget_temporary_file(const std::string& path);
// Removes every file still tracked; callable from any thread.
void remove_temporary_files() noexcept;

}  // namespace flawseek
