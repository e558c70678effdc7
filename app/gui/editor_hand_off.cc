// The editor hand-off: parameter text, command words and the start itself.
#include "editor_hand_off.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>

#include "platform/environment.h"

namespace flawseek {

std::string editor_parameter_text(const Finding& finding, std::string_view product_version) {
  const std::int32_t column = finding.column == no_column ? 1 : finding.column;
  const std::string line_text = std::to_string(finding.line);
  const std::string column_text = std::to_string(column);
  if (product_version.starts_with("CodeWright")) return "-XMovAbs(" + line_text + "," + column_text + ")";
  return "/" + line_text + "/" + column_text;
}

namespace {

// The template's words: blanks separate, quotes group (and are dropped).
std::vector<std::string> split_words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (char c : text) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      else word += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
      in_word = true;
    } else if (c == ' ' || c == '\t') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

}  // namespace

std::vector<std::string> editor_command(std::string_view command_template, const Finding& finding,
                                        std::string_view product_version) {
  std::vector<std::string> words = split_words(command_template);
  if (words.empty()) return {"xdg-open", finding.file};
  const std::string line_text = std::to_string(finding.line);
  const std::string column_text = std::to_string(finding.column == no_column ? 1 : finding.column);
  const std::string parameter = editor_parameter_text(finding, product_version);
  for (std::string& word : words) {
    std::string filled;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (word[i] != '%' || i + 1 == word.size()) {
        filled += word[i];
        continue;
      }
      switch (word[++i]) {
        case 'f': filled += finding.file; break;
        case 'l': filled += line_text; break;
        case 'c': filled += column_text; break;
        case 'p': filled += parameter; break;
        case '%': filled += '%'; break;
        default: filled += '%'; filled += word[i]; break;
      }
    }
    word = std::move(filled);
  }
  return words;
}

bool open_in_editor(const std::optional<Finding>& finding, std::string_view command_template) {
  if (!finding) return false;
  std::error_code error;
  if (!std::filesystem::exists(finding->file.str(), error)) return false;
  const std::vector<std::string> words = editor_command(command_template, *finding, product_version());
  QStringList arguments;
  for (std::size_t i = 1; i < words.size(); ++i) arguments << QString::fromStdString(words[i]);
  // Detached: the editor outlives a search, and no shell reads the words.
  return QProcess::startDetached(QString::fromStdString(words.front()), arguments);
}

}  // namespace flawseek
