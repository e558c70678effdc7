// The run's context, file names relative to the root, and texts made UTF-8.
#include "output/report_context.h"

#include <filesystem>

#include "driver/job.h"
#include "driver/source_search.h"

namespace flawseek {

ReportContext report_context_of(const Job& job, std::string_view current_directory) {
  ReportContext context;
  context.job = &job;
  if (const auto root = resolve_search_root(job.search_root(), current_directory)) context.root_directory = root->directory;
  return context;
}

std::string root_relative_name(const ReportContext& context, const std::string& file) {
  if (context.root_directory.empty()) return file;
  const std::filesystem::path relative =
      std::filesystem::path(file).lexically_relative(std::filesystem::path(context.root_directory));
  if (relative.empty() || *relative.begin() == "..") return file;
  return relative.generic_string();
}

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when it is not one.
std::size_t utf8_sequence_length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms and surrogates are not UTF-8 either.
  if (lead == 0xE0 && byte(at + 1) < 0xA0) return 0;
  if (lead == 0xED && byte(at + 1) >= 0xA0) return 0;
  if (lead == 0xF0 && byte(at + 1) < 0x90) return 0;
  if (lead == 0xF4 && byte(at + 1) >= 0x90) return 0;
  return length;
}

bool is_utf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8_sequence_length(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace

std::string utf8_text(std::string_view text) {
  if (is_utf8(text)) return std::string(text);
  std::string result;
  result.reserve(text.size() + text.size() / 4);
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x80) {
      result.push_back(c);
    } else {
      result.push_back(static_cast<char>(0xC0 | (code >> 6)));
      result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return result;
}

}  // namespace flawseek
