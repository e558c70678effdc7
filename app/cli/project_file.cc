// Finding and reading the project file, and merging its keys with the
// command line.
#include "project_file.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <toml.hpp>

#include "driver/source_search.h"
#include "frontend/text_utilities.h"
#include "stylecheck/unit_survey/specification_search.h"

namespace flawseek {

namespace {

using TomlValue = toml::value;

std::string in_quotes(std::string_view text) { return "'" + std::string(text) + "'"; }

// Options that ask for something other than a run, or choose the project
// file itself: a project file that set them would take every run over.
bool is_command_only(std::string_view key) {
  for (std::string_view name : {"help", "version", "show-job", "config", "no-config", "list-rules", "explain"}) {
    if (key == name) return true;
  }
  return false;
}

// Keys whose values name files or directories.
bool names_files(std::string_view key) {
  for (std::string_view name : {"report", "log", "reference-path", "baseline", "write-baseline", "exclude"}) {
    if (key == name) return true;
  }
  return false;
}

// A key spelled as a long option's name can be: letters, digits and inner
// hyphens. Anything else could pass for another argument ("" for "--").
bool is_option_name(std::string_view key) {
  if (key.empty() || key.front() == '-') return false;
  return std::all_of(key.begin(), key.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
  });
}

std::string from_directory(const std::filesystem::path& directory, std::string_view path) {
  if (path.empty() || path == "-" || path.front() == '/') return std::string(path);
  return (directory / std::filesystem::path(path)).lexically_normal().string();
}

// A reference path's entries are each taken from the file's directory; a
// final "/*" survives, because lexically_normal keeps the "*" as a name.
std::string reference_path_from(const std::filesystem::path& directory, std::string_view text) {
  std::string result;
  for (const std::string& entry : split_directory_list(text)) {
    if (!result.empty()) result += ';';
    result += from_directory(directory, entry);
  }
  return result;
}

std::string scalar_text(const TomlValue& value) {
  if (value.is_string()) return value.as_string().str;
  if (value.is_integer()) return std::to_string(value.as_integer());
  std::ostringstream text;
  text << value.as_floating();
  return text.str();
}

// Bounds no real project file comes near. toml11 reads arrays and inline
// tables by recursion, so brackets nested deeply enough would overflow the
// stack; and its time grows with the square of a line's length and of a
// key's parts, so a hostile file could keep a run busy for minutes.
constexpr int nesting_bound = 64;
constexpr std::size_t line_length_bound = 16 * 1024;
constexpr int key_parts_bound = 64;
constexpr std::uintmax_t file_size_bound = 1024 * 1024;

// The first byte at which `text` stops being UTF-8, or npos.
std::size_t first_non_utf8_byte(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
      ++at;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      lowest = 0x10000;
    } else {
      return at;
    }
    if (at + length > text.size()) return at;
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return at;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return at;
    at += length;
  }
  return std::string_view::npos;
}

struct TextFault {
  std::size_t line = 0;  // 0: none
  std::string what;
};

// What the TOML reader must not be handed: text that is not UTF-8 (which it
// would read past its end), over-long lines, keys of too many parts and
// nesting too deep. One pass, before the reader sees anything.
TextFault first_text_fault(std::string_view text) {
  if (const std::size_t bad = first_non_utf8_byte(text); bad != std::string_view::npos) {
    const std::size_t newline = bad == 0 ? std::string_view::npos : text.rfind('\n', bad - 1);
    const std::size_t column = bad - (newline == std::string_view::npos ? 0 : newline + 1) + 1;
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + bad, '\n'));
    return {line, "byte " + std::to_string(column) + " of the line is not UTF-8 (a project file is UTF-8 text)"};
  }
  std::size_t line = 1;
  int depth = 0;
  bool in_key = true;  // before the line's "=", or in a table header
  int key_parts = 1;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '\n') {
      ++line;
      in_key = depth == 0;
      key_parts = 1;
    } else if (c == '#') {
      while (at + 1 < text.size() && text[at + 1] != '\n') ++at;
    } else if (c == '"' || c == '\'') {
      // A string, single or triple quoted; only basic strings have escapes.
      const bool triple = text.substr(at, 3) == std::string(3, c);
      const std::size_t opening = triple ? 3 : 1;
      for (at += opening; at < text.size(); ++at) {
        if (text[at] == '\n') {
          if (!triple) {
            --at;  // an unended string: TOML reports it; the line ends here
            break;
          }
          ++line;
        } else if (c == '"' && text[at] == '\\') {
          ++at;
          if (at < text.size() && text[at] == '\n') ++line;
        } else if (text[at] == c && (!triple || text.substr(at, 3) == std::string(3, c))) {
          at += opening - 1;
          break;
        }
      }
    } else if (c == '=' && depth == 0) {
      in_key = false;
    } else if (c == '.' && in_key) {
      if (++key_parts > key_parts_bound) {
        return {line, "a key or table name of more than " + std::to_string(key_parts_bound) + " parts"};
      }
    } else if (c == '[' || c == '{') {
      if (++depth > nesting_bound) {
        return {line, "arrays or tables nested more than " + std::to_string(nesting_bound) + " deep"};
      }
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
      if (depth == 0 && c == '{') in_key = false;
    }
  }
  line = 1;
  for (std::size_t start = 0; start < text.size(); ++line) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (end - start > line_length_bound) {
      return {line, "a line longer than " + std::to_string(line_length_bound) + " characters"};
    }
    start = end + 1;
  }
  return {};
}

bool is_scalar(const TomlValue& value) { return value.is_string() || value.is_integer() || value.is_floating(); }

// The line a key's value starts on (TOML keeps no position for the key).
std::uint_least32_t line_of(const TomlValue& value) { return value.location().line(); }

class ProjectFileReader {
 public:
  explicit ProjectFileReader(const std::filesystem::path& file) : file_(file), directory_(file.parent_path()) {}

  ProjectFile read() {
    ProjectFile result;
    std::string text;
    if (!read_text(text, result.error)) return result;
    return parse(text);
  }

  ProjectFile parse(const std::string& text) const {
    ProjectFile result;
    if (const TextFault fault = first_text_fault(text); fault.line != 0) {
      result.error = file_.string() + ":" + std::to_string(fault.line) + ": " + fault.what;
      return result;
    }
    TomlValue document;
    try {
      std::istringstream stream(text);
      document = toml::parse(stream, file_.string());
    } catch (const toml::syntax_error& error) {
      result.error = syntax_message(error);
      return result;
    } catch (const std::exception& error) {
      result.error = file_.string() + ": the project file is not valid TOML: " + error.what();
      return result;
    }

    // Keys in the file's order, so that the first fault named is the first
    // one in the file.
    std::vector<std::pair<std::string, const TomlValue*>> keys;
    for (const auto& [key, value] : document.as_table()) keys.emplace_back(key, &value);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return line_of(*a.second) < line_of(*b.second); });
    for (const auto& [key, value] : keys) {
      ProjectSetting setting;
      if (std::string error = setting_of(key, *value, setting); !error.empty()) {
        result.error = file_.string() + ":" + std::to_string(line_of(*value)) + ": " + error;
        result.settings.clear();
        return result;
      }
      result.settings.push_back(std::move(setting));
    }
    return result;
  }

 private:
  bool read_text(std::string& text, std::string& error) const {
    struct stat info;
    if (::stat(file_.c_str(), &info) != 0) {
      error = "cannot read the project file " + file_.string() + ": " + std::strerror(errno);
      return false;
    }
    if (!S_ISREG(info.st_mode)) {
      error = "cannot read the project file " + file_.string() + ": not a regular file";
      return false;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > file_size_bound) {
      error = "cannot read the project file " + file_.string() + ": larger than " +
              std::to_string(file_size_bound / 1024) + " KB, which no project file needs";
      return false;
    }
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    if (!in) {
      error = "cannot read the project file " + file_.string();
      return false;
    }
    text = contents.str();
    return true;
  }

  // toml11's own account (the line, and a mark under the fault) follows a
  // first line in the form of every other message.
  std::string syntax_message(const toml::syntax_error& error) const {
    const toml::source_location& where = error.location();
    std::string message = file_.string() + ":" + std::to_string(where.line()) + ": ";
    const std::string& line = where.line_str();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      const std::string_view key = trim_blanks(std::string_view(line).substr(0, equals));
      if (!key.empty()) message += "key " + in_quotes(key) + ": ";
    }
    message += "the project file is not valid TOML\n";
    std::string detail = error.what();
    if (detail.starts_with("[error] ")) detail.erase(0, 8);
    return message + detail;
  }

  // The arguments `key` stands for; the reason when it stands for none.
  std::string setting_of(const std::string& key, const TomlValue& value, ProjectSetting& setting) const {
    setting.key = key;
    if (key == "per-path-ignores") return path_ignores_of(value, setting);
    const std::string option = "--" + key;
    if (!is_option_name(key) || !is_known(option)) {
      return "unknown key " + in_quotes(key) + " (keys are the long options' names without \"--\")";
    }
    if (is_command_only(key)) return "key " + in_quotes(key) + " belongs on the command line, not in a project file";

    if (!option_takes_value(option)) {
      if (!value.is_boolean()) return "key " + in_quotes(key) + " takes true or false";
      if (value.as_boolean()) setting.arguments.push_back(option);
    } else if (value.is_boolean()) {
      return "key " + in_quotes(key) + " takes a value (a string), not true or false";
    } else if (is_scalar(value)) {
      setting.arguments.push_back(option + "=" + file_value(key, scalar_text(value)));
    } else if (value.is_array()) {
      std::string list;
      for (const TomlValue& element : value.as_array()) {
        if (!is_scalar(element)) return "key " + in_quotes(key) + " takes a list of strings";
        if (!list.empty()) list += ',';
        list += file_value(key, scalar_text(element));
      }
      if (!value.as_array().empty()) setting.arguments.push_back(option + "=" + list);
    } else {
      return "key " + in_quotes(key) + " takes a string or a list of strings";
    }

    // The command-line parser is the judge of values, so a key's value is
    // checked exactly as the same option would be.
    std::vector<std::string_view> alone(setting.arguments.begin(), setting.arguments.end());
    const CommandLineResult parsed = parse_command_line(alone);
    if (!parsed.ok()) return "key " + in_quotes(key) + ": " + parsed.error;
    return {};
  }

  // The parser knows the option: alone, it is taken or wants a value.
  static bool is_known(const std::string& option) {
    const std::string_view alone[] = {option};
    const CommandLineResult parsed = parse_command_line(alone);
    return !parsed.error.starts_with("unknown option");
  }

  // [per-path-ignores] "tests/**" = ["unused-declaration"]: each entry a
  // --per-path-ignore, its glob taken from the file's directory.
  std::string path_ignores_of(const TomlValue& value, ProjectSetting& setting) const {
    if (!value.is_table()) return "key 'per-path-ignores' takes a table of globs, each with a list of kinds";
    for (const auto& [glob, kinds] : value.as_table()) {
      std::string list;
      if (is_scalar(kinds)) {
        list = scalar_text(kinds);
      } else if (kinds.is_array()) {
        for (const TomlValue& element : kinds.as_array()) {
          if (!is_scalar(element)) return "per-path-ignores " + in_quotes(glob) + " takes a list of kinds";
          if (!list.empty()) list += ',';
          list += scalar_text(element);
        }
      } else {
        return "per-path-ignores " + in_quotes(glob) + " takes a kind or a list of kinds";
      }
      if (glob.empty() || glob.find('=') != std::string::npos) {
        return "per-path-ignores " + in_quotes(glob) + ": a glob must not be empty nor hold '='";
      }
      if (list.empty()) continue;
      const std::string argument = "--per-path-ignore=" + from_directory(directory_, glob) + "=" + list;
      std::vector<std::string_view> alone{argument};
      const CommandLineResult parsed = parse_command_line(alone);
      if (!parsed.ok()) return "per-path-ignores " + in_quotes(glob) + ": " + parsed.error;
      setting.arguments.push_back(argument);
    }
    return {};
  }

  std::string file_value(const std::string& key, const std::string& text) const {
    if (!names_files(key)) return text;
    if (key == "reference-path") return reference_path_from(directory_, text);
    return from_directory(directory_, text);
  }

  std::filesystem::path file_;
  std::filesystem::path directory_;
};

// Where the project file is looked for: the directory the search root
// resolves to, or the current directory when it names nothing (the run then
// fails on the root itself).
std::filesystem::path search_start(const CommandLine& command, const std::string& current_directory) {
  const std::string root = command.job.search_root.value_or(current_directory);
  if (const std::optional<SearchRoot> resolved = resolve_search_root(root, current_directory)) {
    return resolved->directory;
  }
  return current_directory;
}

// The long option an argument gives ("--format" for "--format=gnu"), or
// nothing for a ROOT, a value or a short option.
std::optional<std::string_view> option_name(std::string_view argument) {
  if (!argument.starts_with("--") || argument.size() == 2) return std::nullopt;
  return argument.substr(0, argument.find('='));
}

// The user's own files and root's may steer a run; anybody else's may not.
bool trusted_owner(uid_t owner) { return owner == ::geteuid() || owner == 0; }

// Whether a user other than the owner may change the file or directory: it
// is writable by all, or by a group that is not the owner's private one (a
// group of that user alone, as Debian gives every user).
bool writable_by_others(const struct stat& info) {
  if ((info.st_mode & S_IWOTH) != 0) return true;
  if ((info.st_mode & S_IWGRP) == 0) return false;
  const struct group* group = ::getgrgid(info.st_gid);
  if (group == nullptr) return true;
  const struct passwd* owner = ::getpwuid(info.st_uid);
  if (owner == nullptr || owner->pw_gid != info.st_gid) return true;
  for (char** member = group->gr_mem; *member != nullptr; ++member) {
    if (std::strcmp(*member, owner->pw_name) != 0) return true;
  }
  return false;
}

}  // namespace

std::optional<std::filesystem::path> find_project_file(const std::filesystem::path& directory) {
  std::filesystem::path at = directory.lexically_normal();
  // A file above the user's home or across a mount point belongs to
  // somebody else's tree, not to the sources being searched.
  const char* home_variable = std::getenv("HOME");
  const std::filesystem::path home =
      home_variable != nullptr && *home_variable == '/' ? std::filesystem::path(home_variable).lexically_normal()
                                                        : std::filesystem::path();
  struct stat start;
  const bool device_known = ::stat(at.c_str(), &start) == 0;
  for (;;) {
    const std::filesystem::path candidate = at / project_file_name;
    // A link to nothing is found too, so that it is reported, not passed over.
    std::error_code error;
    if (std::filesystem::symlink_status(candidate, error).type() != std::filesystem::file_type::not_found &&
        !error) {
      return candidate;
    }
    if (!at.has_relative_path() || (!home.empty() && at == home)) return std::nullopt;
    const std::filesystem::path parent = at.parent_path();
    struct stat above;
    if (device_known && ::stat(parent.c_str(), &above) == 0 && above.st_dev != start.st_dev) return std::nullopt;
    at = parent;
  }
}

std::string distrust_reason(const std::filesystem::path& file) {
  struct stat link;
  if (::lstat(file.c_str(), &link) != 0) return {};  // the reader says what is wrong
  if (!trusted_owner(link.st_uid)) return "it belongs to another user (uid " + std::to_string(link.st_uid) + ")";
  struct stat target;
  if (::stat(file.c_str(), &target) == 0) {
    if (!trusted_owner(target.st_uid)) {
      return "the file it links to belongs to another user (uid " + std::to_string(target.st_uid) + ")";
    }
    if (writable_by_others(target)) return "other users may write to it";
  }
  struct stat directory;
  if (::stat(file.parent_path().c_str(), &directory) == 0 && writable_by_others(directory) &&
      (directory.st_mode & S_ISVTX) == 0) {
    return "other users may write to its directory";
  }
  return {};
}

ProjectFile read_project_file(const std::filesystem::path& file) { return ProjectFileReader(file).read(); }

ProjectFile parse_project_text(const std::string& text, const std::filesystem::path& file) {
  return ProjectFileReader(file).parse(text);
}

namespace {

// The options an argument list writes, each without its "--" ("jobs" for
// -jN, "ROOT" for the root); a value in the argument after its option is
// skipped, not taken for a root.
std::vector<std::string> options_given(std::span<const std::string_view> arguments) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    const std::string_view argument = arguments[at];
    if (argument == "--") {
      if (at + 1 < arguments.size()) names.emplace_back("ROOT");
      break;
    }
    if (const auto name = option_name(argument)) {
      names.emplace_back(name->substr(2));
      if (argument.find('=') == std::string_view::npos && option_takes_value(*name)) ++at;
    } else if (argument.starts_with("-j")) {
      names.emplace_back("jobs");
      if (argument == "-j") ++at;
    } else if (argument == "-q" || argument == "-h") {
      names.emplace_back(argument == "-q" ? "quiet" : "help");
    } else if (!argument.starts_with("-") || argument == "-") {
      names.emplace_back("ROOT");
    }
  }
  return names;
}

bool given(const std::vector<std::string>& options, std::string_view key) {
  return std::find(options.begin(), options.end(), key) != options.end();
}

}  // namespace

std::vector<std::string> arguments_with_project_file(const std::vector<ProjectSetting>& settings,
                                                     std::span<const std::string_view> command_line) {
  const std::vector<std::string> options = options_given(command_line);
  std::vector<std::string> arguments;
  for (const ProjectSetting& setting : settings) {
    if (given(options, setting.key)) continue;
    arguments.insert(arguments.end(), setting.arguments.begin(), setting.arguments.end());
  }
  arguments.insert(arguments.end(), command_line.begin(), command_line.end());
  return arguments;
}

ConfiguredCommandLine parse_configured_command_line(std::span<const std::string_view> arguments,
                                                    const std::string& current_directory) {
  ConfiguredCommandLine configured;
  configured.parsed = parse_command_line(arguments);
  configured.command_line_options = options_given(arguments);
  const CommandLine& command = configured.parsed.command_line;
  if (!configured.parsed.ok() || command.action != CommandAction::Run || command.no_config) return configured;

  std::optional<std::filesystem::path> file;
  if (command.config_file) {
    file = std::filesystem::path(*command.config_file);
    if (file->is_relative()) file = (std::filesystem::path(current_directory) / *file).lexically_normal();
  } else {
    file = find_project_file(search_start(command, current_directory));
    // A file found by the search is obeyed only when nobody but the user
    // (or root) could have put it there: a planted one could replace the
    // user's files with reports or hide findings. Named, it is trusted.
    if (file) {
      if (const std::string reason = distrust_reason(*file); !reason.empty()) {
        configured.warnings.push_back("ignoring the project file " + file->string() + ": " + reason +
                                      "; name it with --config to use it");
        file.reset();
      }
    }
  }
  if (!file) return configured;

  const ProjectFile project = read_project_file(*file);
  if (!project.error.empty()) {
    configured.project_error = project.error;
    return configured;
  }
  configured.project_file = file->string();
  for (const ProjectSetting& setting : project.settings) {
    if (!given(configured.command_line_options, setting.key) && !setting.arguments.empty()) {
      configured.project_keys.push_back(setting.key);
    }
  }
  const std::vector<std::string> merged = arguments_with_project_file(project.settings, arguments);
  const std::vector<std::string_view> views(merged.begin(), merged.end());
  configured.parsed = parse_command_line(views);
  if (!configured.parsed.ok()) {
    // Each key passed on its own; only their company can fail here.
    configured.project_error = *configured.project_file + ": " + configured.parsed.error;
  }
  return configured;
}

std::string project_file_summary(const ConfiguredCommandLine& configured) {
  if (configured.project_file) return "Project File: " + *configured.project_file + "\n";
  if (configured.parsed.command_line.no_config) return "Project File: none (--no-config)\n";
  return "Project File: none\n";
}

}  // namespace flawseek
