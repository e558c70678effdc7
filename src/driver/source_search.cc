// Resolving the search root and checking the reference path.
#include "driver/source_search.h"

#include <filesystem>
#include <utility>

#include "frontend/text_utilities.h"
#include "platform/disk.h"
#include "stylecheck/unit_survey/specification_search.h"

namespace flawseek {

namespace {

std::string absolute_text(std::string_view text, std::string_view current_directory) {
  if (!text.empty() && text.front() == '/') return std::string(text);
  std::string result(current_directory);
  if (result.empty() || result.back() != '/') result.push_back('/');
  result += text;
  return result;
}

bool is_directory(const std::string& path) {
  PathStatus status;
  return disk().status(path.empty() ? "/" : path, status) == 0 && status.kind == FileKind::Directory;
}

// "/a/./b/../c/" becomes "/a/c": the names the walk hands on stay readable.
std::string normal_directory(const std::string& path) {
  if (path.empty()) return "/";
  std::string normal = std::filesystem::path(path).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal.empty() ? "/" : normal;
}

}  // namespace

std::optional<SearchRoot> resolve_search_root(std::string_view text, std::string_view current_directory) {
  text = trim_blanks(text);
  if (text.empty()) return std::nullopt;
  std::string root = absolute_text(text, current_directory);

  std::size_t slash = root.rfind('/');
  std::string directory = root;
  std::string pattern = "*";
  if (slash == root.size() - 1) {
    directory.pop_back();
  } else if (!is_directory(root)) {
    pattern = root.substr(slash + 1);
    directory = root.substr(0, slash);
    if (pattern.find_first_of("*.") == std::string::npos) return std::nullopt;
  }
  // An empty directory part names the file-system root.
  if (!is_directory(directory)) return std::nullopt;
  if (pattern.find('.') == std::string::npos) pattern += ".*";
  return SearchRoot{normal_directory(directory), pattern};
}

ReferencePathCheck validate_reference_path(std::string_view text, std::string_view current_directory) {
  ReferencePathCheck check;
  for (const std::string& entry : split_directory_list(text)) {
    // "dir/*" names the directory itself, as the style side reads it.
    std::string_view directory = entry;
    const bool with_subdirectories = entry.size() >= 2 && entry.substr(entry.size() - 2) == "/*";
    if (with_subdirectories) directory.remove_suffix(1);
    std::string absolute = absolute_text(directory, current_directory);
    if (!is_directory(absolute)) {
      check.valid = false;
      check.bad_entry = entry;
      check.directories.clear();
      check.entries.clear();
      return check;
    }
    std::string normal = normal_directory(absolute);
    std::string reference_entry = normal;
    if (with_subdirectories) reference_entry += normal == "/" ? "*" : "/*";
    check.directories.push_back(std::move(normal));
    check.entries.push_back(std::move(reference_entry));
  }
  return check;
}

}  // namespace flawseek
