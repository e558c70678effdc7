// Building the status-line texts of a search.
#include "driver/search_texts.h"

#include "frontend/ada_line_reader.h"
#include "platform/label.h"
#include "platform/printable_text.h"

namespace flawseek {

std::string_view plural(std::int64_t count) { return count == 1 ? "" : "s"; }

std::string skipped_text(std::int64_t read_only_skipped) {
  if (read_only_skipped <= 0) return {};
  std::string text = " (";
  text += number_image(read_only_skipped);
  text += " Read-Only file";
  text += plural(read_only_skipped);
  text += " skipped )";
  return text;
}

// Said only when the user asked for exclusions and they left something out.
std::string excluded_text(std::int64_t excluded) {
  if (excluded <= 0) return {};
  std::string text = " (";
  text += number_image(excluded);
  text += excluded == 1 ? " file" : " files";
  text += " excluded )";
  return text;
}

std::string progress_text(Phase phase, const WalkCounts& counts) {
  // Built once per file walked: one allocation.
  std::string text;
  text.reserve(64);
  text += phase == Phase::Preparation ? SearchTexts::preparing : SearchTexts::searching;
  append_number_image(text, counts.files_processed);
  text += " file";
  text += plural(counts.files_processed);
  text += " processed.";
  text += skipped_text(counts.read_only_skipped);
  text += excluded_text(counts.excluded);
  return text;
}

std::string result_text(std::int64_t findings_count, const WalkCounts& counts, std::int64_t unreadable) {
  const std::int64_t potential_bugs = findings_count - unreadable;
  std::string text = number_image(potential_bugs);
  text += " potential bug";
  text += plural(potential_bugs);
  text += " found in search of";
  text += number_image(counts.files_processed);
  text += " file";
  text += plural(counts.files_processed);
  text += skipped_text(counts.read_only_skipped);
  text += excluded_text(counts.excluded);
  if (unreadable > 0) {
    text += ",";
    text += number_image(unreadable);
    text += unreadable == 1 ? " path" : " paths";
    text += " could not be read";
  }
  return text;
}

std::string cut_short_note(std::string_view file, std::int32_t line, std::string_view unchecked_body) {
  std::string text = printable(file);
  text += ':';
  text += std::to_string(line);
  text += ": line longer than ";
  text += std::to_string(AdaLineReader::long_line_limit);
  text += " characters; the rest of the file was not checked";
  if (!unchecked_body.empty()) {
    text += ", nor was its body ";
    text += printable(unchecked_body);
  }
  return text;
}

}  // namespace flawseek
