// Baselines: the findings of an earlier run (its JSON or SARIF report) that
// a run leaves out, so CI fails only on new findings in an old code base. A
// finding is known when the baseline holds one of the same file (relative to
// the root), kind and source text; line numbers play no part, so inserting
// lines above a finding does not make it new. Each baseline entry matches
// one finding: a second copy of a known finding is new.
#pragma once

#include <filesystem>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "output/finding_records.h"
#include "output/report_context.h"

namespace flawseek {

class FindingsList;

class Baseline {
 public:
  // The entries of a flawseek JSON document or SARIF log; nothing, and the
  // reason in `error`, when the file cannot be read or is neither. The
  // document is read as it comes: memory holds the entries, not the text.
  static std::optional<Baseline> read(const std::filesystem::path& path, std::string& error);
  static std::optional<Baseline> parse(const std::string& text, std::string& error);

  // The findings among `records` that the baseline knows; with `absent`,
  // also the baseline's entries that no record matched (one per copy).
  std::unordered_set<const Finding*> known_findings(const std::vector<FindingRecord>& records,
                                                    const ReportContext& context,
                                                    std::vector<ReportContext::AbsentFinding>* absent = nullptr) const;
  std::size_t size() const { return size_; }

 private:
  using Key = std::tuple<std::string, std::string, std::string>;  // file, id, source text
  static std::optional<Baseline> from_events(std::istream& in, std::string& error);
  void add(Key key);

  std::map<Key, int> counts_;
  std::size_t size_ = 0;
};

// Fills `to` (empty, set up as the caller wants: view, unchecked-style
// setting) with the findings of `from` that are not `known`, in their order,
// with their details and the suppressed findings.
void copy_findings_except(const FindingsList& from, const std::unordered_set<const Finding*>& known, FindingsList& to);

}  // namespace flawseek
