// The engine's two families of exceptions. Script errors carry the script in
// which they arose and are reported by the host with a location; failures of
// value operations, I/O and regular expressions are not script errors and end
// the run through the host's last-resort report.
#pragma once

#include <stdexcept>
#include <string>

namespace zu {

class TZuScript;

// A mistake in a script: its message and the TZuScript in which it arose.
// Code below the engine (values) raises it with no script; the evaluator
// fills in the executing script before the error travels on.
class EZuScriptError : public std::runtime_error {
 public:
  EZuScriptError(TZuScript* script, const std::string& message)
      : std::runtime_error(message), Script(script), message_(message) {}
  // The whole message; what() stops at a NUL character, which some
  // messages hold ("(" expected, but NUL found).
  const std::string& Message() const { return message_; }
  TZuScript* Script;

 private:
  std::string message_;
};

// A failure that is not a script error. Kind() names the failure class the
// way the last-resort report shows it ("EVariantError", "EZeroDivide", ...).
class EFailure : public std::runtime_error {
 public:
  EFailure(std::string kind, const std::string& message)
      : std::runtime_error(message), kind_(std::move(kind)), message_(message) {}
  const std::string& Kind() const { return kind_; }
  // The whole message, NUL characters included.
  const std::string& Message() const { return message_; }

 private:
  std::string kind_;
  std::string message_;
};

// Failure kinds raised by the value operations.
inline constexpr const char* kVariantError = "EVariantError";      // conversions, error class
inline constexpr const char* kZeroDivide = "EZeroDivide";          // integer remainder by zero
inline constexpr const char* kZeroDivideFloat = "EZeroDivide";     // float division by zero
inline constexpr const char* kInvalidOp = "EInvalidOp";            // 0/0, ToInteger range
inline constexpr const char* kOverflow = "EOverflow";              // float overflow
inline constexpr const char* kConvertError = "EConvertError";      // ParseNumber/ParseInteger
inline constexpr const char* kInOutError = "EInOutError";          // AppendText
inline constexpr const char* kRegExprError = "ERegExpr";           // regular expressions

}  // namespace zu
