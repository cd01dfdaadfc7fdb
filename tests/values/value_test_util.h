// Helpers of the value tests: short constructors of values and one text
// that shows a value's kind and payload.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/expect_error.h"
#include "values/script_value.h"

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
      return "Text " + std::string(v.TextPayload());
  }
  return "?";
}

}  // namespace zu::testing
