// Assertion helpers for value tests: whole-message checks of the failures
// and script errors that value operations raise.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/errors.h"
#include "values/script_value.h"

// Expects stmt to raise EFailure of the given kind with exactly this message.
#define EXPECT_FAILURE(stmt, kind, message)               \
  do {                                                    \
    try {                                                 \
      (void)(stmt);                                       \
      ADD_FAILURE() << #stmt " raised nothing";           \
    } catch (const ::zu::EFailure& e) {                   \
      EXPECT_EQ(std::string(kind), e.Kind()) << #stmt;    \
      EXPECT_EQ(std::string(message), e.what()) << #stmt; \
    }                                                     \
  } while (0)

// Expects stmt to raise a script error without script and this message.
#define EXPECT_SCRIPT_ERROR(stmt, message)                \
  do {                                                    \
    try {                                                 \
      (void)(stmt);                                       \
      ADD_FAILURE() << #stmt " raised nothing";           \
    } catch (const ::zu::EZuScriptError& e) {             \
      EXPECT_EQ(nullptr, e.Script);                       \
      EXPECT_EQ(std::string(message), e.what()) << #stmt; \
    }                                                     \
  } while (0)

namespace zu::testing {

inline ScriptValue I(int32_t v) { return ScriptValue::Integer(v); }
inline ScriptValue F(double v) { return ScriptValue::Float(v); }
inline ScriptValue D(double v) { return ScriptValue::DateTime(v); }
inline ScriptValue B(bool v) { return ScriptValue::Boolean(v); }
inline ScriptValue T(std::string v) { return ScriptValue::Text(std::move(v)); }
inline ScriptValue E() { return ScriptValue(); }

// Kind and payload in one comparable text: "Integer 5", "Float 3.5",
// "Text ab", "Boolean -1", "DateTime 1", "Empty".
inline std::string Show(const ScriptValue& v) {
  char buf[64];
  switch (v.Kind()) {
    case ValueKind::Empty:
      return "Empty";
    case ValueKind::Integer:
      return "Integer " + std::to_string(v.IntegerPayload());
    case ValueKind::Float:
      std::snprintf(buf, sizeof buf, "Float %.17g", v.DoublePayload());
      return buf;
    case ValueKind::DateTime:
      std::snprintf(buf, sizeof buf, "DateTime %.17g", v.DoublePayload());
      return buf;
    case ValueKind::Boolean:
      return "Boolean " + std::to_string(v.BoolPayload());
    case ValueKind::Text:
      return "Text " + v.TextPayload();
  }
  return "?";
}

}  // namespace zu::testing
