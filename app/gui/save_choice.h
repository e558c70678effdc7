// The file types the window's Save As offers, and the file and format a name
// typed in its dialog comes to.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "output/output_format.h"

namespace flawseek {

struct SaveFileType {
  std::string_view filter;  // as the dialog lists it
  OutputFormat format;
  std::string_view extension;
};

// In the dialog's order; the first is selected when it opens.
inline constexpr std::array<SaveFileType, 4> save_file_types{{
    {"Comma Delimited (*.csv)", OutputFormat::Csv, "csv"},
    {"Plain text (*.txt)", OutputFormat::Text, "txt"},
    {"JSON (*.json)", OutputFormat::Json, "json"},
    {"SARIF (*.sarif)", OutputFormat::Sarif, "sarif"},
}};

// The type a filter text stands for; the plain-text report for a text the
// dialog never offered.
const SaveFileType& save_file_type(std::string_view filter);

struct SaveChoice {
  std::string path;
  OutputFormat format;
};

// The typed name's own format when its extension names a report format;
// otherwise the selected type's, with that type's extension added.
SaveChoice save_choice(std::string_view typed_name, std::string_view selected_filter);

}  // namespace flawseek
