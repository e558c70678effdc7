// The findings as the outputs grouped by kind read them (the tree, the CSV
// and plain-text reports): each kind's findings in the order found, with
// where the tree starts a new file item. A findings list is one source; the
// compact store of a run that keeps only what those outputs need is another,
// and both give the same text.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "findings/finding.h"

namespace flawseek {

class FindingsList;

struct KindFinding {
  const SharedPath& file;
  std::int32_t line;
  std::int32_t column;
  std::string_view reason;
  std::string_view detail;  // kept for syntax errors, which the tree shows it for
  bool starts_file_item;    // the first of the kind since its file was entered
};

class FindingsByKind {
 public:
  virtual ~FindingsByKind() = default;
  virtual std::int64_t count(FindingKind kind) const = 0;
  virtual std::int64_t findings_count() const = 0;
  virtual std::int64_t style_count() const = 0;
  // Calls `visit` for each finding of `kind`, in the order found.
  virtual void for_each(FindingKind kind, const std::function<void(const KindFinding&)>& visit) const = 0;
};

// A findings list that holds its findings, read as such a source.
class ListedFindings final : public FindingsByKind {
 public:
  explicit ListedFindings(const FindingsList& list) : list_(list) {}
  std::int64_t count(FindingKind kind) const override;
  std::int64_t findings_count() const override;
  std::int64_t style_count() const override;
  void for_each(FindingKind kind, const std::function<void(const KindFinding&)>& visit) const override;

 private:
  const FindingsList& list_;
};

}  // namespace flawseek
