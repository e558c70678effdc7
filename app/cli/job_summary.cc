// The job, as lines of "Name: value".
#include "job_summary.h"

#include <algorithm>
#include <array>

#include "driver/job.h"
#include "findings/finding_id.h"
#include "platform/label.h"
#include "project_file.h"

namespace flawseek {

namespace {
std::string on_off(bool on) { return on ? "on" : "off"; }

// "all", "none" or the ids of the kinds marked, ", " between them.
std::string kinds_text(const std::array<bool, FindingKind::count>& kinds) {
  const auto marked = static_cast<int>(std::count(kinds.begin(), kinds.end(), true));
  if (marked == FindingKind::count) return "all";
  if (marked == 0) return "none";
  // A whole family is named by it.
  for (const bool style : {false, true}) {
    bool whole = true;
    for (int index = 0; index < FindingKind::count; ++index) {
      whole = whole && kinds[static_cast<std::size_t>(index)] == (FindingKind::from_index(index).is_style() == style);
    }
    if (whole) return style ? "style" : "bug";
  }
  std::string text;
  for (int index = 0; index < FindingKind::count; ++index) {
    if (!kinds[static_cast<std::size_t>(index)]) continue;
    if (!text.empty()) text += ", ";
    text += finding_id(FindingKind::from_index(index));
  }
  return text;
}

std::string listed(const std::vector<std::string>& items, std::string_view none) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += ", ";
    text += item;
  }
  return text.empty() ? std::string(none) : text;
}
}  // namespace

std::string job_summary(const Job& job) {
  std::string text = "Search Root: " + job.search_root() + "\n";
  if (job.extended_style_mode()) text += "Reference Path: " + job.reference_path() + "\n";
  const int shown_options = job.extended_style_mode() ? option_count : basic_option_count;
  for (int position = 0; position < shown_options; ++position) {
    const auto option = static_cast<Option>(position);
    text += label(image(option)) + ": " + on_off(job.option_is_set(option)) + "\n";
  }
  text += "Ada Version: " + std::string(image(job.ada_version())) + "\n";
  if (job.extended_style_mode()) text += "Default Rule Book: " + label(image(job.current_style_set())) + "\n";
  text += "List Unchecked Style: " + on_off(job.list_unchecked_style()) + "\n";

  std::string kinds;
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    if (!job.style_kind_enabled(kind)) continue;
    if (!kinds.empty()) kinds += ", ";
    kinds += label(image(kind));
  }
  text += "Style: " + (kinds.empty() ? std::string("none") : kinds) + "\n";
  return text;
}

std::string run_summary(const ConfiguredCommandLine& configured) {
  const CommandLine& command = configured.parsed.command_line;
  std::string text = "Format: " + std::string(format_name(command.format)) + "\n";
  text += "Report: " + command.report_file.value_or("none") + "\n";
  std::array<bool, FindingKind::count> every{};
  every.fill(true);
  text += "Select: " + kinds_text(command.select.value_or(every)) + "\n";
  text += "Ignore: " + kinds_text(command.ignore) + "\n";
  text += "Fail On: " + kinds_text(command.fail_on.value_or(every)) + "\n";
  text += "Exclude: " + listed(command.excludes, "none") + "\n";
  std::vector<std::string> path_ignores;
  for (const CommandLine::PathIgnore& ignore : command.path_ignores) {
    path_ignores.push_back(ignore.glob + "=" + kinds_text(ignore.kinds));
  }
  text += "Per-Path Ignores: " + listed(path_ignores, "none") + "\n";
  text += "Baseline: " + command.baseline_file.value_or("none") + "\n";
  text += "Write Baseline: " + command.write_baseline_file.value_or("none") + "\n";
  text += "Jobs: " + (command.jobs == 0 ? std::string("one per core") : std::to_string(command.jobs)) + "\n";
  static constexpr std::array<std::string_view, 3> column_counts = {"screen", "chars", "bytes"};
  text += "Columns: " + std::string(column_counts[static_cast<std::size_t>(command.columns)]) + "\n";
  text += "Statistics: " + on_off(command.statistics) + "\n";
  text += "Show Suppressed: " + on_off(command.show_suppressed) + "\n";
  text += "Fix: " + std::string(command.fix ? "rewrite the sources" : command.diff ? "show the diff" : "off") + "\n";
  text += "From The Project File: " + listed(configured.project_keys, "nothing") + "\n";
  text += "From The Command Line: " + listed(configured.command_line_options, "nothing") + "\n";
  text += std::string("From The Stored Settings: ") + (command.use_settings ? "the job" : "nothing") + "\n";
  return text;
}

}  // namespace flawseek
