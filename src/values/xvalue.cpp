// The boundary record conversions. The record is packed, so its payload is
// never read or written through a typed reference: memcpy keeps every access
// free of misaligned loads on any target.
#include "values/xvalue.h"

#include <cstring>

namespace zu {

namespace {

template <class T>
void StorePayload(TZuScriptXValue& x, const T& v) {
  static_assert(sizeof(T) <= sizeof(x.Data));
  std::memcpy(reinterpret_cast<unsigned char*>(&x) + offsetof(TZuScriptXValue, Data), &v,
              sizeof(T));
}

template <class T>
T LoadPayload(const TZuScriptXValue& x) {
  static_assert(sizeof(T) <= sizeof(x.Data));
  T v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(&x) + offsetof(TZuScriptXValue, Data),
              sizeof(T));
  return v;
}

uint32_t LoadKind(const TZuScriptXValue& x) {
  uint32_t kind;
  std::memcpy(&kind, &x, sizeof(kind));
  return kind;
}

void StoreKind(TZuScriptXValue& x, uint32_t kind) { std::memcpy(&x, &kind, sizeof(kind)); }

}  // namespace

void ValueToXValue(const ScriptValue& v, TZuScriptXValue& x) {
  std::memset(&x, 0, sizeof(x));
  switch (v.Kind()) {
    case ValueKind::Integer:
      StoreKind(x, xkInteger);
      StorePayload<int32_t>(x, v.IntegerPayload());
      break;
    case ValueKind::Float:
      StoreKind(x, xkFloat);
      StorePayload<double>(x, v.DoublePayload());
      break;
    case ValueKind::DateTime:
      StoreKind(x, xkDateTime);
      StorePayload<double>(x, v.DoublePayload());
      break;
    case ValueKind::Boolean:
      StoreKind(x, xkBoolean);
      StorePayload<int32_t>(x, v.BoolPayload() != 0 ? 1 : 0);
      break;
    case ValueKind::Text:
      // The empty text is "", so the pointer is never null.
      StoreKind(x, xkText);
      StorePayload<const char*>(x, v.TextCStr());
      break;
    case ValueKind::Empty:
      break;
  }
}

ScriptValue XValueToValue(const TZuScriptXValue& x) {
  switch (LoadKind(x)) {
    case xkBoolean:
      return ScriptValue::Boolean(LoadPayload<int32_t>(x) != 0);
    case xkInteger:
      return ScriptValue::Integer(LoadPayload<int32_t>(x));
    case xkFloat:
      return ScriptValue::Float(LoadPayload<double>(x));
    case xkDateTime:
      return ScriptValue::DateTime(LoadPayload<double>(x));
    case xkText: {
      const char* text = LoadPayload<const char*>(x);
      // Copied once, straight into the value's storage.
      return ScriptValue::Text(text != nullptr ? std::string_view(text) : std::string_view());
    }
    default:
      return ScriptValue();
  }
}

}  // namespace zu
