// Choosing the file and format of a Save As.
#include "save_choice.h"

namespace flawseek {

namespace {
// What a name without a known extension got before there were file types.
constexpr std::size_t plain_text_type = 1;
static_assert(save_file_types[plain_text_type].format == OutputFormat::Text);
}  // namespace

const SaveFileType& save_file_type(std::string_view filter) {
  for (const SaveFileType& type : save_file_types) {
    if (type.filter == filter) return type;
  }
  return save_file_types[plain_text_type];
}

SaveChoice save_choice(std::string_view typed_name, std::string_view selected_filter) {
  if (const auto named = report_format_named_by(typed_name)) return {std::string(typed_name), *named};
  const SaveFileType& type = save_file_type(selected_filter);
  std::string path(typed_name);
  path += '.';
  path += type.extension;
  return {path, type.format};
}

}  // namespace flawseek
