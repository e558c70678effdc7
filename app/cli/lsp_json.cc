// The editor's messages read member by member.
#include "lsp_json.h"

#include <algorithm>
#include <filesystem>

namespace flawseek {

const nlohmann::json* member(const nlohmann::json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

const std::string* string_member(const nlohmann::json& object, const char* key) {
  const nlohmann::json* value = member(object, key);
  return value != nullptr && value->is_string() ? value->get_ptr<const std::string*>() : nullptr;
}

std::optional<std::int64_t> integer_member(const nlohmann::json& object, const char* key) {
  const nlohmann::json* value = member(object, key);
  if (value == nullptr || !value->is_number_integer()) return std::nullopt;
  return value->get<std::int64_t>();
}

std::optional<TextPosition> position_of(const nlohmann::json* value) {
  if (value == nullptr) return std::nullopt;
  const auto line = integer_member(*value, "line");
  const auto character = integer_member(*value, "character");
  if (!line || !character || *line < 0 || *character < 0) return std::nullopt;
  return TextPosition{*line, *character};
}

std::optional<TextRange> range_of(const nlohmann::json* value) {
  if (value == nullptr) return std::nullopt;
  const auto start = position_of(member(*value, "start"));
  const auto end = position_of(member(*value, "end"));
  if (!start || !end) return std::nullopt;
  return TextRange{*start, *end};
}

std::optional<std::string> path_of_uri(std::string_view uri) {
  constexpr std::string_view scheme = "file://";
  if (uri.size() < scheme.size() || !std::equal(scheme.begin(), scheme.end(), uri.begin(), [](char a, char b) {
        return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
      })) {
    return std::nullopt;
  }
  uri.remove_prefix(scheme.size());
  if (uri.starts_with("localhost/")) uri.remove_prefix(std::string_view("localhost").size());
  uri = uri.substr(0, uri.find_first_of("?#"));
  if (!uri.starts_with('/')) return std::nullopt;
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string path;
  for (std::size_t at = 0; at < uri.size(); ++at) {
    if (uri[at] == '%' && at + 2 < uri.size() && hex(uri[at + 1]) >= 0 && hex(uri[at + 2]) >= 0) {
      const char decoded = static_cast<char>(hex(uri[at + 1]) * 16 + hex(uri[at + 2]));
      if (decoded == '\0') return std::nullopt;
      path.push_back(decoded);
      at += 2;
    } else {
      path.push_back(uri[at]);
    }
  }
  return std::filesystem::path(path).lexically_normal().string();
}

}  // namespace flawseek
