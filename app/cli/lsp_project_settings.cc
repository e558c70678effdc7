// A directory's settings, read with the command line's own parsers.
#include "lsp_project_settings.h"

#include <string_view>

#include "command_line.h"
#include "driver/headless_job_controls.h"
#include "driver/job.h"
#include "driver/source_search.h"
#include "platform/environment.h"
#include "project_file.h"

namespace flawseek {

DocumentSettings read_document_settings(const std::string& directory) {
  DocumentSettings settings;
  const std::string current = current_directory_text();
  const std::string_view arguments[] = {"--", directory};
  ConfiguredCommandLine configured = parse_configured_command_line(arguments, current);
  settings.project_warnings = configured.warnings;
  if (!configured.ok()) {
    settings.project_error = !configured.project_error.empty() ? configured.project_error : configured.parsed.error;
    configured.parsed.command_line = CommandLine{};
  }
  const CommandLine& command = configured.parsed.command_line;
  HeadlessJobControls controls;
  Job job(controls, nullptr, JobPersistence::ReadOnly);
  apply_job_flags(command.job, job);
  settings.scan = ScanSettings::from_job(job);
  settings.scan.keep_log_records = false;
  settings.scan.style_details = true;  // the messages and the fixes read them
  settings.prepare = job.option_is_set(Option::PREPARATION_PHASE);
  if (settings.scan.relaxed_styles) {
    const ReferencePathCheck check = validate_reference_path(job.reference_path(), current);
    if (check.valid) {
      settings.reference_directories = check.entries;
    } else if (settings.project_error.empty()) {
      settings.project_error = "invalid directory in the reference path: " + check.bad_entry;
    }
  }
  settings.reported = reported_kinds(command);
  for (const std::string& glob : command.excludes) settings.excluded.add(".", glob);
  settings.list_unchecked_style = job.list_unchecked_style();
  return settings;
}

std::shared_ptr<const DocumentSettings> ProjectSettings::for_directory(const std::string& directory) {
  std::uint64_t generation = 0;
  {
    std::lock_guard lock(mutex_);
    if (const auto found = known_.find(directory); found != known_.end()) return found->second;
    generation = generation_;
  }
  // Read outside the lock; what was read before a forget_all is not kept.
  auto settings = std::make_shared<const DocumentSettings>(read_document_settings(directory));
  std::lock_guard lock(mutex_);
  if (generation == generation_) known_[directory] = settings;
  return settings;
}

void ProjectSettings::forget_all() {
  std::lock_guard lock(mutex_);
  known_.clear();
  ++generation_;
}

}  // namespace flawseek
