// Finding a unit's specification file by name, without regard to letter case,
// in a directory, a directory subtree and along the reference entries.
#include "stylecheck/unit_survey/specification_search.h"

#include <algorithm>

#include "frontend/text_utilities.h"
#include "platform/disk.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

std::string lower_case(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(latin1::to_lower(static_cast<unsigned char>(c)));
  return lower;
}

std::string joined(const std::string& directory, std::string_view name) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

// Sorts a listing's entries into its files and subdirectories, links
// followed ("exists" and "is a directory" follow symbolic links).
class ListingFiller final : public EntryVisitor {
 public:
  ListingFiller(const std::string& directory, std::vector<std::string>& files,
                std::vector<std::string>& subdirectories)
      : directory_(directory), files_(files), subdirectories_(subdirectories) {}

  void on_entry(std::string_view name, FileKind) override {
    PathStatus status;
    if (disk().status(joined(directory_, name), status) != 0) return;
    if (status.kind == FileKind::Regular) {
      files_.emplace_back(name);
    } else if (status.kind == FileKind::Directory) {
      subdirectories_.emplace_back(name);
    }
  }

 private:
  const std::string& directory_;
  std::vector<std::string>& files_;
  std::vector<std::string>& subdirectories_;
};

}  // namespace

std::vector<std::string> split_directory_list(std::string_view text) {
  std::vector<std::string> directories;
  while (!text.empty()) {
    const std::size_t semicolon = text.find(';');
    const std::string_view element = trim_blanks(text.substr(0, semicolon));
    if (!element.empty()) directories.emplace_back(element);
    if (semicolon == std::string_view::npos) break;
    text.remove_prefix(semicolon + 1);
  }
  return directories;
}

std::vector<std::string> specification_candidates(std::string_view unit_name) {
  std::string base(unit_name);
  std::replace(base.begin(), base.end(), '.', '-');
  return {base + ".ads", base + "_.ada", base + "_.adq"};
}

void SpecificationSearch::set_reference_entries(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  listings_.clear();
}

const SpecificationSearch::Listing& SpecificationSearch::listing_of(const std::string& directory) {
  Listing& listing = listings_[directory];
  PathStatus status;
  if (disk().status(directory, status) != 0 || status.kind != FileKind::Directory) {
    listing = Listing{};
    return listing;
  }
  if (listing.exists && listing.seconds == status.modified_seconds &&
      listing.nanoseconds == status.modified_nanoseconds) {
    return listing;
  }
  listing = Listing{};
  listing.exists = true;
  listing.seconds = status.modified_seconds;
  listing.nanoseconds = status.modified_nanoseconds;
  listing.device = status.device;
  listing.inode = status.inode;
  // An unreadable directory holds nothing.
  ListingFiller filler(directory, listing.files, listing.subdirectories);
  (void)disk().list_directory(directory, filler);
  std::sort(listing.files.begin(), listing.files.end());
  std::sort(listing.subdirectories.begin(), listing.subdirectories.end());
  for (const std::string& file : listing.files) {
    auto [place, added] = listing.by_lower_name.emplace(lower_case(file), file);
    if (!added) place->second.clear();
  }
  return listing;
}

std::string SpecificationSearch::find_in_listing(const std::string& directory, const Listing& listing) {
  for (const std::string& candidate : candidates_) {
    if (std::binary_search(listing.files.begin(), listing.files.end(), candidate)) {
      return joined(directory, candidate);
    }
    const auto match = listing.by_lower_name.find(lower_case(candidate));
    if (match != listing.by_lower_name.end() && !match->second.empty()) return joined(directory, match->second);
  }
  return {};
}

std::string SpecificationSearch::find_in_directory(const std::string& directory, std::string_view unit_name) {
  candidates_ = specification_candidates(unit_name);
  return find_in_listing(directory, listing_of(directory));
}

std::string SpecificationSearch::find_below(const std::string& directory, bool subtree) {
  const Listing& listing = listing_of(directory);
  if (!listing.exists) return {};
  std::string found = find_in_listing(directory, listing);
  if (!found.empty() || !subtree) return found;
  const std::pair<unsigned long long, unsigned long long> identity{listing.device, listing.inode};
  if (std::find(visited_.begin(), visited_.end(), identity) != visited_.end()) return {};
  visited_.push_back(identity);
  // The listing may be read again below (a link back up); keep the names.
  const std::vector<std::string> subdirectories = listing.subdirectories;
  for (const std::string& name : subdirectories) {
    found = find_below(joined(directory, name), true);
    if (!found.empty()) return found;
  }
  return {};
}

std::string SpecificationSearch::find(std::string_view unit_name, const std::string& own_directory,
                                      const std::vector<std::string>* entries) {
  candidates_ = specification_candidates(unit_name);
  std::string found = find_below(own_directory, false);
  if (!found.empty()) return found;
  for (const std::string& entry : entries != nullptr ? *entries : entries_) {
    // "dir/*" stands for the subtree; "/*" alone means "/" (searching the
    // whole file system for one specification would be no search).
    const bool subtree = entry.size() > 2 && entry.ends_with("/*");
    const std::size_t length = subtree ? entry.size() - 2 : entry == "/*" ? 1 : entry.size();
    const std::string directory = entry.substr(0, length);
    visited_.clear();
    found = find_below(directory, subtree);
    if (!found.empty()) return found;
  }
  return {};
}

}  // namespace flawseek
