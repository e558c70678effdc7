// The bug checker of one file or pair: its parser instances, reader, marks
// and counters, and the steps the per-file driver calls.
#include "bugcheck/bug_checker.h"

#include <system_error>

#include "bugcheck/check_hooks.h"
#include "bugcheck/check_reporter.h"
#include "bugcheck/prepare_hooks.h"
#include "bugcheck/report_gateway.h"
#include "bugcheck/source_line_reader.h"
#include "findings/finding.h"
#include "frontend/ada_parser.h"
#include "platform/file_io.h"

namespace flawseek {

class BugChecker::Impl {
 public:
  explicit Impl(FindingSink& sink) : gateway(sink) {}

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

  ReportGateway gateway;
  SourceLineReader reader{gateway};
  CheckReporter reporter{gateway, reader.ring()};
  // Filled by the preparation pass, read by the check pass of the same run.
  TextList box_default_names;
  CheckHooks check_hooks{reporter, box_default_names};
  PrepareHooks prepare_hooks{box_default_names};
  AdaParser<CheckHooks> check_parser{check_hooks};
  AdaParser<PrepareHooks> prepare_parser{prepare_hooks};
  std::string source_text;
  // The line reached when the source was closed: the reader no longer holds it.
  std::int32_t closed_at_line = 0;
  bool source_closed = false;
  std::string current_specification;
};

BugChecker::BugChecker(FindingSink& sink) : impl_(std::make_unique<Impl>(sink)) {}
BugChecker::~BugChecker() = default;

void BugChecker::set_sink(FindingSink& sink) { impl_->gateway.set_sink(sink); }

void BugChecker::start(std::int32_t finding_limit) {
  impl_->gateway.start(finding_limit);
  impl_->reader.set_style_checks(false);
  impl_->box_default_names.clear();
}

void BugChecker::set_style_checks(bool on) { impl_->reader.set_style_checks(on); }
void BugChecker::set_report_superfluous_marks(bool on) { impl_->gateway.set_report_superfluous_marks(on); }
void BugChecker::clear_marks() { impl_->gateway.clear_marks(); }

void BugChecker::reset_unit_lists() { impl_->check_hooks.declarations().reset_check(); }

void BugChecker::set_current_specification(std::string_view name) {
  impl_->current_specification.assign(name);
}

bool BugChecker::open_source(const std::string& path, std::string& error) {
  close_source();
  impl_->source_closed = false;
  std::string& text = impl_->source_text;
  int failure = read_whole_file(path, text);
  if (failure != 0) error = path + ": " + std::system_category().message(failure);
  impl_->reader.restart(text);
  return failure == 0;
}

void BugChecker::use_source_text(std::string_view text) {
  impl_->source_text.assign(text);
  impl_->source_closed = false;
  impl_->reader.restart(impl_->source_text);
}

void BugChecker::close_source() {
  Impl& d = *impl_;
  if (!d.source_closed) d.closed_at_line = d.reader.line_number();
  d.source_closed = true;
  d.reader.restart({});
  d.source_text.clear();
  d.source_text.shrink_to_fit();
}

void BugChecker::reset_file_unit_lists() { impl_->check_hooks.declarations().reset_file(); }

void BugChecker::run_preparation(bool is_adq) {
  Impl& d = *impl_;
  d.reader.restart(d.source_text);
  d.reader.reset_style(default_style_rules);
  Impl::StyleTargetScope target(d.reader, d.prepare_parser);
  d.prepare_parser.parse(FileRole::SINGLE_FILE, default_style_rules, /*gnat_extensions=*/true,
                         d.reader.line_source(), is_adq);
}

bool BugChecker::run_check(const ParseMode& mode) {
  Impl& d = *impl_;
  d.reader.restart(d.source_text);
  d.reader.reset_style(mode.style_rules);
  d.check_hooks.set_accepted_spellings(mode.accepted_spellings);
  Impl::StyleTargetScope target(d.reader, d.check_parser);
  d.check_parser.parse(mode.role, mode.style_rules, mode.gnat_extensions, d.reader.line_source(),
                       mode.is_adq);
  return d.reader.style_command_seen();
}

void BugChecker::after_specification() { impl_->check_hooks.declarations().after_specification(); }
void BugChecker::after_body() { impl_->check_hooks.declarations().after_body(); }
void BugChecker::after_pair() { impl_->check_hooks.declarations().after_pair(); }

void BugChecker::report_unused_marks() { impl_->gateway.report_unused_marks(); }

std::int32_t BugChecker::current_line() const {
  return impl_->source_closed ? impl_->closed_at_line : impl_->reader.line_number();
}

void BugChecker::report_internal_error(std::int32_t line) {
  impl_->gateway.report_uncounted_bug(BugKind::INTERNAL_ERROR, line, no_column, {});
}

void BugChecker::report_no_style_checks() {
  impl_->gateway.report_uncounted_style(StyleKind::NO_STYLE_CHECKS, 0, no_column, {});
}

std::int32_t BugChecker::finding_count() const { return impl_->gateway.finding_count(); }

}  // namespace flawseek
