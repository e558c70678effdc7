// The texts the flawseek program prints about itself: version and usage.
#pragma once

#include <string>

namespace flawseek {

// "Flawseek 0.1.0" and the copyright line, from the build.
std::string version_text();

// The full usage, listing every option, the style kinds and the style sets.
std::string usage_text();

}  // namespace flawseek
