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
#include "findings/finding.h"
#include "findings/reported_kinds.h"
#include "frontend/ada_version.h"
#include "output/finding_records.h"
#include "output/output_format.h"
#include "style/style_kind.h"

namespace flawseek {

class Job;

enum class CommandAction { Run, ShowHelp, ShowVersion, ListRules, ExplainRule };

// The job settings the flags ask for; anything not given keeps the job's value
// (the initial one, or the stored one with --settings).
struct JobFlags {
  std::optional<std::string> search_root;
  std::optional<std::string> reference_path;
  std::array<std::optional<bool>, option_count> options{};
  std::optional<StyleSet> style_set;
  std::optional<AdaVersion> ada_version;
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
  // The project file: the one named by --config, or none at all (--no-config).
  std::optional<std::string> config_file;
  bool no_config = false;

  // ---- For CI and editors -------------------------------------------------
  bool format_given = false;  // --format was written (it then also shapes --report -)
  // The kinds whose findings make the exit status 1 (--fail-on); every kind
  // when not given.
  std::optional<std::array<bool, FindingKind::count>> fail_on;
  // The kinds reported: --select narrows the job's kinds to its list (the
  // last one given wins, so the command line overrides the project file),
  // --ignore drops kinds (every list given counts).
  std::optional<std::array<bool, FindingKind::count>> select;
  std::array<bool, FindingKind::count> ignore{};
  // Globs of the sources left out (--exclude), and of paths where kinds are
  // dropped (--per-path-ignore GLOB=LIST): relative to the current
  // directory, or absolute (a project file's, made so from its directory).
  std::vector<std::string> excludes;
  struct PathIgnore {
    std::string glob;
    std::array<bool, FindingKind::count> kinds{};
  };
  std::vector<PathIgnore> path_ignores;
  std::optional<std::string> baseline_file;
  std::optional<std::string> write_baseline_file;
  // Findings that marks absorbed go into the JSON and SARIF outputs, marked
  // as suppressed.
  bool show_suppressed = false;
  // The count per kind: the documents (json, sarif) carry it beside their
  // findings; the other formats print the table instead of the findings.
  bool statistics = false;
  // Rewrite the sources to remove the findings of the fixable kinds (--fix),
  // or print what that would change as a unified diff and write nothing
  // (--diff).
  bool fix = false;
  bool diff = false;
  // How the GNU lines count columns (--columns screen|chars|bytes).
  ColumnCount columns = ColumnCount::Screen;
  std::optional<FindingKind> explained_kind;  // with CommandAction::ExplainRule

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

// The long option `name` ("--report") takes a value.
bool option_takes_value(std::string_view name);

// A style kind written as its literal or its label, in any letter case and
// with "_", "-" or blanks between the words ("bad_keyword", "Bad Keyword").
// NO_STYLE_CHECKS is not selectable and is not found.
std::optional<StyleKind> find_selectable_style_kind(std::string_view text);
std::optional<StyleSet> find_style_set(std::string_view text);

// The kinds of "WORD[,WORD...]": finding ids or any name of a kind, the
// families "bug" and "style", "all", or "none" (no kind); the reason for the
// user when a word names nothing.
std::string parse_kind_list(std::string_view list, std::array<bool, FindingKind::count>& kinds);

// The kinds the run reports, everywhere and by path: --select narrowed by
// --ignore, and the per-path ignores (globs from the current directory).
ReportedKinds reported_kinds(const CommandLine& command);

// Sets the job from the flags, in an order that lets later flags refine
// earlier ones: root and options, then the rule book, then single kinds.
void apply_job_flags(const JobFlags& flags, Job& job);

// A flag that the job, once set, leaves without effect: --reference-path
// while RELAXED_STYLES is off (neither --relaxed-styles nor the stored job
// turned it on). Empty when every flag takes effect.
std::string unused_job_flag(const JobFlags& flags, const Job& job);

}  // namespace flawseek
