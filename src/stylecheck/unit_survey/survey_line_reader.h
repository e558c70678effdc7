// The unit survey's line source: the lines of one file as the scanner reads
// them, with "-->" comments handed to the style comment-command parser.
#pragma once

#include <string>
#include <string_view>

#include "frontend/ada_line_reader.h"
#include "stylecheck/style_command_parser.h"
#include "stylecheck/unit_survey/survey_hooks.h"

namespace flawseek {

class SurveyLineReader final : private LineReaderListener {
 public:
  explicit SurveyLineReader(SurveyHooks& hooks) : reader_(this), hooks_(hooks) {}
  SurveyLineReader(const SurveyLineReader&) = delete;
  SurveyLineReader& operator=(const SurveyLineReader&) = delete;

  // Reads the file whole; false with the reason in `error` when it cannot.
  bool open(const std::string& path, std::string& error) { return reader_.open(path, error); }
  void close() { reader_.set_text_view({}); }
  LineSource& line_source() noexcept { return reader_; }

 private:
  // A line too long for the scanner ends the survey's parse through the
  // scanner's own failure, which the survey takes as the end of the file.
  void on_line(const DeliveredLine& line) override {
    if (!line.has_command) return;
    const auto keyword = commands_.parse(line.command);
    if (keyword == StyleKeyword::KEYWORD_TAVIK || keyword == StyleKeyword::KEYWORD_TAVIK_95) {
      hooks_.style_command_read(line.number);
    }
  }

  AdaLineReader reader_;
  SurveyHooks& hooks_;
  StyleCommandParser commands_;
};

}  // namespace flawseek
