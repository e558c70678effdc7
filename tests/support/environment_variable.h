// An environment variable set (or removed) for one scope and put back as it
// was when the scope ends, so one test's settings cannot leak into the next.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace flawseek::testing {

class EnvironmentVariable {
 public:
  // A null `value` removes the variable for the scope.
  EnvironmentVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvironmentVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace flawseek::testing
