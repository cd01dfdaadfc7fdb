// The coercion service's numbers: the lenient reader of number texts and the
// writers of Integers and Floats, as the Windows service does them for the
// user's locale.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/coerce_internal.h"

namespace zu::platform::coerce {
namespace {

bool IsBlank(char c) { return IsServiceBlank(c); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Exponents beyond this already overflow or underflow any double; clamping
// keeps the arithmetic in range for texts with absurd exponents.
constexpr int64_t kExponentClamp = 100000;

}  // namespace

ParseStatus ParseNumberText(std::string_view s, ParsedNumber& out) {
  const LocaleValues& loc = Locale();
  const size_t n = s.size();
  size_t i = 0;
  bool leadPlus = false, leadMinus = false, currency = false, parens = false;
  bool negative = false;
  // Leading part: blanks, one '+', one '-', one currency sign, one '(' in any
  // order ("$-5", "-$5", "($5)", "- 5").
  for (; i < n; ++i) {
    const char c = s[i];
    if (IsBlank(c)) continue;
    if (c == '+' && !leadPlus) {
      leadPlus = true;
    } else if (c == '-' && !leadMinus) {
      leadMinus = negative = true;
    } else if (c == '$' && !currency) {
      currency = true;
    } else if (c == '(' && !parens) {
      parens = true;
    } else {
      break;
    }
  }

  bool overflow = false;
  if (i + 1 < n && s[i] == '&' &&
      (s[i + 1] == 'H' || s[i + 1] == 'h' || s[i + 1] == 'O' || s[i + 1] == 'o')) {
    // "&H" hexadecimal or "&O" octal: a bit pattern; any sign is ignored.
    const int base = (s[i + 1] == 'H' || s[i + 1] == 'h') ? 16 : 8;
    i += 2;
    uint64_t value = 0;
    size_t digits = 0;
    for (; i < n; ++i) {
      const int d = HexValue(s[i]);
      if (d < 0 || d >= base) break;
      value = value * base + d;
      if (value > 0xFFFFFFFFull) {
        overflow = true;
        value &= 0xFFFFFFFFFull;  // keep it bounded while the digits run on
      }
      ++digits;
    }
    if (digits == 0) return ParseStatus::Invalid;
    out.IsPattern = true;
    out.Pattern = static_cast<uint32_t>(value);
    negative = false;
  } else {
    // Decimal digits; thousands separators are skipped anywhere after the
    // first digit, the decimal separator may appear once.
    std::string mantissa;
    int64_t exponent = 0;
    bool seenDigit = false, seenPoint = false;
    for (; i < n; ++i) {
      const char c = s[i];
      if (IsDigit(c)) {
        seenDigit = true;
        if (c == '0' && mantissa.empty()) {
          if (seenPoint) --exponent;
        } else {
          mantissa += c;
          if (seenPoint) --exponent;
        }
      } else if (c == loc.DecimalSeparator && !seenPoint) {
        seenPoint = true;
      } else if (c == loc.ThousandSeparator && seenDigit) {
        continue;
      } else {
        break;
      }
    }
    if (!seenDigit) return ParseStatus::Invalid;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
      ++i;
      bool expNegative = false;
      if (i < n && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
      int64_t e = 0;
      bool expDigit = false;
      for (; i < n && IsDigit(s[i]); ++i) {
        expDigit = true;
        if (e < kExponentClamp) e = e * 10 + (s[i] - '0');
      }
      if (!expDigit) return ParseStatus::Invalid;
      exponent += expNegative ? -e : e;
    }
    double value = 0;
    if (!mantissa.empty()) {
      // Only the leading digits decide a double; beyond 800 the rest cannot
      // move the result except in halfway cases that far out.
      if (mantissa.size() > 800) {
        exponent += static_cast<int64_t>(mantissa.size() - 800);
        mantissa.resize(800);
        mantissa += '1';
        --exponent;
      }
      const int64_t magnitude = static_cast<int64_t>(mantissa.size()) + exponent;
      if (magnitude > 310) {
        overflow = true;
      } else if (magnitude < -330) {
        value = 0;
      } else {
        std::string text = mantissa + "e" + std::to_string(exponent);
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        (void)ptr;
        if (ec == std::errc::result_out_of_range) {
          if (magnitude > 0)
            overflow = true;
          else
            value = 0;
        } else if (ec != std::errc()) {
          return ParseStatus::Invalid;
        }
        if (std::isinf(value)) overflow = true;
      }
    }
    out.IsPattern = false;
    out.Value = value;
  }

  // Trailing part: blanks, a '-' unless one led, a '+' unless a sign led,
  // one currency sign, the ')' that closes a leading '('.
  bool closed = false, trailCurrency = false;
  for (; i < n; ++i) {
    const char c = s[i];
    if (IsBlank(c)) continue;
    if (c == '-' && !leadMinus) {
      if (!out.IsPattern) negative = true;
    } else if (c == '+' && !leadMinus && !leadPlus) {
    } else if (c == '$' && !trailCurrency) {
      trailCurrency = true;
    } else if (c == ')' && parens && !closed) {
      closed = true;
    } else {
      return ParseStatus::Invalid;
    }
  }
  if (parens && !closed) return ParseStatus::Invalid;
  if (overflow) return ParseStatus::Overflow;
  if (!out.IsPattern && (negative || parens)) out.Value = -out.Value;
  return ParseStatus::Ok;
}

bool RoundToInt32(double v, int32_t& out) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
  // Ties to even, whatever the current rounding mode.
  double r = std::floor(v);
  const double diff = v - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
  if (r < -2147483648.0 || r > 2147483647.0) return false;
  out = static_cast<int32_t>(r);
  return true;
}

std::string FormatInteger(int32_t v) {
  char buf[16];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  return std::string(buf, ptr);
}

std::string FormatDouble(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  const bool negative = v < 0;
  const double a = std::fabs(v);

  // 18 significant digits tell whether the part beyond the 15th digit is
  // below or above half; only a tail that prints as exactly "500" needs the
  // exact expansion.
  char buf[800];
  std::snprintf(buf, sizeof buf, "%.17e", a);
  char digits[19];
  digits[0] = buf[0];
  std::memcpy(digits + 1, buf + 2, 17);
  int exp10 = std::atoi(buf + 20);
  bool roundUp;
  if (std::memcmp(digits + 15, "500", 3) == 0) {
    std::snprintf(buf, sizeof buf, "%.760e", a);
    roundUp = buf[16] >= '5';  // digit 16 of the exact expansion
  } else {
    roundUp = digits[15] >= '5';
  }
  if (roundUp) {
    int k = 14;
    while (k >= 0 && digits[k] == '9') digits[k--] = '0';
    if (k < 0) {
      digits[0] = '1';
      ++exp10;
    } else {
      ++digits[k];
    }
  }
  int count = 15;
  while (count > 1 && digits[count - 1] == '0') --count;

  const char sep = Locale().DecimalSeparator;
  std::string out;
  if (negative) out += '-';
  if (exp10 >= 15 || exp10 <= -5) {
    out += digits[0];
    if (count > 1) {
      out += sep;
      out.append(digits + 1, count - 1);
    }
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exp10 < 0 ? '-' : '+', exp10 < 0 ? -exp10 : exp10);
    out += e;
  } else if (exp10 < 0) {
    out += '0';
    out += sep;
    out.append(static_cast<size_t>(-exp10 - 1), '0');
    out.append(digits, count);
  } else {
    const int intDigits = exp10 + 1;
    for (int k = 0; k < intDigits; ++k) out += k < count ? digits[k] : '0';
    if (count > intDigits) {
      out += sep;
      out.append(digits + intDigits, count - intDigits);
    }
  }
  return out;
}

}  // namespace zu::platform::coerce
