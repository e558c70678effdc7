// Parsing the flawseek command line and applying it to a job.
#include "command_line.h"

#include "driver/job.h"
#include "findings/finding_id.h"
#include "output/rule_catalog.h"
#include "platform/label.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

// Literals and labels compare by their labels: case, underscores, hyphens
// and blanks between words do not matter.
std::string normalised(std::string_view text) {
  std::string spaced(text);
  for (char& c : spaced) {
    if (c == '-') c = '_';
  }
  std::string words = label(spaced);
  // A blank left at the end is kept by the label rule; here it is noise.
  while (!words.empty() && words.back() == ' ') words.pop_back();
  return words;
}

std::optional<OutputFormat> find_format(std::string_view text) {
  for (OutputFormat format : {OutputFormat::Tree, OutputFormat::Gnu, OutputFormat::Csv, OutputFormat::Text,
                              OutputFormat::Json, OutputFormat::Sarif}) {
    if (latin1::equal_ignoring_case(text, format_name(format))) return format;
  }
  return std::nullopt;
}

std::string quoted(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result.push_back('\'');
  result.append(text);
  result.push_back('\'');
  return result;
}

// Walks the arguments, handing out option values in either spelling.
class ArgumentReader {
 public:
  explicit ArgumentReader(std::span<const std::string_view> arguments) : arguments_(arguments) {}

  bool done() const { return next_ >= arguments_.size(); }
  std::string_view take() { return arguments_[next_++]; }

  // The value of an option that needs one: after "=" in the same argument, or
  // the next argument. Empty optional when missing.
  std::optional<std::string_view> value(std::optional<std::string_view> attached) {
    if (attached) return attached;
    if (done()) return std::nullopt;
    return take();
  }

 private:
  std::span<const std::string_view> arguments_;
  std::size_t next_ = 0;
};

// A whole decimal number of threads, 1 to max_jobs.
std::optional<unsigned> parse_job_count(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  unsigned count = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    count = count * 10 + static_cast<unsigned>(c - '0');
  }
  if (count < 1 || count > max_jobs) return std::nullopt;
  return count;
}

// A report file's extension must name a format; none at all is the text
// report. The reason for the user when it names none.
std::string unknown_report_extension(std::string_view file) {
  if (file == "-" || report_format_named_by(file)) return {};
  const std::size_t dot = file.rfind('.');
  const std::size_t slash = file.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) || dot + 1 == file.size() ||
      dot == 0 || (slash != std::string_view::npos && dot == slash + 1)) {
    return {};
  }
  // A source's name is refused later, with the reason that matters more.
  const std::string_view extension = file.substr(dot + 1);
  for (std::string_view ada : {"ads", "adb", "ada", "adq"}) {
    if (latin1::equal_ignoring_case(extension, ada)) return {};
  }
  return "the report " + quoted(file) + " has an extension that names no report format (.csv, .txt, .json or "
         ".sarif; a name without one is written as the text report)";
}

bool takes_value(std::string_view name) {
  for (std::string_view option : {"--reference-path", "--style", "--style-set", "--ada-version", "--format", "--report", "--log",
                                  "--config", "--fail-on", "--select", "--ignore", "--exclude", "--per-path-ignore",
                                  "--baseline", "--write-baseline", "--explain", "--jobs", "-j", "--columns"}) {
    if (name == option) return true;
  }
  return false;
}

// Hands each word of "WORD[,WORD...]" (empty ones too) to `take`, which
// returns the reason for the user when a word is wrong; the first reason.
template <class Take>
std::string for_each_listed(std::string_view list, Take&& take) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? list.size() : comma;
    if (std::string error = take(list.substr(start, end - start)); !error.empty()) return error;
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
}

// Adds the kinds of "KIND[,KIND...]" ("all" for every selectable kind).
std::string add_style_kinds(std::string_view list, std::vector<StyleKind>& kinds) {
  return for_each_listed(list, [&kinds](std::string_view word) -> std::string {
    if (latin1::equal_ignoring_case(word, "all")) {
      for (int position = 0; position < selectable_style_kind_count; ++position) {
        kinds.push_back(static_cast<StyleKind>(position));
      }
    } else if (const auto kind = find_selectable_style_kind(word)) {
      kinds.push_back(*kind);
    } else {
      return "unknown style kind " + quoted(word) + " (see --help for the list)";
    }
    return {};
  });
}

}  // namespace

std::optional<StyleKind> find_selectable_style_kind(std::string_view text) {
  // A style kind's finding id ("style/bad-keyword") names it too.
  if (text.size() > 6 && latin1::equal_ignoring_case(text.substr(0, 6), "style/")) text.remove_prefix(6);
  const std::string wanted = normalised(text);
  if (wanted.empty()) return std::nullopt;
  for (int position = 0; position < selectable_style_kind_count; ++position) {
    const auto kind = static_cast<StyleKind>(position);
    if (label(image(kind)) == wanted) return kind;
  }
  return std::nullopt;
}

std::optional<StyleSet> find_style_set(std::string_view text) {
  const std::string wanted = normalised(text);
  if (wanted.empty()) return std::nullopt;
  for (int position = 0; position < style_set_count; ++position) {
    const auto set = static_cast<StyleSet>(position);
    if (label(image(set)) == wanted) return set;
  }
  return std::nullopt;
}

std::string parse_kind_list(std::string_view list, std::array<bool, FindingKind::count>& kinds) {
  kinds.fill(false);
  return for_each_listed(list, [&kinds](std::string_view word) -> std::string {
    while (!word.empty() && word.front() == ' ') word.remove_prefix(1);
    while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    for (int index = 0; index < FindingKind::count; ++index) {
      const FindingKind kind = FindingKind::from_index(index);
      if (latin1::equal_ignoring_case(word, "all") || latin1::equal_ignoring_case(word, family_name(kind))) {
        kinds[index] = true;
      }
    }
    if (const auto kind = find_kind_by_any_name(word)) {
      kinds[kind->index()] = true;
    } else if (!latin1::equal_ignoring_case(word, "all") && !latin1::equal_ignoring_case(word, "none") &&
               !latin1::equal_ignoring_case(word, bug_family) && !latin1::equal_ignoring_case(word, style_family)) {
      return "unknown finding kind " + quoted(word) + " (see --list-rules)";
    }
    return {};
  });
}

CommandLineResult parse_command_line(std::span<const std::string_view> arguments) {
  CommandLineResult result;
  CommandLine& line = result.command_line;
  JobFlags& job = line.job;
  auto fail = [&result](std::string message) {
    result.error = std::move(message);
    return result;
  };

  ArgumentReader reader(arguments);
  bool options_ended = false;
  while (!reader.done()) {
    const std::string_view argument = reader.take();
    if (options_ended || argument == "-" || !argument.starts_with("-")) {
      if (job.search_root) return fail("more than one ROOT given: " + quoted(std::string_view(*job.search_root)) + " and " + quoted(argument));
      if (argument.empty()) return fail("the ROOT must not be empty");
      job.search_root = std::string(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }

    std::string_view name = argument;
    std::optional<std::string_view> attached;
    if (const std::size_t equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      attached = argument.substr(equals + 1);
    } else if (argument.size() > 2 && argument.starts_with("-j")) {
      // -j4, as make and gprbuild take it.
      name = "-j";
      attached = argument.substr(2);
    }
    if (attached && !takes_value(name)) return fail("option " + quoted(name) + " takes no value");
    std::optional<std::string_view> value;
    if (takes_value(name)) {
      value = reader.value(attached);
      if (!value) return fail("option " + quoted(name) + " needs a value");
    }

    if (name == "--help" || name == "-h") {
      line.action = CommandAction::ShowHelp;
    } else if (name == "--version") {
      if (line.action != CommandAction::ShowHelp) line.action = CommandAction::ShowVersion;
    } else if (name == "--gnat-extensions") {
      job.options[static_cast<std::size_t>(Option::GNAT_EXTENSIONS)] = true;
    } else if (name == "--preparation-phase") {
      job.options[static_cast<std::size_t>(Option::PREPARATION_PHASE)] = true;
    } else if (name == "--skip-read-only") {
      job.options[static_cast<std::size_t>(Option::SKIP_READ_ONLY_FILES)] = true;
    } else if (name == "--no-subfolders") {
      job.options[static_cast<std::size_t>(Option::SEARCH_SUBFOLDERS)] = false;
    } else if (name == "--relaxed-styles") {
      job.options[static_cast<std::size_t>(Option::RELAXED_STYLES)] = true;
    } else if (name == "--reference-path") {
      job.reference_path = std::string(*value);
    } else if (name == "--style") {
      if (std::string error = add_style_kinds(*value, job.style_kinds); !error.empty()) return fail(error);
    } else if (name == "--style-set") {
      job.style_set = find_style_set(*value);
      if (!job.style_set) {
        return fail("unknown style set " + quoted(*value) + " (NONE, USER, USER_95, TAVIK or TAVIK_95)");
      }
    } else if (name == "--ada-version") {
      job.ada_version = parse_ada_version(*value);
      if (!job.ada_version) return fail("unknown Ada version " + quoted(*value) + " (95, 2005, 2012 or 2022)");
    } else if (name == "--list-unchecked-style") {
      job.list_unchecked_style = true;
    } else if (name == "--format") {
      const auto format = find_format(*value);
      if (!format) return fail("unknown format " + quoted(*value) + " (tree, gnu, csv, text, json or sarif)");
      line.format = *format;
      line.format_given = true;
    } else if (name == "--report") {
      if (value->empty()) return fail("option '--report' needs a file name");
      if (const std::string error = unknown_report_extension(*value); !error.empty()) return fail(error);
      line.report_file = std::string(*value);
    } else if (name == "--log") {
      if (value->empty()) return fail("option '--log' needs a file name");
      line.log_file = std::string(*value);
    } else if (name == "--jobs" || name == "-j") {
      const std::optional<unsigned> jobs = parse_job_count(*value);
      if (!jobs) {
        return fail("option '--jobs' needs a number of threads from 1 to " + std::to_string(max_jobs) + ", not " +
                    quoted(*value));
      }
      line.jobs = *jobs;
    } else if (name == "--settings") {
      line.use_settings = true;
    } else if (name == "-q" || name == "--quiet") {
      line.quiet = true;
    } else if (name == "--show-job") {
      line.show_job = true;
    } else if (name == "--config") {
      if (value->empty()) return fail("option '--config' needs a file name");
      line.config_file = std::string(*value);
    } else if (name == "--no-config") {
      line.no_config = true;
    } else if (name == "--fail-on") {
      std::array<bool, FindingKind::count> kinds{};
      if (std::string error = parse_kind_list(*value, kinds); !error.empty()) return fail(error);
      line.fail_on = kinds;
    } else if (name == "--exclude") {
      // A list too, as a project file's `exclude = [...]` arrives.
      std::string error = for_each_listed(*value, [&line](std::string_view glob) -> std::string {
        if (glob.empty()) return "option '--exclude' needs a glob (such as generated/** or **/*_svd-*.ads)";
        line.excludes.emplace_back(glob);
        return {};
      });
      if (!error.empty()) return fail(std::move(error));
    } else if (name == "--per-path-ignore") {
      // GLOB=LIST: the kinds are the last part, as a glob holds no "=".
      const std::size_t equals = value->rfind('=');
      if (equals == std::string_view::npos || equals == 0) {
        return fail("option '--per-path-ignore' needs GLOB=LIST (such as tests/**=unused-declaration), not " +
                    quoted(*value));
      }
      CommandLine::PathIgnore ignore{std::string(value->substr(0, equals)), {}};
      if (std::string error = parse_kind_list(value->substr(equals + 1), ignore.kinds); !error.empty()) return fail(error);
      line.path_ignores.push_back(std::move(ignore));
    } else if (name == "--select" || name == "--ignore") {
      std::array<bool, FindingKind::count> kinds{};
      if (std::string error = parse_kind_list(*value, kinds); !error.empty()) return fail(error);
      if (name == "--select") {
        line.select = kinds;
      } else {
        for (std::size_t index = 0; index < kinds.size(); ++index) line.ignore[index] = line.ignore[index] || kinds[index];
      }
    } else if (name == "--baseline" || name == "--write-baseline") {
      if (value->empty()) return fail("option " + quoted(name) + " needs a file name");
      (name == "--baseline" ? line.baseline_file : line.write_baseline_file) = std::string(*value);
    } else if (name == "--show-suppressed") {
      line.show_suppressed = true;
    } else if (name == "--statistics") {
      line.statistics = true;
    } else if (name == "--fix") {
      line.fix = true;
    } else if (name == "--diff") {
      line.diff = true;
    } else if (name == "--columns") {
      if (latin1::equal_ignoring_case(*value, "screen")) {
        line.columns = ColumnCount::Screen;
      } else if (latin1::equal_ignoring_case(*value, "chars")) {
        line.columns = ColumnCount::Characters;
      } else if (latin1::equal_ignoring_case(*value, "bytes")) {
        line.columns = ColumnCount::Bytes;
      } else {
        return fail("unknown column count " + quoted(*value) + " (screen, chars or bytes)");
      }
    } else if (name == "--list-rules") {
      if (line.action == CommandAction::Run) line.action = CommandAction::ListRules;
    } else if (name == "--explain") {
      line.explained_kind = find_kind_by_any_name(*value);
      if (!line.explained_kind) return fail("unknown finding kind " + quoted(*value) + " (see --list-rules)");
      if (line.action == CommandAction::Run) line.action = CommandAction::ExplainRule;
    } else {
      return fail("unknown option " + quoted(name));
    }
  }
  if (line.fix && line.diff) {
    return fail("options '--fix' and '--diff' contradict each other: --diff shows what --fix would write");
  }
  if ((line.fix || line.diff) && (line.baseline_file || line.write_baseline_file)) {
    return fail(std::string("option '") + (line.fix ? "--fix" : "--diff") + "' does not go with a baseline");
  }
  if (line.no_config && line.config_file) {
    return fail("options '--config' and '--no-config' contradict each other: name the project file or refuse one");
  }
  return result;
}

bool option_takes_value(std::string_view name) { return takes_value(name); }

ReportedKinds reported_kinds(const CommandLine& command) {
  ReportedKinds::Mask mask;
  mask.fill(true);
  if (command.select) mask = *command.select;
  for (std::size_t index = 0; index < mask.size(); ++index) mask[index] = mask[index] && !command.ignore[index];
  ReportedKinds kinds;
  kinds.set_everywhere(mask);
  for (const CommandLine::PathIgnore& ignore : command.path_ignores) kinds.add_path_rule(".", ignore.glob, ignore.kinds);
  return kinds;
}

void apply_job_flags(const JobFlags& flags, Job& job) {
  if (flags.search_root) job.set_search_root(*flags.search_root);
  if (flags.ada_version) job.set_ada_version(*flags.ada_version);
  for (int position = 0; position < option_count; ++position) {
    if (const auto& on = flags.options[position]) job.set_option(static_cast<Option>(position), *on);
  }
  if (flags.style_set) job.set_style_set(*flags.style_set);
  for (StyleKind kind : flags.style_kinds) job.set_style_kind(kind, true);
  if (flags.reference_path) job.set_reference_path(*flags.reference_path);
  if (flags.list_unchecked_style) job.set_list_unchecked_style(true);
}

std::string unused_job_flag(const JobFlags& flags, const Job& job) {
  if (flags.reference_path && !job.option_is_set(Option::RELAXED_STYLES)) {
    return "option '--reference-path' has no effect without '--relaxed-styles'";
  }
  return {};
}

}  // namespace flawseek
