// Setting environment variables of the test process, the same way on every
// platform, and putting them back when a test ends.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace zu::testing {

// Sets name to value; a null value removes the variable.
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  // An empty value removes the variable there.
  _putenv_s(name, value == nullptr ? "" : value);
#else
  if (value == nullptr) {
    unsetenv(name);
  } else {
    setenv(name, value, 1);
  }
#endif
}

// Sets a variable for the life of the object, then restores the old value.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    SetEnv(name, value.c_str());
  }
  ~ScopedEnv() { SetEnv(name_.c_str(), old_ ? old_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace zu::testing
