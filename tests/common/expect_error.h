// Assertions on what a statement raises, for every unit test program: a
// script error with its whole message and the script it names, a failure
// with its kind and whole message, or any exception type caught as itself.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/errors.h"

namespace zu::testing {

// The exception of type Error that statement raised; none when it returned.
// Exceptions of other types pass through, and the test reports them.
template <class Error, class Statement>
std::optional<Error> RaisedBy(Statement&& statement) {
  try {
    statement();
  } catch (const Error& e) {
    return e;
  }
  return std::nullopt;
}

inline ::testing::AssertionResult IsScriptError(const std::optional<EZuScriptError>& raised,
                                                const TZuScript* script,
                                                const std::string& message) {
  if (!raised) return ::testing::AssertionFailure() << "no script error, expected: " << message;
  if (raised->Message() != message)
    return ::testing::AssertionFailure()
           << "script error \"" << raised->Message() << "\", expected \"" << message << "\"";
  if (raised->Script != script)
    return ::testing::AssertionFailure() << "the script error names another script";
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult IsFailure(const std::optional<EFailure>& raised,
                                            const std::string& kind, const std::string& message) {
  if (!raised) return ::testing::AssertionFailure() << "no failure, expected: " << message;
  if (raised->Kind() != kind || raised->Message() != message)
    return ::testing::AssertionFailure() << raised->Kind() << " \"" << raised->Message()
                                         << "\", expected " << kind << " \"" << message << "\"";
  return ::testing::AssertionSuccess();
}

}  // namespace zu::testing

// The statement raises an EZuScriptError with exactly this message that
// names this script; nullptr for an error raised below the executor, which
// names the running script as the error passes through it.
#define EXPECT_SCRIPT_ERROR(statement, script, message)                                     \
  EXPECT_TRUE(::zu::testing::IsScriptError(                                                 \
      ::zu::testing::RaisedBy<::zu::EZuScriptError>([&] { static_cast<void>(statement); }), \
      (script), (message)))                                                                 \
      << #statement

// The statement raises an EFailure of this kind with exactly this message.
#define EXPECT_FAILURE(statement, kind, message)                                              \
  EXPECT_TRUE(::zu::testing::IsFailure(                                                       \
      ::zu::testing::RaisedBy<::zu::EFailure>([&] { static_cast<void>(statement); }), (kind), \
      (message)))                                                                             \
      << #statement
