// Small queries about the program and its surroundings: the product's name,
// version and copyright, the local time and its image in the user's locale, the
// calling thread's image, hexadecimal images, the idle scheduling priority and
// the current directory.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace flawseek {

// From the build (the project's name, version and copyright notice).
std::string_view product_name();
std::string_view product_version();
std::string_view legal_copyright();

// The current local date and time, broken down.
std::tm local_time();

// The date and the time in the user's locale (LC_ALL / LC_TIME / LANG, as
// "%x %X"), separated by one blank. The process-wide C locale is left alone:
// a changed decimal point would change the numbers in reports and the log.
std::string date_and_time_image(const std::tm& time);

// Four upper-case hexadecimal digits, high byte first: hex_image(0x1A2B) ==
// "1A2B". The eight-digit form serves 32-bit values.
std::string hex_image(std::uint16_t value);
std::string hex_image_32(std::uint32_t value);

// The low 16 bits of the calling thread's kernel id, as hex_image.
std::string thread_image();

// Lowers every thread of the process to the lowest scheduling priority (nice
// 19); threads started later inherit it. False when the system refused.
bool set_idle_priority();

// The process's current directory, the initial search root ("/" when it has
// been removed under us).
std::string current_directory_text();

}  // namespace flawseek
