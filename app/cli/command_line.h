// The command line of the flawseek program: what a user typed, parsed into
// plain values, and how those values set a job for one run.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "driver/option.h"
#include "style/style_kind.h"

namespace flawseek {

class Job;

enum class CommandAction { Run, ShowHelp, ShowVersion };

// How findings are written: the kind-and-file tree, one "file:line:column:
// message" line each (the form editors and CI understand), the comma-delimited
// table, or the indented plain-text report.
enum class OutputFormat { Tree, Gnu, Csv, Text };

std::string_view format_name(OutputFormat format);

// The job settings the flags ask for; anything not given keeps the job's value
// (the initial one, or the stored one with --settings).
struct JobFlags {
  std::optional<std::string> search_root;
  std::optional<std::string> reference_path;
  std::array<std::optional<bool>, option_count> options{};
  std::optional<StyleSet> style_set;
  std::vector<StyleKind> style_kinds;
  bool list_unchecked_style = false;
};

// More analysing threads than this would only cost memory.
inline constexpr unsigned max_jobs = 256;

struct CommandLine {
  CommandAction action = CommandAction::Run;
  JobFlags job;
  OutputFormat format = OutputFormat::Tree;
  std::optional<std::string> report_file;
  std::optional<std::string> log_file;
  bool use_settings = false;
  bool quiet = false;
  bool show_job = false;
  // Analysing threads; 0 means one per core.
  unsigned jobs = 0;
};

struct CommandLineResult {
  CommandLine command_line;
  // Empty when the line was understood; otherwise the reason, for the user.
  std::string error;
  bool ok() const { return error.empty(); }
};

// Parses the arguments after the program name. "--name value" and
// "--name=value" both work; "--" ends the options.
CommandLineResult parse_command_line(std::span<const std::string_view> arguments);

// A style kind written as its literal or its label, in any letter case and
// with "_", "-" or blanks between the words ("bad_keyword", "Bad Keyword").
// NO_STYLE_CHECKS is not selectable and is not found.
std::optional<StyleKind> find_selectable_style_kind(std::string_view text);
std::optional<StyleSet> find_style_set(std::string_view text);

// Sets the job from the flags, in an order that lets later flags refine
// earlier ones: root and options, then the rule book, then single kinds.
void apply_job_flags(const JobFlags& flags, Job& job);

// A flag that the job, once set, leaves without effect: --reference-path
// while RELAXED_STYLES is off (neither --relaxed-styles nor the stored job
// turned it on). Empty when every flag takes effect.
std::string unused_job_flag(const JobFlags& flags, const Job& job);

}  // namespace flawseek
