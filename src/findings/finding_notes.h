// What the machine-readable outputs know about a search beyond its findings:
// the checks' own words for some findings (a syntax error's "then expected")
// and the bug findings that suppression marks absorbed. Kept beside the
// findings lists, which stay as the tree and the reports need them.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "findings/finding.h"

namespace flawseek {

struct SuppressedFinding {
  FindingKind kind;
  Finding finding;
};

class FindingNotes {
 public:
  struct Detail {
    std::size_t position;
    std::string_view text;
  };

  // `position` counts the findings of `kind` from 0, in list order.
  void set_detail(FindingKind kind, std::size_t position, std::string_view detail);
  // The same for a detail passed through collapse_blanks already.
  void set_collapsed_detail(FindingKind kind, std::size_t position, std::string_view detail);
  // Empty when the check said nothing more.
  std::string_view detail(FindingKind kind, std::size_t position) const;
  // The details of `kind`'s findings, in rising position.
  std::span<const Detail> details(FindingKind kind) const { return details_[kind.index()]; }

  void add_suppressed(FindingKind kind, Finding finding) { suppressed_.push_back({kind, std::move(finding)}); }
  const std::vector<SuppressedFinding>& suppressed() const { return suppressed_; }

  void clear();

 private:
  // The texts lie one after another in blocks that never move, so a view
  // handed out stays valid as more come; a finding costs no allocation of
  // its own, which matters where style findings each carry words.
  std::string_view keep_text(std::string_view text);

  // Per kind, in rising position: a detail is set for the finding just listed.
  std::array<std::vector<Detail>, FindingKind::count> details_;
  std::vector<std::unique_ptr<char[]>> text_blocks_;
  std::size_t block_used_ = 0;
  std::size_t block_size_ = 0;
  std::string collapsed_;  // room for a text being collapsed
  std::vector<SuppressedFinding> suppressed_;
};

}  // namespace flawseek
