// Format names, and formats chosen by a file name's extension.
#include "output/output_format.h"

#include "platform/latin1.h"

namespace flawseek {

std::string_view format_name(OutputFormat format) {
  switch (format) {
    case OutputFormat::Tree: return "tree";
    case OutputFormat::Gnu: return "gnu";
    case OutputFormat::Csv: return "csv";
    case OutputFormat::Text: return "text";
    case OutputFormat::Json: return "json";
    case OutputFormat::Sarif: return "sarif";
  }
  return "tree";
}

std::optional<OutputFormat> report_format_named_by(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  const std::size_t slash = file_name.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  const std::string_view extension = file_name.substr(dot + 1);
  if (latin1::equal_ignoring_case(extension, "csv")) return OutputFormat::Csv;
  if (latin1::equal_ignoring_case(extension, "txt")) return OutputFormat::Text;
  if (latin1::equal_ignoring_case(extension, "json")) return OutputFormat::Json;
  if (latin1::equal_ignoring_case(extension, "sarif")) return OutputFormat::Sarif;
  return std::nullopt;
}

OutputFormat report_format_for(std::string_view file_name) {
  return report_format_named_by(file_name).value_or(OutputFormat::Text);
}

}  // namespace flawseek
