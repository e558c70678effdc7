// Version facts, local time images, thread images, process priority and the
// current directory.
#include "platform/environment.h"

#include <dirent.h>
#include <locale.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "build_info.h"

namespace flawseek {

namespace {

constexpr char hex_digits[] = "0123456789ABCDEF";

// The user's locale for time images, made once; "C" when the environment
// names a locale the system does not have.
locale_t user_time_locale() {
  static const locale_t locale = [] {
    locale_t made = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (made == static_cast<locale_t>(0)) made = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return made;
  }();
  return locale;
}

}  // namespace

std::string_view product_name() { return build_info::product_name; }
std::string_view product_version() { return build_info::product_version; }
std::string_view legal_copyright() { return build_info::legal_copyright; }

std::tm local_time() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return local;
}

std::string date_and_time_image(const std::tm& time) {
  char text[128];
  std::size_t length = 0;
  if (locale_t locale = user_time_locale(); locale != static_cast<locale_t>(0)) {
    length = ::strftime_l(text, sizeof text, "%x %X", &time, locale);
  }
  // A locale whose formats do not fit (none known) still gives a readable time.
  if (length == 0) length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &time);
  return std::string(text, length);
}

std::string hex_image(std::uint16_t value) {
  std::string image(4, '0');
  for (int i = 3; i >= 0; --i) {
    image[static_cast<std::size_t>(i)] = hex_digits[value & 0xF];
    value = static_cast<std::uint16_t>(value >> 4);
  }
  return image;
}

std::string hex_image_32(std::uint32_t value) {
  return hex_image(static_cast<std::uint16_t>(value >> 16)) + hex_image(static_cast<std::uint16_t>(value));
}

std::string thread_image() {
  static thread_local const std::string image =
      hex_image(static_cast<std::uint16_t>(static_cast<unsigned long>(::syscall(SYS_gettid)) & 0xFFFF));
  return image;
}

bool set_idle_priority() {
  // Linux keeps a nice value per thread, so each existing thread is lowered.
  bool all = true;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
      id_t thread = static_cast<id_t>(std::strtoul(entry->d_name, nullptr, 10));
      if (::setpriority(PRIO_PROCESS, thread, 19) != 0) all = false;
    }
    ::closedir(tasks);
    return all;
  }
  return ::setpriority(PRIO_PROCESS, 0, 19) == 0;
}

std::string current_directory_text() {
  std::error_code error;
  std::filesystem::path here = std::filesystem::current_path(error);
  if (error || here.empty()) return "/";
  return here.string();
}

}  // namespace flawseek
