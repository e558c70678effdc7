// Matching relative paths against exclude globs.
#include "platform/path_glob.h"

#include <cstddef>
#include <filesystem>
#include <system_error>
#include <vector>

namespace flawseek {

namespace {

std::vector<std::string_view> segments_of(std::string_view text) {
  std::vector<std::string_view> segments;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t slash = text.find('/', start);
    const std::size_t end = slash == std::string_view::npos ? text.size() : slash;
    // "a//b" and a trailing "/" name nothing more.
    if (end > start) segments.push_back(text.substr(start, end - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return segments;
}

// One segment against one pattern segment of "*" and "?": the usual greedy
// walk that backs up to the last "*", linear in practice and never worse
// than the product of the lengths.
bool segment_matches(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool path_glob_matches(std::string_view glob, std::string_view path) {
  const std::vector<std::string_view> pattern = segments_of(glob);
  const std::vector<std::string_view> name = segments_of(path);
  // matched[j]: the pattern's segments so far match the path's first j.
  std::vector<char> matched(name.size() + 1, 0);
  matched[0] = 1;
  for (const std::string_view segment : pattern) {
    std::vector<char> next(name.size() + 1, 0);
    if (segment == "**") {
      // Any number of whole segments: reachable from any earlier match.
      bool reached = false;
      for (std::size_t j = 0; j <= name.size(); ++j) {
        reached = reached || matched[j] != 0;
        next[j] = reached ? 1 : 0;
      }
    } else {
      for (std::size_t j = 0; j < name.size(); ++j) {
        if (matched[j] != 0 && segment_matches(segment, name[j])) next[j + 1] = 1;
      }
    }
    matched.swap(next);
  }
  return matched[name.size()] != 0;
}

}  // namespace flawseek

namespace flawseek {

namespace {

std::string absolute_normal(std::string_view path, const std::string& current_directory) {
  std::filesystem::path absolute(path);
  if (absolute.is_relative()) absolute = std::filesystem::path(current_directory) / absolute;
  std::string text = absolute.lexically_normal().generic_string();
  // "dir/." is "dir/": the directory itself.
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string current_directory_text() {
  std::error_code error;
  return std::filesystem::current_path(error).generic_string();
}

}  // namespace

AnchoredGlob::AnchoredGlob(std::string_view base, std::string glob)
    : glob_(std::move(glob)), current_directory_(current_directory_text()) {
  // An absolute glob is anchored at the root, whatever the base.
  if (glob_.starts_with('/')) {
    base_ = "/";
    glob_.erase(0, glob_.find_first_not_of('/'));
  } else {
    base_ = absolute_normal(base, current_directory_);
  }
}

bool AnchoredGlob::matches(std::string_view file) const {
  const std::string path = absolute_normal(file, current_directory_);
  // Below the base: the base itself, then a "/" (the root's "/" is its own).
  const bool below = base_ == "/" ? path.starts_with("/")
                                  : path.size() > base_.size() + 1 && path.starts_with(base_) && path[base_.size()] == '/';
  if (!below) return false;
  const std::size_t from = base_ == "/" ? 1 : base_.size() + 1;
  return path_glob_matches(glob_, std::string_view(path).substr(from));
}

}  // namespace flawseek
