// Splitting a fuzzer's input into the switches of a run and its texts: the
// first bytes are switches, the rest is cut at the first "\n@@@\n" into two
// texts (for a specification-and-body pair). Every input means something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace flawseek::fuzzing {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next switch byte (0 when the input is used up).
  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }
  bool flag(std::uint8_t switches, int bit) const { return (switches >> bit) & 1; }

  // What is left, as one or two texts.
  std::string_view first_text() const { return rest_.substr(0, rest_.find(separator)); }
  bool has_second_text() const { return rest_.find(separator) != std::string_view::npos; }
  std::string_view second_text() const {
    const auto at = rest_.find(separator);
    return at == std::string_view::npos ? std::string_view{} : rest_.substr(at + separator.size());
  }
  std::string_view rest() const { return rest_; }

  static constexpr std::string_view separator = "\n@@@\n";

 private:
  std::string_view rest_;
};

}  // namespace flawseek::fuzzing
