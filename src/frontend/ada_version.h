// The Ada language levels the front end reads. A level decides which words
// are reserved and which constructs the parser takes; a file's own
// configuration pragma (pragma Ada_95; ...) sets the level for that file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace flawseek {

enum class AdaVersion : std::uint8_t { ADA_95, ADA_2005, ADA_2012, ADA_2022 };

inline constexpr int ada_version_count = 4;

// GNAT 12's own default, and so what most code today is written for.
inline constexpr AdaVersion default_ada_version = AdaVersion::ADA_2012;

// The level as users write it: "95", "2005", "2012", "2022".
inline constexpr std::array<std::string_view, ada_version_count> ada_version_images = {"95", "2005", "2012",
                                                                                      "2022"};

constexpr std::string_view image(AdaVersion version) {
  return ada_version_images[static_cast<std::size_t>(version)];
}

// "Ada 2005": the level as the language's own name.
constexpr std::string_view ada_version_name(AdaVersion version) {
  constexpr std::array<std::string_view, ada_version_count> names = {"Ada 95", "Ada 2005", "Ada 2012",
                                                                      "Ada 2022"};
  return names[static_cast<std::size_t>(version)];
}

// The level named by `text` ("95", "2005", "2012", "2022"); nothing for any
// other text.
constexpr std::optional<AdaVersion> parse_ada_version(std::string_view text) {
  for (int v = 0; v < ada_version_count; ++v) {
    if (text == ada_version_images[static_cast<std::size_t>(v)]) return static_cast<AdaVersion>(v);
  }
  return std::nullopt;
}

constexpr bool at_least(AdaVersion version, AdaVersion level) {
  return static_cast<int>(version) >= static_cast<int>(level);
}

}  // namespace flawseek
