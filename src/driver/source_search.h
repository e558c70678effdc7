// What a search starts from: the search root resolved into a directory and a
// file pattern, and the check of the reference path.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

struct SearchRoot {
  std::string directory;  // absolute, without a final "/" (except "/" itself)
  std::string pattern;    // always holds a "." ("*" became "*.*")
};

// The "Look in:" text: a directory, or a directory and a file pattern
// ("src/*.adb", "src/pkg_.ada"). Blanks at both ends are ignored; a relative
// text is taken from current_directory. No result means "File or Root
// Directory not found": the text is empty, its directory does not exist, or
// its last part names nothing that exists and holds neither "*" nor ".".
std::optional<SearchRoot> resolve_search_root(std::string_view text, std::string_view current_directory);

struct ReferencePathCheck {
  bool valid = true;
  std::string bad_entry;                 // the first entry that failed, as written
  std::vector<std::string> directories;  // absolute, in order, when valid
  // The same entries as the unit survey reads them: absolute, and an entry
  // written with a final "/*" keeps it, because it stands for the directory
  // and every directory below it.
  std::vector<std::string> entries;
};

// The reference path: entries separated by ";", each a directory, optionally
// ending in "/*" (the directory itself must exist). Blanks around entries are
// ignored; an empty text or one of separators only is valid.
ReferencePathCheck validate_reference_path(std::string_view text, std::string_view current_directory);

}  // namespace flawseek
