// The bug checker of one file or pair: its parser instances, reader, marks
// and counters, and the steps the per-file driver calls.
#include "bugcheck/bug_checker.h"

#include <string.h>  // memrchr

#include <cstring>

#include "bugcheck/check_hooks.h"
#include "bugcheck/check_reporter.h"
#include "bugcheck/prepare_hooks.h"
#include "bugcheck/report_gateway.h"
#include "bugcheck/source_line_reader.h"
#include "bugcheck/stop_request.h"
#include "findings/file_findings.h"
#include "findings/finding.h"
#include "frontend/ada_line_reader.h"
#include "frontend/ada_parser.h"
#include "platform/disk.h"

namespace flawseek {

namespace {

// The room for a source's text that is kept from one file to the next:
// larger than nearly every real source, small next to the analysis.
constexpr std::size_t source_room_kept = std::size_t{1} << 20;

// Whether some line of `text` (counted between line feeds, so a line ended
// by a lone CR counts with the next) is longer than `limit`. Each search
// looks back from the farthest end a short line could have, so a text of
// short lines costs one search per `limit` bytes, not one per line.
bool has_line_longer_than(std::string_view text, std::size_t limit) noexcept {
  std::size_t start = 0;
  while (text.size() - start > limit) {
    const void* end = ::memrchr(text.data() + start, '\n', limit + 1);
    if (end == nullptr) return true;
    start = static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1;
  }
  return false;
}

}  // namespace

class BugChecker::Impl {
 public:
  // Where reports go until the driver names the first result.
  FileFindings unclaimed;

  // The reader sets the style settings of the parser that reads through it,
  // and of no other once the parse is over, however it ended.
  class StyleTargetScope {
   public:
    StyleTargetScope(SourceLineReader& reader, ParserState& parser) : reader_(reader) {
      reader_.set_style_target(&parser);
    }
    ~StyleTargetScope() { reader_.set_style_target(nullptr); }
    StyleTargetScope(const StyleTargetScope&) = delete;
    StyleTargetScope& operator=(const StyleTargetScope&) = delete;

   private:
    SourceLineReader& reader_;
  };

  ReportGateway gateway{unclaimed};
  SourceLineReader reader{gateway};
  CheckReporter reporter{gateway, reader.ring()};
  // Filled by the preparation pass, read by the check pass of the same run.
  TextList box_default_names;
  CheckHooks check_hooks{reporter, box_default_names};
  PrepareHooks prepare_hooks{box_default_names};
  AdaParser<CheckHooks> check_parser{check_hooks};
  AdaParser<PrepareHooks> prepare_parser{prepare_hooks};
  // Room for the text of the file being read; it is kept from file to file,
  // so its size is the room, not the text.
  FileRoom source_room;
  // What the passes read: the start of the room, or a text held by the
  // caller.
  std::string_view source;
  // The line reached when the source was closed: the reader no longer holds it.
  std::int32_t closed_at_line = 0;
  bool source_closed = false;
  std::string current_specification;
};

BugChecker::BugChecker() : impl_(std::make_unique<Impl>()) {}
BugChecker::~BugChecker() = default;

void BugChecker::set_finding_sink(FindingSink& sink) { impl_->gateway.set_sink(sink); }

void BugChecker::start(std::int32_t finding_limit) {
  impl_->gateway.start(finding_limit);
  impl_->reader.set_style_checks(false);
  impl_->box_default_names.clear();
}

// The search is over: the directory the room kept open for the next source
// must not stay busy until the next search.
void BugChecker::finish() { impl_->source_room.release(); }

void BugChecker::begin_unit(bool report_superfluous_marks, std::string_view specification) {
  Impl& d = *impl_;
  d.reader.set_style_checks(true);
  d.gateway.set_report_superfluous_marks(report_superfluous_marks);
  d.gateway.clear_marks();
  d.current_specification.assign(specification);
  d.check_hooks.declarations().reset_check();
}

void BugChecker::set_style_checks(bool on) { impl_->reader.set_style_checks(on); }

bool BugChecker::open_source(const std::string& path, std::string& error) {
  close_source();
  impl_->source_closed = false;
  const int failure = disk().read_into_room(path, impl_->source_room);
  if (failure != 0) error = path + ": " + file_error_text(failure);
  impl_->source = impl_->source_room.text();
  impl_->reader.restart(impl_->source);
  return failure == 0;
}

bool BugChecker::source_holds_tab() const {
  return std::memchr(impl_->source.data(), '\t', impl_->source.size()) != nullptr;
}

void BugChecker::use_source_text(std::string_view text) {
  impl_->source_room.bytes.assign(text);
  use_source_view(impl_->source_room.bytes);
}

void BugChecker::use_source_view(std::string_view text) {
  impl_->source = text;
  impl_->source_closed = false;
  impl_->reader.restart(text);
}

void BugChecker::close_source() noexcept {
  Impl& d = *impl_;
  if (!d.source_closed) d.closed_at_line = d.reader.line_number();
  d.source_closed = true;
  d.reader.restart({});
  d.source = {};
  // The room of an ordinary source stays for the next file, so a file costs
  // no fresh allocation (zeroed, and above the allocator's mapping threshold
  // a fresh mapping faulted in page by page). Only an unusually large text's
  // room is given back.
  if (d.source_room.bytes.size() > source_room_kept) std::string().swap(d.source_room.bytes);
}

CheckOutcome BugChecker::run_preparation(bool is_adq, AdaVersion ada_version) {
  Impl& d = *impl_;
  // The preparation only collects box defaults, and its parse reports
  // nothing but a line too long to read. A source that can hold no box
  // default and has no such line would be parsed for nothing; most
  // specifications are of that kind.
  if (!may_hold_box_default(d.source) && !has_line_longer_than(d.source, AdaLineReader::long_line_limit)) {
    return CheckOutcome::Completed;
  }
  d.reader.restart(d.source);
  d.reader.reset_style(default_style_rules);
  Impl::StyleTargetScope target(d.reader, d.prepare_parser);
  try {
    d.prepare_parser.set_job_ada_version(ada_version);
    d.prepare_parser.parse(FileRole::SINGLE_FILE, default_style_rules, /*gnat_extensions=*/true,
                           d.reader.line_source(), is_adq);
  } catch (const StopRequest&) {
    return CheckOutcome::Stopped;
  }
  return CheckOutcome::Completed;
}

CheckOutcome BugChecker::run_check(const ParseMode& mode, bool& style_command_seen) {
  Impl& d = *impl_;
  d.check_hooks.declarations().reset_file();
  d.reader.restart(d.source);
  d.reader.reset_style(mode.style_rules);
  d.check_hooks.set_accepted_spellings(mode.accepted_spellings);
  d.gateway.set_style_details(mode.style_details);
  Impl::StyleTargetScope target(d.reader, d.check_parser);
  style_command_seen = false;
  try {
    d.check_parser.set_job_ada_version(mode.ada_version);
    d.check_parser.parse(mode.role, mode.style_rules, mode.gnat_extensions, d.reader.line_source(),
                         mode.is_adq);
  } catch (const StopRequest& stop) {
    return stop.cause() == StopRequest::Cause::LineTooLong ? CheckOutcome::CutShort : CheckOutcome::Stopped;
  }
  style_command_seen = d.reader.style_command_seen();
  return CheckOutcome::Completed;
}

// The bookkeeping of a pair may report (unused units), and so reach the
// finding limit: a stop like any other.
template <class Step>
static CheckOutcome stoppable(Step&& step) {
  try {
    step();
  } catch (const StopRequest&) {
    return CheckOutcome::Stopped;
  }
  return CheckOutcome::Completed;
}

CheckOutcome BugChecker::after_specification() {
  return stoppable([this] { impl_->check_hooks.declarations().after_specification(); });
}
CheckOutcome BugChecker::after_body() {
  return stoppable([this] { impl_->check_hooks.declarations().after_body(); });
}
CheckOutcome BugChecker::after_pair() {
  return stoppable([this] { impl_->check_hooks.declarations().after_pair(); });
}

void BugChecker::report_unused_marks() { impl_->gateway.report_unused_marks(); }

PreparationResult BugChecker::preparation_result() const {
  PreparationResult result;
  result.box_default_names.assign(impl_->box_default_names.begin(), impl_->box_default_names.end());
  return result;
}

void BugChecker::add_preparation_result(const PreparationResult& result) {
  for (const std::string& name : result.box_default_names) add_box_default_name(impl_->box_default_names, name);
}

std::int32_t BugChecker::current_line() const {
  return impl_->source_closed ? impl_->closed_at_line : impl_->reader.line_number();
}

std::int32_t BugChecker::finding_count() const { return impl_->gateway.finding_count(); }

}  // namespace flawseek
