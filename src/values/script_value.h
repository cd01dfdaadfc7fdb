// ScriptValue: the one datum of the language (Empty, Integer, Float, DateTime,
// Boolean, Text), with its conversions, operators, literals and strict parsers.
#pragma once

#include <cstdint>
#include <cstring>
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

// The storage of a text, shared by every value that holds it. A Text value
// is a view of the first Length bytes of its storage; a storage is never
// changed below its written end (Used), so a concatenation may append in
// place when its left text ends exactly there and room is left. A NUL
// always follows the written bytes.
struct TextStorage {
  uint32_t Refs;
  size_t Used;
  size_t Capacity;  // bytes for characters, the NUL not counted
  char* Chars() { return reinterpret_cast<char*>(this + 1); }
};

// One script value, copied by value: 16 bytes, a text shared by counting
// references. Text is an immutable 8-bit string that may hold any byte, NUL
// included; the empty text has no storage.
class ScriptValue {
 public:
  ScriptValue() = default;  // Empty
  ScriptValue(const ScriptValue& other) noexcept : ScriptValue(other, Raw{}) {
    if (kind_ == ValueKind::Text && payload_.text != nullptr) ++payload_.text->Refs;
  }
  ScriptValue(ScriptValue&& other) noexcept : ScriptValue(other, Raw{}) {
    other.kind_ = ValueKind::Empty;
  }
  ScriptValue& operator=(const ScriptValue& other) noexcept {
    if (other.kind_ == ValueKind::Text && other.payload_.text != nullptr) ++other.payload_.text->Refs;
    Release();
    CopyBits(other);
    return *this;
  }
  ScriptValue& operator=(ScriptValue&& other) noexcept {
    if (this != &other) {
      Release();
      CopyBits(other);
      other.kind_ = ValueKind::Empty;
    }
    return *this;
  }
  ~ScriptValue() { Release(); }

  static ScriptValue Integer(int32_t v) {
    ScriptValue r;
    r.kind_ = ValueKind::Integer;
    r.payload_.integer = v;
    return r;
  }
  static ScriptValue Float(double v);
  static ScriptValue DateTime(double days);
  static ScriptValue Boolean(bool v) { return BooleanPayload(v ? -1 : 0); }  // true is -1
  static ScriptValue BooleanPayload(int16_t payload) {
    ScriptValue r;
    r.kind_ = ValueKind::Boolean;
    r.payload_.boolean = payload;
    return r;
  }
  static ScriptValue Text(std::string_view v);
  static ScriptValue Text(const std::string& v) { return Text(std::string_view(v)); }
  static ScriptValue Text(const char* v) { return Text(std::string_view(v)); }
  // Two Texts joined; appends in place when the left text ends where its
  // storage's written bytes end and there is room.
  static ScriptValue Concatenate(const ScriptValue& left, const ScriptValue& right);

  // Overwrites the value in place (no temporary), as operator= would.
  void AssignInteger(int32_t v) noexcept {
    Release();
    kind_ = ValueKind::Integer;
    payload_.integer = v;
  }
  void AssignBoolean(bool v) noexcept {
    Release();
    kind_ = ValueKind::Boolean;
    payload_.boolean = static_cast<int16_t>(v ? -1 : 0);
  }

  // Makes the value Empty, as assigning ScriptValue() would.
  void Clear() noexcept {
    Release();
    kind_ = ValueKind::Empty;
  }

  ValueKind Kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == ValueKind::Empty; }

  // Raw payloads; only meaningful for the matching kind.
  int32_t IntegerPayload() const { return payload_.integer; }
  double DoublePayload() const { return payload_.real; }  // Float and DateTime
  int16_t BoolPayload() const { return payload_.boolean; }
  std::string_view TextPayload() const {
    return payload_.text == nullptr ? std::string_view() : std::string_view(payload_.text->Chars(), length_);
  }
  // The text followed by a NUL, valid as long as this value holds it.
  const char* TextCStr() const;

 private:
  struct Raw {};
  ScriptValue(const ScriptValue& other, Raw) noexcept { CopyBits(other); }
  void CopyBits(const ScriptValue& other) noexcept {
    // The whole value at once (kind, length and whichever payload member is
    // in use): two machine words rather than three fields.
    std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(ScriptValue));
  }
  void Release() noexcept {
    if (kind_ == ValueKind::Text && payload_.text != nullptr && --payload_.text->Refs == 0) FreeStorage(payload_.text);
  }
  static void FreeStorage(TextStorage* storage) noexcept;

  ValueKind kind_ = ValueKind::Empty;
  uint32_t length_ = 0;  // Text: number of bytes
  union Payload {
    TextStorage* text;
    int32_t integer;
    double real;
    int16_t boolean;
  } payload_{nullptr};
};
static_assert(sizeof(ScriptValue) == 16);

// Conversions. Direct cases are computed here, the rest go through the
// platform's coercion service; a failed conversion raises EFailure
// "Invalid variant type conversion".
int32_t ToInteger(const ScriptValue& v);
double ToFloat(const ScriptValue& v);
bool CoerceToBoolean(const ScriptValue& v);
// Inline for a Boolean, the usual condition of If and While.
inline bool ToBoolean(const ScriptValue& v) {
  if (v.Kind() == ValueKind::Boolean) return v.BoolPayload() != 0;
  return CoerceToBoolean(v);
}
std::string ToText(const ScriptValue& v);
double ToDateTime(const ScriptValue& v);

// The text of a value for reading: a view of the value's own characters
// when it is a Text (no copy), else the converted text held here. Lives no
// longer than the value it was made from.
class TextOf {
 public:
  explicit TextOf(const ScriptValue& v)
      : owned_(v.Kind() == ValueKind::Text ? std::string() : ToText(v)),
        view_(v.Kind() == ValueKind::Text ? v.TextPayload() : std::string_view(owned_)) {}
  TextOf(const TextOf&) = delete;
  TextOf& operator=(const TextOf&) = delete;
  std::string_view View() const { return view_; }

 private:
  std::string owned_;
  std::string_view view_;
};

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

// The eighteen operators of expressions; Invalid stands for any other text.
enum class Operator : uint8_t {
  Add,
  Subtract,
  Multiply,
  Divide,
  Mod,
  And,
  Or,
  Xor,
  ShiftLeft,
  ShiftRight,
  Greater,
  GreaterOrEqual,
  Less,
  LessOrEqual,
  Equal,
  NotEqual,
  LogicalOr,
  LogicalAnd,
  Invalid,
};
// The operator an operator text stands for (matched exactly).
Operator DecodeOperator(std::string_view text);

// The expression operator with the Empty rule; an unknown operator text is
// the script error "Invalid operator \"OP\"" (raised without script).
ScriptValue ApplyOperator(const ScriptValue& l, std::string_view op, const ScriptValue& r);
// The same with the operator decoded; text is the operator as written, used
// only for the message of an Invalid operator.
ScriptValue ApplyOperator(const ScriptValue& l, Operator op, std::string_view text,
                          const ScriptValue& r);

// Boolean negation (true exactly when the payload is 0).
ScriptValue NotValue(const ScriptValue& v);

// The strict parsers ParseNumber and ParseInteger live in support/numbers.h.

}  // namespace zu
