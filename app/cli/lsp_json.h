// Reading the editor's messages without trusting them: a member of the
// wanted type or nothing, positions and ranges that are whole, and the file
// a "file:" URI names. Nothing here throws at a malformed message.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lsp_documents.h"

namespace flawseek {

const nlohmann::json* member(const nlohmann::json& object, const char* key);
const std::string* string_member(const nlohmann::json& object, const char* key);
std::optional<std::int64_t> integer_member(const nlohmann::json& object, const char* key);

// A position or range with every member there and none negative.
std::optional<TextPosition> position_of(const nlohmann::json* value);
std::optional<TextRange> range_of(const nlohmann::json* value);

// The file a "file:" URI names, percent-escapes decoded; none for another
// scheme, a relative path or an escape of a NUL.
std::optional<std::string> path_of_uri(std::string_view uri);

}  // namespace flawseek
