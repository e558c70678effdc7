// The bug checker's request to end the check of a file or pair early: the
// finding limit was reached, or a line too long to analyse was met with style
// checks on. It is not a failure: the driver ends the unit quietly.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace flawseek {

inline constexpr std::string_view stop_request_name = "DEFECT_SCAN.NQS.STOP";

class StopRequest : public std::runtime_error {
 public:
  // Why the check ends: the driver must tell the user of a file cut short.
  enum class Cause : std::uint8_t { FindingLimit, LineTooLong };

  explicit StopRequest(Cause cause = Cause::FindingLimit)
      : std::runtime_error(std::string(stop_request_name)), cause_(cause) {}
  Cause cause() const noexcept { return cause_; }

 private:
  Cause cause_;
};

}  // namespace flawseek
