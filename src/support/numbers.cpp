// Digit tests, integer and fraction conversions of literal texts, number
// writing in bases 2/8/10/16, and the strict parsers behind Num and Int.
#include "support/numbers.h"

#include <cfloat>
#include <cmath>

#include "platform/platform.h"
#include "support/errors.h"
#include "support/text_utils.h"

namespace zu {
namespace {

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }

// Exponents are read while below this; the digit that reaches it is the
// last one read.
constexpr int kExponentLimit = 500;

// The grammar of ParseNumber without raising: false when the text is not a
// number; value is at extended precision (may lie beyond the double range).
bool ScanNumber(std::string_view s, long double& value) {
  const char sep = platform::Locale().DecimalSeparator;
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long double mantissa = 0;
  int places = 0;
  const size_t start = i;
  for (; i < n && IsDecimal(s[i]); ++i) mantissa = mantissa * 10 + (s[i] - '0');
  if (i < n && s[i] == sep) {
    for (++i; i < n && IsDecimal(s[i]); ++i) {
      mantissa = mantissa * 10 + (s[i] - '0');
      ++places;
    }
  }
  if (i == start) return false;
  int exponent = 0;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
    while (i < n && IsDecimal(s[i]) && exponent < kExponentLimit)
      exponent = exponent * 10 + (s[i++] - '0');
    if (expNegative) exponent = -exponent;
  }
  while (i < n && s[i] == ' ') ++i;
  if (i != n) return false;
  const int scale = exponent - places;
  if (std::isinf(mantissa)) return false;
  // Dividing by an exact power of ten keeps small fractions exact where
  // multiplying by its inverse would not.
  value = scale < 0 ? mantissa / std::pow(10.0L, -scale) : mantissa * std::pow(10.0L, scale);
  if (std::isinf(value) || std::isnan(value)) return false;
  if (negative) value = -value;
  return true;
}

}  // namespace

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBaseDigit(char c, int base) {
  switch (base) {
    case 2:
      return c == '0' || c == '1';
    case 8:
      return c >= '0' && c <= '7';
    case 10:
      return IsDecimal(c) || c == '-';
    case 16:
      return HexDigitValue(c) >= 0;
    default:
      return false;
  }
}

bool IsBaseNumber(std::string_view s, int base) {
  if (s.empty()) return false;
  for (char c : s)
    if (!IsBaseDigit(c, base)) return false;
  return true;
}

bool IsFractionText(std::string_view s) {
  for (char c : s)
    if (!(IsDecimal(c) || c == '+' || c == '-' || c == '.')) return false;
  return true;
}

char LowerCaseChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 192 && u <= 223)) return static_cast<char>(u + 32);
  return c;
}

int64_t TextToInt(std::string_view s, int base) {
  s = TrimView(s);
  if (!IsBaseNumber(s, base)) return 0;
  // Wrapping arithmetic in unsigned 64 bits; a '-' is a zero digit.
  uint64_t total = 0, place = 1;
  for (size_t k = s.size(); k-- > 0;) {
    const int d = HexDigitValue(s[k]);
    total += static_cast<uint64_t>(d < 0 ? 0 : d) * place;
    place *= static_cast<uint64_t>(base);
  }
  if (base == 10 && s[0] == '-') total = 0 - total;
  return static_cast<int64_t>(total);
}

double TextToFraction(std::string_view s) {
  s = TrimView(s);
  if (s.empty()) return 0.0;
  std::string text(s);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text[dot] = platform::Locale().DecimalSeparator;
  long double value;
  if (!ScanNumber(text, value) || std::fabs(value) > LDBL_MAX) return 0.0;
  if (std::fabs(value) > DBL_MAX) return 0.0;
  return static_cast<double>(value);
}

std::string IntToBase(int32_t value, int minDigits, int base) {
  if (base != 2 && base != 8 && base != 10 && base != 16) return std::string();
  static const char kDigits[] = "0123456789ABCDEF";
  uint32_t v = static_cast<uint32_t>(value);
  char buf[32];
  int pos = 32;
  do {
    buf[--pos] = kDigits[v % static_cast<uint32_t>(base)];
    v /= static_cast<uint32_t>(base);
  } while (v != 0);
  std::string out(buf + pos, buf + 32);
  if (minDigits > static_cast<int>(out.size()))
    out.insert(0, static_cast<size_t>(minDigits) - out.size(), '0');
  return out;
}

std::string IntToText(int32_t value) {
  // The magnitude as an unsigned pattern: -2147483648 has no positive int32.
  const uint32_t magnitude =
      value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  std::string digits = IntToBase(static_cast<int32_t>(magnitude), 0, 10);
  return value < 0 ? "-" + digits : digits;
}

double ParseNumber(std::string_view text) {
  long double value;
  if (!ScanNumber(text, value))
    throw EFailure(kConvertError,
                   "'" + std::string(text) + "' is not a valid floating point value");
  if (std::fabs(value) > DBL_MAX) throw EFailure(kOverflow, "Floating point overflow");
  return static_cast<double>(value);
}

int32_t ParseInteger(std::string_view text) {
  const auto fail = [&]() -> EFailure {
    return EFailure(kConvertError, "'" + std::string(text) + "' is not a valid integer value");
  };
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  size_t hexStart = std::string_view::npos;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X'))
    hexStart = i + 1;
  else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
    hexStart = i + 2;
  if (hexStart != std::string_view::npos) {
    uint32_t value = 0;
    size_t k = hexStart;
    for (; k < n; ++k) {
      const int d = HexDigitValue(text[k]);
      if (d < 0) break;
      if (value > 0x0FFFFFFFu) throw fail();  // a further digit would pass 32 bits
      value = value * 16 + static_cast<uint32_t>(d);
    }
    if (k == hexStart || k != n) throw fail();
    return static_cast<int32_t>(value);
  }
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t start = i;
  int64_t value = 0;
  for (; i < n && IsDecimal(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) throw fail();
  }
  if (i == start || i != n) throw fail();
  if (negative) value = -value;
  if (value > 2147483647LL) throw fail();
  return static_cast<int32_t>(value);
}

}  // namespace zu
