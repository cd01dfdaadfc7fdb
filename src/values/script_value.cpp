// Construction of script values and their conversions: the direct cases are
// computed here, the others go through the platform's coercion service.
#include "values/script_value.h"

#include <charconv>
#include <cmath>

#include "platform/platform.h"
#include "support/errors.h"

namespace zu {

ScriptValue ScriptValue::Integer(int32_t v) {
  ScriptValue r;
  r.kind_ = ValueKind::Integer;
  r.int_ = v;
  return r;
}

ScriptValue ScriptValue::Float(double v) {
  ScriptValue r;
  r.kind_ = ValueKind::Float;
  r.double_ = v;
  return r;
}

ScriptValue ScriptValue::DateTime(double days) {
  ScriptValue r;
  r.kind_ = ValueKind::DateTime;
  r.double_ = days;
  return r;
}

ScriptValue ScriptValue::Boolean(bool v) { return BooleanPayload(v ? -1 : 0); }

ScriptValue ScriptValue::BooleanPayload(int16_t payload) {
  ScriptValue r;
  r.kind_ = ValueKind::Boolean;
  r.bool_ = payload;
  return r;
}

ScriptValue ScriptValue::Text(std::string v) {
  ScriptValue r;
  r.kind_ = ValueKind::Text;
  r.text_ = std::move(v);
  return r;
}

namespace {

platform::Variant ToVariant(const ScriptValue& v) {
  platform::Variant out;
  out.Kind = static_cast<uint16_t>(v.Kind());
  switch (v.Kind()) {
    case ValueKind::Integer:
      out.Int = v.IntegerPayload();
      break;
    case ValueKind::Float:
    case ValueKind::DateTime:
      out.Double = v.DoublePayload();
      break;
    case ValueKind::Boolean:
      out.Bool = v.BoolPayload();
      break;
    case ValueKind::Text:
      out.Text = v.TextPayload();
      break;
    case ValueKind::Empty:
      break;
  }
  return out;
}

platform::Variant Coerce(const ScriptValue& v, ValueKind target) {
  platform::Variant out;
  if (!platform::ChangeType(ToVariant(v), static_cast<uint16_t>(target), out))
    throw EFailure(kVariantError, "Invalid variant type conversion");
  return out;
}

}  // namespace

int32_t ToInteger(const ScriptValue& v) {
  switch (v.Kind()) {
    case ValueKind::Integer:
      return v.IntegerPayload();
    case ValueKind::Float: {
      // Ties to even; the range is checked on the rounded value.
      const double d = v.DoublePayload();
      double r = std::floor(d);
      const double diff = d - r;
      if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
      if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw EFailure(kInvalidOp, "Invalid floating point operation");
      return static_cast<int32_t>(r);
    }
    default:
      return Coerce(v, ValueKind::Integer).Int;
  }
}

double ToFloat(const ScriptValue& v) {
  switch (v.Kind()) {
    case ValueKind::Float:
    case ValueKind::DateTime:
      return v.DoublePayload();
    case ValueKind::Integer:
      return v.IntegerPayload();
    default:
      return Coerce(v, ValueKind::Float).Double;
  }
}

bool ToBoolean(const ScriptValue& v) {
  if (v.Kind() == ValueKind::Boolean) return v.BoolPayload() != 0;
  return Coerce(v, ValueKind::Boolean).Bool != 0;
}

std::string ToText(const ScriptValue& v) {
  switch (v.Kind()) {
    case ValueKind::Text:
      return v.TextPayload();
    case ValueKind::Integer: {
      // Every Print of a number comes here: plain decimal digits, which is
      // what the coercion service writes for an Integer.
      char buf[16];
      const auto res = std::to_chars(buf, buf + sizeof buf, v.IntegerPayload());
      return std::string(buf, res.ptr);
    }
    default:
      return std::move(Coerce(v, ValueKind::Text).Text);
  }
}

double ToDateTime(const ScriptValue& v) {
  if (v.Kind() == ValueKind::DateTime) return v.DoublePayload();
  return Coerce(v, ValueKind::DateTime).Double;
}

ScriptValue NotValue(const ScriptValue& v) {
  if (v.Kind() != ValueKind::Boolean) return ScriptValue::Boolean(false);
  return ScriptValue::Boolean(v.BoolPayload() == 0);
}

}  // namespace zu
