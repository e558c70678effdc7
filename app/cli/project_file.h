// The project file, .flawseek.toml: the job's flags and output options kept
// beside the sources, so that every run and every CI job need not repeat
// them. Each key is a long option's name; the file's keys become arguments
// placed before the command line's, so the command line wins.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"

namespace flawseek {

inline constexpr std::string_view project_file_name = ".flawseek.toml";

// One key of the project file as the arguments it stands for.
struct ProjectSetting {
  std::string key;
  std::vector<std::string> arguments;
};

struct ProjectFile {
  std::vector<ProjectSetting> settings;  // in the file's order
  // Empty when the file was read; otherwise what is wrong, for the user:
  // "FILE:LINE: ..." naming the key where there is one.
  std::string error;
};

// The project file in `directory` or the nearest of its parents, up to the
// user's home, the file system's boundary or its root; none when no
// directory holds one.
std::optional<std::filesystem::path> find_project_file(const std::filesystem::path& directory);

// Why a project file found by that search must not be obeyed: it (or the
// file it links to) belongs to a user other than this one or root, or
// another user may write to it or to its directory (a directory with the
// sticky bit, as /tmp, keeps others from replacing it). Empty when it may.
std::string distrust_reason(const std::filesystem::path& file);

// Reads `file`. Each key becomes the long option of its name: true gives
// "--key", false nothing, a string or number "--key=value", an array
// "--key=a,b" (an empty one nothing). Keys naming files (report, log,
// reference-path, baseline, write-baseline) are read from the file's
// directory when relative. Every key is checked on its own with the
// command-line parser, so a bad value is reported at its own line.
ProjectFile read_project_file(const std::filesystem::path& file);
// The same for a project file's text, read already; `file` names it in
// messages and is where relative file names are taken from.
ProjectFile parse_project_text(const std::string& text, const std::filesystem::path& file);

// The arguments of a run: the project file's, leaving out every key the
// command line gives itself (so a list such as --style is replaced, not
// added to), then the command line's.
std::vector<std::string> arguments_with_project_file(const std::vector<ProjectSetting>& settings,
                                                     std::span<const std::string_view> command_line);

struct ConfiguredCommandLine {
  CommandLineResult parsed;
  std::optional<std::string> project_file;  // the file read, if any
  // Trouble with the project file (parsed is then not usable); the command
  // line's own errors are in parsed.error.
  std::string project_error;
  // What the user should know though the run goes on (a project file found
  // but not trusted).
  std::vector<std::string> warnings;
  // Where the settings came from: the project file's keys that took effect
  // (the command line overrides the others), and the options written on the
  // command line ("ROOT" for the root), each without its "--".
  std::vector<std::string> project_keys;
  std::vector<std::string> command_line_options;
  bool ok() const { return parsed.ok() && project_error.empty(); }
};

// Parses the command line and, unless it says --no-config or asks for
// something other than a run (--help, --version), the project file: the one --config names, or the
// one found from the search root's directory upwards.
ConfiguredCommandLine parse_configured_command_line(std::span<const std::string_view> arguments,
                                                    const std::string& current_directory);

// The line --show-job adds: "Project File: <path>", "Project File: none" or
// "Project File: none (--no-config)".
std::string project_file_summary(const ConfiguredCommandLine& configured);

}  // namespace flawseek
