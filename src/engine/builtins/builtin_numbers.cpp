// Built-ins on numbers and characters: Chr, Ord, Str, Hex, Num, Int, Frac,
// the four CRC functions, Rnd and Not.
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#include "support/crc.h"
#include "support/numbers.h"

namespace zu {
namespace {

// The largest padding Hex honours; any other count means no padding.
constexpr int32_t kHexMaxDigits = 16;

// Multiplier and increment of the 32-bit linear congruential generator.
constexpr uint32_t kRandomMultiplier = 134775813u;
constexpr uint32_t kRandomIncrement = 1u;

}  // namespace

ScriptValue BuiltinChr(TZuScript&, const BuiltinArgs& args) {
  const auto code = static_cast<uint32_t>(ToInteger(args[0]));
  const char c = static_cast<char>(code & 0xFFu);
  return ScriptValue::Text(std::string_view(&c, 1));
}

// An empty text has no first character: its code is taken as 0, the same
// value Chr(0) stands for.
ScriptValue BuiltinOrd(TZuScript&, const BuiltinArgs& args) {
  const TextOf s(args[0]);
  if (s.View().empty()) return ScriptValue::Integer(0);
  return ScriptValue::Integer(static_cast<unsigned char>(s.View()[0]));
}

ScriptValue BuiltinStr(TZuScript&, const BuiltinArgs& args) {
  const ScriptValue& v = args[0];
  if (v.Kind() == ValueKind::Boolean) {
    return ScriptValue::Text(ToBoolean(v) ? "true" : "false");
  }
  if (v.Kind() == ValueKind::Text) return v;
  return ScriptValue::Text(ToText(v));
}

ScriptValue BuiltinHex(TZuScript&, const BuiltinArgs& args) {
  const auto value = static_cast<uint32_t>(ToInteger(args[0]));
  const int32_t digits = ToInteger(args[1]);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char buffer[8];
  int length = 0;
  uint32_t rest = value;
  do {
    buffer[7 - length] = kDigits[rest & 0xFu];
    rest >>= 4;
    ++length;
  } while (rest != 0);
  std::string text;
  if (digits >= 0 && digits <= kHexMaxDigits && digits > length) {
    text.assign(static_cast<size_t>(digits - length), '0');
  }
  text.append(buffer + 8 - length, static_cast<size_t>(length));
  return ScriptValue::Text(std::move(text));
}

ScriptValue BuiltinNum(TZuScript&, const BuiltinArgs& args) {
  const ScriptValue& v = args[0];
  if (v.Kind() == ValueKind::Text) return ScriptValue::Float(ParseNumber(v.TextPayload()));
  return v;
}

ScriptValue BuiltinInt(TZuScript&, const BuiltinArgs& args) {
  const ScriptValue& v = args[0];
  if (v.Kind() == ValueKind::Text) return ScriptValue::Integer(ParseInteger(v.TextPayload()));
  return ScriptValue::Integer(ToInteger(v));
}

ScriptValue BuiltinFrac(TZuScript&, const BuiltinArgs& args) {
  const double x = ToFloat(args[0]);
  return ScriptValue::Float(x - std::trunc(x));
}

ScriptValue BuiltinCrc16Str(TZuScript&, const BuiltinArgs& args) {
  const TextOf s(args[0]);
  const auto start = static_cast<uint16_t>(static_cast<uint32_t>(ToInteger(args[1])) & 0xFFFFu);
  return ScriptValue::Integer(Crc16OfText(s.View(), start, kCrc16Polynomial));
}

ScriptValue BuiltinCrc16File(TZuScript&, const BuiltinArgs& args) {
  const std::string fileName = ToText(args[0]);
  const auto start = static_cast<uint16_t>(static_cast<uint32_t>(ToInteger(args[1])) & 0xFFFFu);
  return ScriptValue::Integer(Crc16OfFile(fileName, start, kCrc16Polynomial));
}

ScriptValue BuiltinCrc32Str(TZuScript&, const BuiltinArgs& args) {
  const TextOf s(args[0]);
  const auto start = static_cast<uint32_t>(ToInteger(args[1]));
  return ScriptValue::Integer(static_cast<int32_t>(Crc32OfText(s.View(), start)));
}

ScriptValue BuiltinCrc32File(TZuScript&, const BuiltinArgs& args) {
  const std::string fileName = ToText(args[0]);
  const auto start = static_cast<uint32_t>(ToInteger(args[1]));
  return ScriptValue::Integer(static_cast<int32_t>(Crc32OfFile(fileName, start)));
}

// The seed lives in the run context, so user functions draw from the same
// sequence as the main script.
ScriptValue BuiltinRnd(TZuScript& script, const BuiltinArgs&) {
  uint32_t& seed = script.Context().RandomSeed;
  seed = seed * kRandomMultiplier + kRandomIncrement;
  return ScriptValue::Float(static_cast<double>(seed) / 4294967296.0);
}

ScriptValue BuiltinNot(TZuScript&, const BuiltinArgs& args) {
  const ScriptValue& v = args[0];
  if (v.Kind() == ValueKind::Boolean) return NotValue(v);
  return ScriptValue::Boolean(false);
}

}  // namespace zu
