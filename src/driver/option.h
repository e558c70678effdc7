// The five switches of a job. Their labels name the stored settings values
// ("Search Subfolders"), so the literals and their order are part of the format.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace flawseek {

enum class Option : std::uint8_t {
  GNAT_EXTENSIONS,
  PREPARATION_PHASE,
  SKIP_READ_ONLY_FILES,
  SEARCH_SUBFOLDERS,
  RELAXED_STYLES,
};

inline constexpr int option_count = 5;
static_assert(static_cast<int>(Option::RELAXED_STYLES) + 1 == option_count);
// GNAT_EXTENSIONS .. SEARCH_SUBFOLDERS are always offered; RELAXED_STYLES only
// in extended style mode.
inline constexpr int basic_option_count = 4;

inline constexpr std::array<std::string_view, option_count> option_images = {
    "GNAT_EXTENSIONS", "PREPARATION_PHASE", "SKIP_READ_ONLY_FILES", "SEARCH_SUBFOLDERS",
    "RELAXED_STYLES"};

constexpr std::string_view image(Option option) {
  return option_images[static_cast<std::size_t>(option)];
}

}  // namespace flawseek
