// Test support: an environment variable set (or unset) for one scope, and put back as it was
// however the scope ends, so that a failing assertion cannot leak it into the tests after.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace qv::test {

class ScopedEnv {
 public:
  // `value` null: the variable is unset for the scope.
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* before = std::getenv(name)) before_ = before;
    Set(value);
  }
  ~ScopedEnv() { Set(before_ ? before_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

  void Set(const char* value) { value ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str()); }

 private:
  std::string name_;
  std::optional<std::string> before_;
};

}  // namespace qv::test
