// The two-operand value operations: the operation class of a pair of kinds,
// arithmetic with integer overflow to float, bitwise, boolean and date
// operations, comparison and the expression operator with its Empty rule.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/errors.h"
#include "values/script_value.h"

namespace zu {
namespace {

enum class OpClass { Error, Integer, Float, Text, Boolean, Date };

OpClass ClassOf(ValueKind k) {
  switch (k) {
    case ValueKind::Integer:
      return OpClass::Integer;
    case ValueKind::Float:
      return OpClass::Float;
    case ValueKind::Text:
      return OpClass::Text;
    case ValueKind::Boolean:
      return OpClass::Boolean;
    case ValueKind::DateTime:
      return OpClass::Date;
    case ValueKind::Empty:
      break;
  }
  return OpClass::Error;
}

// Operation class of a pair; symmetric. Rows and columns in the order of
// OpClass.
constexpr OpClass kPairClass[6][6] = {
    {OpClass::Error, OpClass::Error, OpClass::Error, OpClass::Error, OpClass::Error,
     OpClass::Error},
    {OpClass::Error, OpClass::Integer, OpClass::Float, OpClass::Float, OpClass::Integer,
     OpClass::Date},
    {OpClass::Error, OpClass::Float, OpClass::Float, OpClass::Float, OpClass::Float, OpClass::Date},
    {OpClass::Error, OpClass::Float, OpClass::Float, OpClass::Text, OpClass::Boolean,
     OpClass::Date},
    {OpClass::Error, OpClass::Integer, OpClass::Float, OpClass::Boolean, OpClass::Boolean,
     OpClass::Date},
    {OpClass::Error, OpClass::Date, OpClass::Date, OpClass::Date, OpClass::Date, OpClass::Date},
};

OpClass PairClass(const ScriptValue& l, const ScriptValue& r) {
  return kPairClass[static_cast<int>(ClassOf(l.Kind()))][static_cast<int>(ClassOf(r.Kind()))];
}

[[noreturn]] void InvalidOperation() { throw EFailure(kVariantError, "Invalid variant operation"); }

enum class Arith { Add, Sub, Mul, Div };

// Float arithmetic at extended precision, rounded once to a double; the
// overflow check applies to the stored result. Right operand converted first.
double FloatArith(Arith op, const ScriptValue& l, const ScriptValue& r) {
  const long double b = ToFloat(r);
  const long double a = ToFloat(l);
  long double res = 0;
  switch (op) {
    case Arith::Add:
      res = a + b;
      break;
    case Arith::Sub:
      res = a - b;
      break;
    case Arith::Mul:
      res = a * b;
      break;
    case Arith::Div:
      if (b == 0) {
        if (a == 0 || std::isnan(a)) throw EFailure(kInvalidOp, "Invalid floating point operation");
        throw EFailure(kZeroDivideFloat, "Floating point division by zero");
      }
      res = a / b;
      break;
  }
  if (std::isnan(res)) throw EFailure(kInvalidOp, "Invalid floating point operation");
  const double stored = static_cast<double>(res);
  if (std::isinf(stored)) throw EFailure(kOverflow, "Floating point overflow");
  return stored;
}

// +, -, * of the integer class: 32-bit, redone as float when it overflows.
ScriptValue IntegerOrFloat(Arith op, const ScriptValue& l, const ScriptValue& r) {
  const int64_t b = ToInteger(r);
  const int64_t a = ToInteger(l);
  const int64_t res = op == Arith::Add ? a + b : op == Arith::Sub ? a - b : a * b;
  if (res >= INT32_MIN && res <= INT32_MAX) return ScriptValue::Integer(static_cast<int32_t>(res));
  return ScriptValue::Float(FloatArith(op, l, r));
}

ScriptValue Arithmetic(Arith op, const ScriptValue& l, const ScriptValue& r) {
  switch (PairClass(l, r)) {
    case OpClass::Error:
      InvalidOperation();
    case OpClass::Integer:
      if (op != Arith::Div) return IntegerOrFloat(op, l, r);
      return ScriptValue::Float(FloatArith(op, l, r));
    case OpClass::Text:
      if (op == Arith::Add) return ScriptValue::Concatenate(l, r);
      return ScriptValue::Float(FloatArith(op, l, r));
    case OpClass::Date:
      if (op == Arith::Add) return ScriptValue::DateTime(FloatArith(op, l, r));
      if (op == Arith::Sub) {
        const double d = FloatArith(op, l, r);
        if (l.Kind() == ValueKind::DateTime && r.Kind() == ValueKind::DateTime)
          return ScriptValue::Float(d);
        return ScriptValue::DateTime(d);
      }
      return ScriptValue::Float(FloatArith(op, l, r));
    case OpClass::Float:
    case OpClass::Boolean:
      return ScriptValue::Float(FloatArith(op, l, r));
  }
  InvalidOperation();
}

enum class Bits { Mod, Shl, Shr, And, Or, Xor };

ScriptValue Bitwise(Bits op, const ScriptValue& l, const ScriptValue& r) {
  const OpClass cls = PairClass(l, r);
  if (cls == OpClass::Error) InvalidOperation();
  if (cls == OpClass::Boolean && (op == Bits::And || op == Bits::Or || op == Bits::Xor)) {
    const bool b = ToBoolean(r);
    const bool a = ToBoolean(l);
    const bool res = op == Bits::And ? (a && b) : op == Bits::Or ? (a || b) : (a != b);
    return ScriptValue::Boolean(res);
  }
  const int32_t b = ToInteger(r);
  const int32_t a = ToInteger(l);
  const uint32_t ua = static_cast<uint32_t>(a);
  switch (op) {
    case Bits::Mod:
      if (b == 0) throw EFailure(kZeroDivide, "Division by zero");
      // -2147483648 % -1 has no 32-bit quotient; its remainder is 0.
      if (b == -1) return ScriptValue::Integer(0);
      return ScriptValue::Integer(a % b);
    case Bits::Shl:
      return ScriptValue::Integer(static_cast<int32_t>(ua << (b & 31)));
    case Bits::Shr:
      return ScriptValue::Integer(static_cast<int32_t>(ua >> (b & 31)));
    case Bits::And:
      return ScriptValue::Integer(a & b);
    case Bits::Or:
      return ScriptValue::Integer(a | b);
    case Bits::Xor:
      return ScriptValue::Integer(a ^ b);
  }
  InvalidOperation();
}

int Sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

bool EqualsTrue(const ScriptValue& v) { return CompareValues(v, ScriptValue::Boolean(true)) == 0; }

}  // namespace

ScriptValue AddValues(const ScriptValue& l, const ScriptValue& r) {
  int32_t sum;
  if (l.Kind() == ValueKind::Integer && r.Kind() == ValueKind::Integer &&
      !__builtin_add_overflow(l.IntegerPayload(), r.IntegerPayload(), &sum))
    return ScriptValue::Integer(sum);  // every turn of a For loop
  return Arithmetic(Arith::Add, l, r);
}
ScriptValue SubtractValues(const ScriptValue& l, const ScriptValue& r) {
  return Arithmetic(Arith::Sub, l, r);
}
ScriptValue MultiplyValues(const ScriptValue& l, const ScriptValue& r) {
  return Arithmetic(Arith::Mul, l, r);
}
ScriptValue DivideValues(const ScriptValue& l, const ScriptValue& r) {
  return Arithmetic(Arith::Div, l, r);
}
ScriptValue ModValues(const ScriptValue& l, const ScriptValue& r) {
  return Bitwise(Bits::Mod, l, r);
}
ScriptValue AndValues(const ScriptValue& l, const ScriptValue& r) {
  return Bitwise(Bits::And, l, r);
}
ScriptValue OrValues(const ScriptValue& l, const ScriptValue& r) { return Bitwise(Bits::Or, l, r); }
ScriptValue XorValues(const ScriptValue& l, const ScriptValue& r) {
  return Bitwise(Bits::Xor, l, r);
}
ScriptValue ShlValues(const ScriptValue& l, const ScriptValue& r) {
  return Bitwise(Bits::Shl, l, r);
}
ScriptValue ShrValues(const ScriptValue& l, const ScriptValue& r) {
  return Bitwise(Bits::Shr, l, r);
}

int CompareValues(const ScriptValue& l, const ScriptValue& r) {
  if (l.Kind() == ValueKind::Integer && r.Kind() == ValueKind::Integer) {
    const int32_t a = l.IntegerPayload();
    const int32_t b = r.IntegerPayload();
    return a < b ? -1 : a > b ? 1 : 0;
  }
  switch (PairClass(l, r)) {
    case OpClass::Error:
      InvalidOperation();
    case OpClass::Integer: {
      const int32_t b = ToInteger(r);
      const int32_t a = ToInteger(l);
      return a < b ? -1 : a > b ? 1 : 0;
    }
    case OpClass::Float:
    case OpClass::Date: {
      // Values that are not numbers (only modules can supply them) compare
      // equal to everything.
      const double b = ToFloat(r);
      const double a = ToFloat(l);
      return a < b ? -1 : a > b ? 1 : 0;
    }
    case OpClass::Text: {
      const std::string_view a = l.TextPayload();
      const std::string_view b = r.TextPayload();
      const size_t n = a.size() < b.size() ? a.size() : b.size();
      const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;  // unsigned bytes
      if (c != 0) return Sign(c);
      return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    }
    case OpClass::Boolean: {
      const bool b = ToBoolean(r);
      const bool a = ToBoolean(l);
      return a == b ? 0 : a ? 1 : -1;
    }
  }
  InvalidOperation();
}

Operator DecodeOperator(std::string_view op) {
  switch (op.size()) {
    case 1:
      switch (op[0]) {
        case '+':
          return Operator::Add;
        case '-':
          return Operator::Subtract;
        case '*':
          return Operator::Multiply;
        case '/':
          return Operator::Divide;
        case '%':
          return Operator::Mod;
        case '&':
          return Operator::And;
        case '|':
          return Operator::Or;
        case '^':
          return Operator::Xor;
        case '>':
          return Operator::Greater;
        case '<':
          return Operator::Less;
      }
      break;
    case 2:
      if (op == "<<") return Operator::ShiftLeft;
      if (op == ">>") return Operator::ShiftRight;
      if (op == ">=") return Operator::GreaterOrEqual;
      if (op == "<=") return Operator::LessOrEqual;
      if (op == "==") return Operator::Equal;
      if (op == "<>") return Operator::NotEqual;
      if (op == "||") return Operator::LogicalOr;
      if (op == "&&") return Operator::LogicalAnd;
      break;
  }
  return Operator::Invalid;
}

ScriptValue ApplyOperator(const ScriptValue& l, std::string_view op, const ScriptValue& r) {
  return ApplyOperator(l, DecodeOperator(op), op, r);
}

ScriptValue ApplyOperator(const ScriptValue& l, Operator op, std::string_view text,
                          const ScriptValue& r) {
  if (l.Kind() == ValueKind::Integer && r.Kind() == ValueKind::Integer) {
    // Two Integers, the common case: the 32-bit operation itself. What it
    // cannot give (overflow to Float, remainder by 0 or -1, division) takes
    // the general path below.
    const int32_t a = l.IntegerPayload();
    const int32_t b = r.IntegerPayload();
    int32_t result;
    switch (op) {
      case Operator::Add:
        if (!__builtin_add_overflow(a, b, &result)) return ScriptValue::Integer(result);
        break;
      case Operator::Subtract:
        if (!__builtin_sub_overflow(a, b, &result)) return ScriptValue::Integer(result);
        break;
      case Operator::Multiply:
        if (!__builtin_mul_overflow(a, b, &result)) return ScriptValue::Integer(result);
        break;
      case Operator::Mod:
        if (b != 0 && b != -1) return ScriptValue::Integer(a % b);
        break;
      case Operator::Greater:
        return ScriptValue::Boolean(a > b);
      case Operator::GreaterOrEqual:
        return ScriptValue::Boolean(a >= b);
      case Operator::Less:
        return ScriptValue::Boolean(a < b);
      case Operator::LessOrEqual:
        return ScriptValue::Boolean(a <= b);
      case Operator::Equal:
        return ScriptValue::Boolean(a == b);
      case Operator::NotEqual:
        return ScriptValue::Boolean(a != b);
      default:
        break;
    }
  }
  if (l.IsEmpty()) return r;  // both Empty gives Empty
  if (r.IsEmpty()) return l;
  switch (op) {
    case Operator::Add:
      return AddValues(l, r);
    case Operator::Subtract:
      return SubtractValues(l, r);
    case Operator::Multiply:
      return MultiplyValues(l, r);
    case Operator::Divide:
      return DivideValues(l, r);
    case Operator::Mod:
      return ModValues(l, r);
    case Operator::And:
      return AndValues(l, r);
    case Operator::Or:
      return OrValues(l, r);
    case Operator::Xor:
      return XorValues(l, r);
    case Operator::ShiftLeft:
      return ShlValues(l, r);
    case Operator::ShiftRight:
      return ShrValues(l, r);
    case Operator::Greater:
      return ScriptValue::Boolean(CompareValues(l, r) > 0);
    case Operator::GreaterOrEqual:
      return ScriptValue::Boolean(CompareValues(l, r) >= 0);
    case Operator::Less:
      return ScriptValue::Boolean(CompareValues(l, r) < 0);
    case Operator::LessOrEqual:
      return ScriptValue::Boolean(CompareValues(l, r) <= 0);
    case Operator::Equal:
      return ScriptValue::Boolean(CompareValues(l, r) == 0);
    case Operator::NotEqual:
      return ScriptValue::Boolean(CompareValues(l, r) != 0);
    case Operator::LogicalOr:
      return ScriptValue::Boolean(EqualsTrue(l) || EqualsTrue(r));
    case Operator::LogicalAnd:
      return ScriptValue::Boolean(EqualsTrue(l) && EqualsTrue(r));
    case Operator::Invalid:
      break;
  }
  throw EZuScriptError(nullptr, "Invalid operator \"" + std::string(text) + "\"");
}

}  // namespace zu
