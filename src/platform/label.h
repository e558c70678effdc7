// The display form of an enumeration literal: "Gnat Extensions" from
// GNAT_EXTENSIONS. Menus, settings value names and report kind texts all use it,
// so changing it changes stored settings and reports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace flawseek {

// Underscores count as blanks; blanks at the start or after another blank are
// dropped; the first letter after the start or a kept blank is upper case and
// every other letter lower case (Latin-1 letters included).
std::string label(std::string_view image);

// The same rule applied to the decimal image of a non-negative number, which
// removes the leading blank: label(7) == "7".
std::string label(std::int64_t value);

// Decimal image with one leading blank for non-negative values (" 12", "-3"),
// the form numbers take in texts the user sees.
std::string number_image(std::int64_t value);
// The same image appended to `text`, for texts built once per file.
void append_number_image(std::string& text, std::int64_t value);

}  // namespace flawseek
