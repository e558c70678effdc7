// The "Editor" setting: its reading, storing and removal, and the "Test" start.
#include "editor_setting.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "editor_hand_off.h"
#include "findings/findings_list.h"
#include "platform/environment.h"

namespace flawseek {

namespace {

constexpr std::string_view sample_name = "editor-test.adb";
// The sample's text and the place its comment names: line 5, column 4 is
// the "n" of "null".
constexpr std::string_view sample_text =
    "--  Flawseek's editor test: the editor should show line 5 with the\n"
    "--  cursor on the \"n\" of \"null\" (column 4).\n"
    "procedure Editor_Test is\n"
    "begin\n"
    "   null;\n"
    "end Editor_Test;\n";
constexpr std::int32_t sample_line = 5;
constexpr std::int32_t sample_column = 4;

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// The words as the user would type them again: a word with blanks or quotes
// inside is shown quoted.
std::string shown_command(const std::vector<std::string>& words) {
  std::string shown;
  for (const std::string& word : words) {
    if (!shown.empty()) shown += ' ';
    const bool plain = !word.empty() && word.find_first_of(" \t\"'") == std::string::npos;
    const char quote = plain ? '\0' : word.find('"') == std::string::npos ? '"' : '\'';
    if (quote != '\0') shown += quote;
    shown += word;
    if (quote != '\0') shown += quote;
  }
  return shown;
}

// The program a start would run: a path as given, else looked up in PATH.
bool program_exists(const std::string& program) {
  if (program.find('/') != std::string::npos) {
    const QFileInfo file(QString::fromStdString(program));
    return file.isFile() && file.isExecutable();
  }
  return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

}  // namespace

std::string EditorSetting::command() {
  try {
    store_.open_application_key();
    if (store_.value_kind(editor_value) == ValueKind::String) return store_.get_string(editor_value);
  } catch (const RegistryError&) {
    // Unreadable: the dialog starts empty, as without a setting.
  }
  return {};
}

void EditorSetting::save(std::string_view text) {
  store_.open_application_key();
  const std::string_view command = trimmed(text);
  if (command.empty()) store_.remove_value(editor_value);
  else store_.set_string(editor_value, command);
}

std::optional<Finding> first_openable_finding(const FindingsList& findings) {
  for (int index = 0; index < FindingKind::count; ++index) {
    for (const Finding& finding : findings.findings(FindingKind::from_index(index))) {
      std::error_code error;
      if (std::filesystem::is_regular_file(finding.file.str(), error)) return finding;
    }
  }
  return std::nullopt;
}

std::filesystem::path editor_sample_directory() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
    return std::filesystem::path(cache) / "flawseek";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
    return std::filesystem::path(home) / ".cache" / "flawseek";
  return std::filesystem::temp_directory_path() / "flawseek";
}

std::optional<Finding> write_editor_sample(const std::filesystem::path& directory, std::string& problem) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  const std::filesystem::path file = directory / sample_name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out) out << sample_text;
  if (out) out.close();
  if (!out) {
    problem = "Nothing started: the sample file " + file.string() + " could not be written (" +
              (error ? error.message() : std::string(std::strerror(errno))) + ").";
    return std::nullopt;
  }
  return Finding{file.string(), sample_line, sample_column, ""};
}

std::string test_editor_command(std::string_view command_template, const Finding& sample) {
  const std::vector<std::string> words = editor_command(trimmed(command_template), sample, product_version());
  const std::string shown = shown_command(words);
  if (!program_exists(words.front()))
    return "Nothing started: the program \"" + words.front() + "\" was not found.";
  if (!open_in_editor(sample, trimmed(command_template)))
    return "Nothing started: \"" + shown + "\" could not be started.";
  return "Started: " + shown;
}

}  // namespace flawseek
