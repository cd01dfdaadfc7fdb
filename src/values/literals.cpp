// Literal operands: quoted texts with their escapes, 0x hexadecimal and
// decimal integers, and fraction literals.
#include <cstdint>

#include "support/errors.h"
#include "support/numbers.h"
#include "support/text_utils.h"
#include "values/script_value.h"

namespace zu {
namespace {

bool IsIntegerText(std::string_view s) {
  for (char c : s)
    if (!((c >= '0' && c <= '9') || c == '-')) return false;
  return true;
}

}  // namespace

bool IsLiteralText(std::string_view text) {
  if (text.empty()) return false;
  if (text[0] == '"' || text[0] == '\'') return true;
  if (text.size() >= 3 && text[0] == '0' && LowerCaseChar(text[1]) == 'x') return true;
  return IsFractionText(text);
}

ScriptValue LiteralValue(std::string_view text) {
  if (!text.empty() && (text[0] == '"' || text[0] == '\'')) {
    // A lone quote is a literal left open at the end of the expression: the
    // empty text.
    if (text.size() == 1) return ScriptValue::Text(std::string());
    if (text.back() != text[0]) throw EZuScriptError(nullptr, "Unexpected end of string");
    return ScriptValue::Text(DecodeEscapes(text.substr(1, text.size() - 2)));
  }
  if (text.size() >= 3 && text[0] == '0' && LowerCaseChar(text[1]) == 'x') {
    uint32_t value = 0;  // modulo 2^32
    for (char c : text.substr(2)) {
      const int d = HexDigitValue(c);
      if (d < 0) throw EZuScriptError(nullptr, "Invalid hexadecimal number");
      value = value * 16 + static_cast<uint32_t>(d);
    }
    return ScriptValue::Integer(static_cast<int32_t>(value));
  }
  if (!text.empty() && IsIntegerText(text)) {
    // Read from the right, '-' a zero digit, modulo 2^64, low 32 bits.
    uint64_t total = 0, place = 1;
    for (size_t k = text.size(); k-- > 0;) {
      if (text[k] != '-') total += static_cast<uint64_t>(text[k] - '0') * place;
      place *= 10;
    }
    if (text[0] == '-') total = 0 - total;
    return ScriptValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(total)));
  }
  return ScriptValue::Float(TextToFraction(text));
}

}  // namespace zu
