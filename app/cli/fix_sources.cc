// Applying the mends of a run, file by file.
#include "fix_sources.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <span>
#include <thread>

#include "findings/rule_descriptor.h"
#include "output/fixed_source.h"
#include "output/source_fix.h"
#include "platform/disk.h"
#include "platform/file_io.h"
#include "unified_diff.h"

namespace flawseek {

namespace {

const FindingKind syntax_error_kind = BugKind::SYNTAX_ERROR;

// What became of one file's mends, merged into the outcome in walk order.
struct FileResult {
  std::vector<const FindingRecord*> fixed;  // the records whose mends went in
  std::string note;                         // why the file was left alone
  std::string diff;
  bool written = false;
  bool write_failed = false;
};

// Mends one file's records. One per thread: its buffers serve file after file.
class FileMender {
 public:
  FileMender(FixMode mode, const PathStyle& paths) : mode_(mode), paths_(paths) {}

  void mend(std::span<const FindingRecord> records, FileResult& result) {
    fixes_.clear();
    fixed_records_.clear();
    bool syntax_error = false;
    for (const FindingRecord& record : records) {
      if (record.kind == syntax_error_kind) syntax_error = true;
      if (auto fix = source_fix(record)) {
        fixes_.push_back(std::move(*fix));
        fixed_records_.push_back(&record);
      }
    }
    if (fixes_.empty()) return;
    const std::string& file = records.front().file->str();
    const auto leave = [&](const std::string& reason) { result.note = paths_.shown(file) + ": not fixed: " + reason; };
    if (syntax_error) return leave("it has a syntax error");
    PathStatus status;
    if (const int error = disk().status(file, status); error != 0) return leave(file_error_text(error));
    if (!status.writable) return leave("the file is read-only");
    text_.clear();
    if (const int error = disk().read_file(file, text_); error != 0) return leave(file_error_text(error));

    FixedSource fixed = apply_fixes(text_, fixes_);
    if (!fixed.refusal.empty()) return leave(fixed.refusal);
    // Findings that ask different spellings of one word: the word stays, and is said.
    const auto conflict = std::find(fixed.states.begin(), fixed.states.end(), FixState::Conflict);
    const auto say_conflict = [&] {
      const SourceFix& fix = fixes_[static_cast<std::size_t>(conflict - fixed.states.begin())];
      result.note = paths_.shown(file) + ":" + std::to_string(fix.line) + ": not fixed: its findings ask for different "
                    "spellings of `" + fix.replaced + "`";
    };
    if (fixed.applied == 0) {
      if (conflict != fixed.states.end()) return say_conflict();
      return leave("the file changed since it was checked");
    }
    if (mode_ == FixMode::Diff) {
      result.diff = unified_diff(paths_.shown(file), text_, fixed.text);
    } else if (const int error = disk().write_file(file, [&fixed](std::ostream& out) { out << fixed.text; });
               error != 0) {
      // A link is never written through: whoever planted it would choose the file replaced.
      if (error == ELOOP) return leave("it is a symbolic link");
      result.write_failed = true;
      return leave("cannot write it: " + file_error_text(error));
    }
    result.written = true;
    for (std::size_t i = 0; i < fixes_.size(); ++i) {
      if (fixed.states[i] == FixState::Applied) result.fixed.push_back(fixed_records_[i]);
    }
    if (conflict != fixed.states.end()) say_conflict();
  }

 private:
  FixMode mode_;
  const PathStyle& paths_;
  std::vector<SourceFix> fixes_;
  std::vector<const FindingRecord*> fixed_records_;
  std::string text_;
};

// Writing a file waits on the disk (a new file beside it, its data synced,
// the rename), not on a core: several files are mended at once so that the
// waits overlap.
constexpr unsigned mending_threads = 8;

const char* remain_words(std::int64_t count, bool diff) {
  return diff ? " would remain" : count == 1 ? " remains" : " remain";
}

std::string findings_count(std::int64_t count) {
  return std::to_string(count) + (count == 1 ? " finding" : " findings");
}

}  // namespace

FixOutcome fix_sources(const FindingsList& findings, FixMode mode, const PathStyle& paths, std::ostream& diff_out) {
  const std::vector<FindingRecord> records = ordered_findings(findings);
  std::vector<std::span<const FindingRecord>> files;
  for (std::size_t start = 0, end = 0; start < records.size(); start = end) {
    end = start + 1;
    while (end < records.size() && *records[end].file == *records[start].file) ++end;
    files.emplace_back(records.data() + start, end - start);
  }

  std::vector<FileResult> results(files.size());
  std::atomic<std::size_t> next_file{0};
  const auto mend_files = [&] {
    FileMender mender(mode, paths);
    for (std::size_t index = next_file++; index < files.size(); index = next_file++) {
      mender.mend(files[index], results[index]);
    }
  };
  {
    std::vector<std::jthread> helpers;
    const unsigned count = std::min<std::size_t>(mending_threads, files.size());
    for (unsigned i = 1; i < count; ++i) helpers.emplace_back(mend_files);
    mend_files();
  }

  FixOutcome outcome;
  for (std::size_t index = 0; index < files.size(); ++index) {
    FileResult& result = results[index];
    if (!result.note.empty()) outcome.notes.push_back(std::move(result.note));
    outcome.write_failed = outcome.write_failed || result.write_failed;
    diff_out << result.diff;
    if (result.written) outcome.files.push_back(files[index].front().file->str());
    for (const FindingRecord* record : result.fixed) {
      ++outcome.fixed[static_cast<std::size_t>(record->kind.index())];
      if (record->listed != nullptr) outcome.fixed_findings.insert(record->listed);
    }
  }
  return outcome;
}

std::unordered_set<const Finding*> unasked_syntax_errors(const FindingsList& findings, const ReportedKinds& user_kinds) {
  std::unordered_set<const Finding*> unasked;
  for (const Finding& finding : findings.findings(syntax_error_kind)) {
    if (!user_kinds.for_file(finding.file.str())[static_cast<std::size_t>(syntax_error_kind.index())]) {
      unasked.insert(&finding);
    }
  }
  return unasked;
}

std::string fix_summary(const KindCounts& fixed_counts, std::size_t files, const KindCounts& remaining, FixMode mode) {
  std::int64_t fixed = 0;
  std::int64_t left = 0;
  for (int index = 0; index < FindingKind::count; ++index) {
    fixed += fixed_counts[static_cast<std::size_t>(index)];
    left += remaining[static_cast<std::size_t>(index)];
  }
  const bool diff = mode == FixMode::Diff;
  std::string text = diff ? "would fix " : "fixed ";
  text += findings_count(fixed) + " in " + std::to_string(files) + (files == 1 ? " file; " : " files; ") +
          std::to_string(left) + remain_words(left, diff) + "\n";
  for (int index = 0; index < FindingKind::count; ++index) {
    const FindingKind kind = FindingKind::from_index(index);
    const std::int64_t kind_fixed = fixed_counts[static_cast<std::size_t>(index)];
    const std::int64_t kind_left = remaining[static_cast<std::size_t>(index)];
    if (kind_fixed == 0 && (kind_left == 0 || !rule_descriptor(kind).fixable)) continue;
    text += "  " + std::string(rule_descriptor(kind).id) + ": " + std::to_string(kind_fixed) +
            (diff ? " would be fixed, " : " fixed, ") + std::to_string(kind_left) + remain_words(kind_left, diff) + "\n";
  }
  return text;
}

}  // namespace flawseek
