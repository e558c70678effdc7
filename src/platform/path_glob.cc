// Matching relative paths against exclude globs.
#include "platform/path_glob.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

namespace flawseek {

namespace {

// The segments of a path, kept on the stack for the usual depth: every
// file of a walk is matched against every exclusion.
class Segments {
 public:
  explicit Segments(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t slash = text.find('/', start);
      const std::size_t end = slash == std::string_view::npos ? text.size() : slash;
      // "a//b" and a trailing "/" name nothing more.
      if (end > start) add(text.substr(start, end - start));
      if (slash == std::string_view::npos) break;
      start = slash + 1;
    }
  }
  std::size_t size() const { return count_; }
  std::string_view operator[](std::size_t i) const { return i < inline_count ? inline_[i] : more_[i - inline_count]; }

 private:
  static constexpr std::size_t inline_count = 32;
  void add(std::string_view segment) {
    if (count_ < inline_count) {
      inline_[count_] = segment;
    } else {
      more_.push_back(segment);
    }
    ++count_;
  }
  std::string_view inline_[inline_count];
  std::vector<std::string_view> more_;
  std::size_t count_ = 0;
};

}  // namespace

bool wildcard_matches(std::string_view pattern, std::string_view name, bool ignore_case) {
  const auto same = [ignore_case](char a, char b) {
    if (a == b) return true;
    if (!ignore_case) return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; };
    return fold(a) == fold(b);
  };
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
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

bool path_glob_matches(std::string_view glob, std::string_view path) {
  const Segments pattern(glob);
  const Segments name(path);
  // matched[j]: the pattern's segments so far match the path's first j
  // (on the stack for the usual depth).
  constexpr std::size_t usual = 64;
  std::array<char, usual> matched_room{};
  std::array<char, usual> next_room{};
  std::vector<char> matched_more;
  std::vector<char> next_more;
  const std::size_t width = name.size() + 1;
  if (width > usual) {
    matched_more.assign(width, 0);
    next_more.assign(width, 0);
  }
  std::span<char> matched = width > usual ? std::span<char>(matched_more) : std::span<char>(matched_room).first(width);
  std::span<char> next = width > usual ? std::span<char>(next_more) : std::span<char>(next_room).first(width);
  matched[0] = 1;
  for (std::size_t p = 0; p < pattern.size(); ++p) {
    const std::string_view segment = pattern[p];
    std::fill(next.begin(), next.end(), 0);
    if (segment == "**") {
      // Any number of whole segments: reachable from any earlier match.
      bool reached = false;
      for (std::size_t j = 0; j <= name.size(); ++j) {
        reached = reached || matched[j] != 0;
        next[j] = reached ? 1 : 0;
      }
    } else {
      for (std::size_t j = 0; j < name.size(); ++j) {
        if (matched[j] != 0 && wildcard_matches(segment, name[j], false)) next[j + 1] = 1;
      }
    }
    std::swap(matched, next);
    // Nothing matched so far: nothing further can.
    if (std::find(matched.begin(), matched.end(), 1) == matched.end()) return false;
  }
  return matched[name.size()] != 0;
}

}  // namespace flawseek

namespace flawseek {

namespace {

// Whether a path needs normalizing: a "." or ".." segment, or "//". One
// pass, as every file of a walk comes here.
bool plain_path(std::string_view path) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '/') continue;
    const std::size_t rest = path.size() - i - 1;
    if (rest == 0) return true;
    const char next = path[i + 1];
    if (next == '/') return false;
    if (next != '.') continue;
    if (rest == 1 || path[i + 2] == '/') return false;  // "/."
    if (path[i + 2] == '.' && (rest == 2 || path[i + 3] == '/')) return false;  // "/.."
  }
  return true;
}

// Called for every file the walk meets: the walk's own paths are plain, and
// only those that are not pay for the library's normalization.
std::string absolute_normal(std::string_view path, const std::string& current_directory) {
  std::string text;
  if (!path.empty() && path.front() == '/') {
    text.assign(path);
  } else {
    text.reserve(current_directory.size() + 1 + path.size());
    text = current_directory;
    text += '/';
    text += path;
  }
  if (!plain_path(text)) text = std::filesystem::path(text).lexically_normal().generic_string();
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

std::string AnchoredGlob::absolute_path(std::string_view file) const { return absolute_normal(file, current_directory_); }

bool AnchoredGlob::matches_absolute(std::string_view path) const {
  // Below the base: the base itself, then a "/" (the root's "/" is its own).
  const bool below = base_ == "/" ? path.starts_with("/")
                                  : path.size() > base_.size() + 1 && path.starts_with(base_) && path[base_.size()] == '/';
  if (!below) return false;
  const std::size_t from = base_ == "/" ? 1 : base_.size() + 1;
  return path_glob_matches(glob_, std::string_view(path).substr(from));
}

}  // namespace flawseek
