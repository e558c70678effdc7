// Path globs as linters take them in their exclude lists: "*" is any run of
// characters within one path segment, "?" one character but "/", and "**"
// a whole segment standing for any number of segments, none included
// ("generated/**", "**/*_svd-*.ads", "src/**/tests/*.adb"). Paths are
// relative, with "/" between segments, and compare with letter case, as
// Linux file names do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

bool path_glob_matches(std::string_view glob, std::string_view path);

// One name against "*" (any run of characters) and "?" (one), ASCII letters
// in either case when `ignore_case`: the greedy walk that backs up to the
// last "*", linear in practice and never worse than the product of the
// lengths, whatever the input.
bool wildcard_matches(std::string_view pattern, std::string_view name, bool ignore_case);

// A glob relative to a directory of its own: a project file's, or the
// current directory for one given on the command line.
class AnchoredGlob {
 public:
  // `base`: the directory, absolute or relative to the current directory;
  // an absolute glob is anchored at the root instead.
  AnchoredGlob(std::string_view base, std::string glob);

  // Whether `file` (absolute, or relative to the current directory) lies
  // below the base and its path from there matches.
  bool matches(std::string_view file) const { return matches_absolute(absolute_path(file)); }
  // The same for a path made absolute and normal by absolute_path.
  bool matches_absolute(std::string_view path) const;
  // `file` absolute (from the current directory when this glob was made)
  // and normal, without a final "/".
  std::string absolute_path(std::string_view file) const;
  const std::string& glob() const { return glob_; }

 private:
  std::string base_;  // absolute and normal
  std::string glob_;
  std::string current_directory_;  // for relative files, taken once
};

// Any of several anchored globs.
class AnchoredGlobs {
 public:
  void add(std::string_view base, std::string glob) { globs_.emplace_back(base, std::move(glob)); }
  bool empty() const { return globs_.empty(); }
  bool matches(std::string_view file) const {
    if (globs_.empty()) return false;
    const std::string path = globs_.front().absolute_path(file);
    for (const AnchoredGlob& glob : globs_) {
      if (glob.matches_absolute(path)) return true;
    }
    return false;
  }

 private:
  std::vector<AnchoredGlob> globs_;
};

}  // namespace flawseek
