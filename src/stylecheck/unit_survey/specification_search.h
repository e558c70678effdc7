// Where the unit survey finds the specification of a unit: the file's own
// directory, then the reference directories, an entry ending in "/*" standing
// for its directory and every directory below it.
#pragma once

#include <map>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace flawseek {

// The ";"-separated directory list of a path text; empty elements (and blanks
// around elements) are skipped.
std::vector<std::string> split_directory_list(std::string_view text);

// The candidate file names of a unit's specification, in the order they are
// tried: the unit name with every "." made "-", then ".ads", "_.ada", "_.adq".
std::vector<std::string> specification_candidates(std::string_view unit_name);

class SpecificationSearch {
 public:
  // The reference entries, in search order; listings read so far are
  // forgotten, so a new search sees the file system as it is then.
  void set_reference_entries(std::vector<std::string> entries);
  const std::vector<std::string>& reference_entries() const noexcept { return entries_; }

  // The first existing specification file of `unit_name` in `directory`;
  // empty when none exists. Names derived from a unit name are found without
  // regard to letter case: an exact match first, otherwise the one directory
  // entry that matches ignoring case (two such entries match none).
  std::string find_in_directory(const std::string& directory, std::string_view unit_name);

  // The first existing specification file of `unit_name` in `own_directory`,
  // then along `entries` (the reference entries when `entries` is null).
  std::string find(std::string_view unit_name, const std::string& own_directory,
                   const std::vector<std::string>* entries = nullptr);

 private:
  // What a directory holds, read once and read again when the directory's
  // modification time changes (a window may run many searches).
  struct Listing {
    bool exists = false;
    long long seconds = 0;
    long nanoseconds = 0;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    std::vector<std::string> files;    // regular files, exact names, sorted
    std::map<std::string, std::string, std::less<>> by_lower_name;  // "" when two share it
    std::vector<std::string> subdirectories;  // names, sorted
  };
  const Listing& listing_of(const std::string& directory);
  std::string find_in_listing(const std::string& directory, const Listing& listing);
  // Searches `directory` and, when `subtree`, every directory below it (name
  // order, depth first, each directory once even through symbolic links).
  std::string find_below(const std::string& directory, bool subtree);

  std::vector<std::string> entries_;
  std::map<std::string, Listing, std::less<>> listings_;
  std::vector<std::string> candidates_;
  std::vector<std::pair<unsigned long long, unsigned long long>> visited_;
};

}  // namespace flawseek
