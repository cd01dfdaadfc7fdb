// ScriptValue: the one datum of the language (Empty, Integer, Float, DateTime,
// Boolean, Text), with its conversions, operators, literals and strict parsers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zu {

// The six kinds; the numbers are the kind codes the engine tests.
enum class ValueKind : uint16_t {
  Empty = 0,
  Integer = 3,
  Float = 5,
  DateTime = 7,
  Boolean = 11,
  Text = 256,
};

// One script value, copied by value. Text is an immutable 8-bit string that
// may hold any byte, NUL included.
class ScriptValue {
 public:
  ScriptValue() = default;  // Empty

  static ScriptValue Integer(int32_t v);
  static ScriptValue Float(double v);
  static ScriptValue DateTime(double days);
  static ScriptValue Boolean(bool v);  // true is stored as -1
  static ScriptValue BooleanPayload(int16_t payload);
  static ScriptValue Text(std::string v);

  ValueKind Kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == ValueKind::Empty; }

  // Raw payloads; only meaningful for the matching kind.
  int32_t IntegerPayload() const { return int_; }
  double DoublePayload() const { return double_; }  // Float and DateTime
  int16_t BoolPayload() const { return bool_; }
  const std::string& TextPayload() const { return text_; }

 private:
  ValueKind kind_ = ValueKind::Empty;
  union {
    int32_t int_ = 0;
    double double_;
    int16_t bool_;
  };
  std::string text_;
};

// Conversions. Direct cases are computed here, the rest go through the
// platform's coercion service; a failed conversion raises EFailure
// "Invalid variant type conversion".
int32_t ToInteger(const ScriptValue& v);
double ToFloat(const ScriptValue& v);
bool ToBoolean(const ScriptValue& v);
std::string ToText(const ScriptValue& v);
double ToDateTime(const ScriptValue& v);

// The value of a literal operand (string, 0x hexadecimal, decimal integer,
// fraction). Raises EZuScriptError (without script) for "Unexpected end of
// string" and "Invalid hexadecimal number". Precondition: the text is one of
// the literal forms (IsLiteralText).
ScriptValue LiteralValue(std::string_view text);
// True when LiteralValue applies to the operand: a quote first, "0x"/"0X"
// with at least three characters, or only digits, '-', '+', '.'.
bool IsLiteralText(std::string_view text);

// The value operations (no Empty rule): an Empty operand fails with
// "Invalid variant operation".
ScriptValue AddValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue SubtractValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue MultiplyValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue DivideValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue ModValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue AndValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue OrValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue XorValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue ShlValues(const ScriptValue& l, const ScriptValue& r);
ScriptValue ShrValues(const ScriptValue& l, const ScriptValue& r);

// Three-way comparison: -1 less, 0 equal, 1 greater.
int CompareValues(const ScriptValue& l, const ScriptValue& r);

// The expression operator with the Empty rule; an unknown operator text is
// the script error "Invalid operator \"OP\"" (raised without script).
ScriptValue ApplyOperator(const ScriptValue& l, std::string_view op, const ScriptValue& r);

// Boolean negation (true exactly when the payload is 0).
ScriptValue NotValue(const ScriptValue& v);

// The strict parsers ParseNumber and ParseInteger live in support/numbers.h.

}  // namespace zu
