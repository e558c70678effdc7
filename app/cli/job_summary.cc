// The job, as lines of "Name: value".
#include "job_summary.h"

#include "driver/job.h"
#include "platform/label.h"

namespace flawseek {

namespace {
std::string on_off(bool on) { return on ? "on" : "off"; }
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

}  // namespace flawseek
