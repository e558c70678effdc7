// --fix and --diff: the mends of a run's findings applied to their files.
// A file is rewritten only whole and only when every check passes: no
// syntax error in it, the file writable, its text still as the run read it
// and its tokens unchanged but for the mended words. Otherwise it is left as
// it was and a note says why.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <unordered_set>
#include <vector>

#include "findings/findings_list.h"
#include "findings/reported_kinds.h"
#include "output/finding_records.h"
#include "output/finding_statistics.h"

namespace flawseek {

enum class FixMode : std::uint8_t {
  Write,  // rewrite the files
  Diff,   // write a unified diff of what Write would do, touch nothing
};

struct FixOutcome {
  KindCounts fixed{};
  // The files rewritten (or, for a diff, that would be).
  std::vector<std::string> files;
  // The findings the mends removed.
  std::unordered_set<const Finding*> fixed_findings;
  // "FILE: not fixed: REASON", one per file left alone.
  std::vector<std::string> notes;
  // A file that should have been written could not be: the run fails.
  bool write_failed = false;
};

// Mends the findings of `findings` that can be mended; `paths` names files
// in notes and diffs; the diff goes to `diff_out`.
FixOutcome fix_sources(const FindingsList& findings, FixMode mode, const PathStyle& paths, std::ostream& diff_out);

// The syntax errors of `findings` that the run looked for only to know
// which files not to fix: those `user_kinds`, what the user asked to see,
// leaves out.
std::unordered_set<const Finding*> unasked_syntax_errors(const FindingsList& findings, const ReportedKinds& user_kinds);

// The summary for the terminal: "fixed 12 findings in 3 files; 5 remain",
// then a line per kind that had a fixable finding. `files` counts the files
// rewritten in every round.
std::string fix_summary(const KindCounts& fixed, std::size_t files, const KindCounts& remaining, FixMode mode);

}  // namespace flawseek
