// ReportedKinds: which finding kinds a run reports, in every file and by
// path. The job says which kinds the analysis looks for; the user may narrow
// that (--select, --ignore) and drop kinds under some paths ("tests/**"
// without unused declarations). A finding of a kind not reported is dropped
// as it arrives, so no output, count or exit status sees it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"
#include "platform/path_glob.h"

namespace flawseek {

class ReportedKinds {
 public:
  using Mask = std::array<bool, FindingKind::count>;

  ReportedKinds() { everywhere_.fill(true); }

  // The kinds reported in every file.
  void set_everywhere(const Mask& reported) { everywhere_ = reported; }
  // Kinds dropped in the files whose path, relative to `base`, matches
  // `glob` (see path_glob.h).
  void add_path_rule(std::string_view base, std::string glob, const Mask& dropped) {
    path_rules_.push_back({AnchoredGlob(base, std::move(glob)), dropped});
  }

  // Reports `kind` everywhere, whatever the lists said: a run that must know
  // of it (fixing files, which a syntax error rules out) widens the lists
  // and leaves its outputs to the user's.
  void report_everywhere(FindingKind kind);

  // Whether anything is dropped at all: a run that narrows nothing pays nothing.
  bool narrows() const;
  // The kinds reported in `file` (as the walk names it: absolute, or
  // relative to the current directory).
  Mask for_file(std::string_view file) const;

 private:
  struct PathRule {
    AnchoredGlob where;
    Mask dropped;
  };
  Mask everywhere_;
  std::vector<PathRule> path_rules_;
};

}  // namespace flawseek
