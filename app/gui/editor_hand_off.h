// Opening a finding in the programmer's editor: the position as a parameter
// text, the "Editor" command template with %f %l %c %p split into words (no
// shell ever sees the file name), or xdg-open when no template is set.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "findings/finding.h"

namespace flawseek {

inline constexpr std::string_view editor_value = "Editor";

// "-XMovAbs(12,5)" for a CodeWright build, "/12/5" otherwise; a finding
// without column opens at column 1.
std::string editor_parameter_text(const Finding& finding, std::string_view product_version);

// The program and its arguments for a finding: the template's words with the
// placeholders filled in (%f file, %l line, %c column, %p parameter text, %%
// a percent sign); quotes in the template group words and are removed. An
// empty template gives xdg-open and the file.
std::vector<std::string> editor_command(std::string_view command_template, const Finding& finding,
                                        std::string_view product_version);

// Starts the editor detached; nothing happens for a finding whose file does not
// exist (one filed under "Unknown file"). False when nothing was started.
bool open_in_editor(const std::optional<Finding>& finding, std::string_view command_template);

}  // namespace flawseek
