// The variant coercion service on POSIX: converts a value between the six
// kinds the way Windows' VariantChangeTypeEx does for the user's default
// locale with flags 0.
#include <cmath>

#include "platform/platform.h"
#include "platform/posix/coerce_internal.h"

namespace zu::platform {
namespace {

using coerce::ParsedNumber;
using coerce::ParseStatus;

constexpr uint16_t kEmpty = 0, kInteger = 3, kFloat = 5, kDateTime = 7, kBoolean = 11, kText = 256;

bool SameLettersAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// A number value of a non-text source, as a double.
double NumberOf(const Variant& v) {
  switch (v.Kind) {
    case kInteger:
      return v.Int;
    case kFloat:
    case kDateTime:
      return v.Double;
    case kBoolean:
      return v.Bool;
    default:
      return 0;
  }
}

// A number text's value. An "&H"/"&O" pattern is an Integer bit pattern;
// as a Float (or Boolean) only the patterns up to 0x80000000 have a value
// (0x80000000 itself gives -2147483648), the rest overflow.
bool TextToNumber(const std::string& text, double& value, bool& isPattern, int32_t& pattern) {
  ParsedNumber n;
  if (coerce::ParseNumberText(text, n) != ParseStatus::Ok) return false;
  isPattern = n.IsPattern;
  pattern = static_cast<int32_t>(n.Pattern);
  value = n.Value;
  if (n.IsPattern) {
    if (n.Pattern > 0x80000000u) return false;
    value = static_cast<double>(pattern);
  }
  return true;
}

bool ToIntegerKind(const Variant& src, int32_t& out) {
  switch (src.Kind) {
    case kEmpty:
      out = 0;
      return true;
    case kInteger:
      out = src.Int;
      return true;
    case kBoolean:
      out = src.Bool;
      return true;
    case kFloat:
    case kDateTime:
      return coerce::RoundToInt32(src.Double, out);
    case kText: {
      ParsedNumber n;
      if (coerce::ParseNumberText(src.Text, n) != ParseStatus::Ok) return false;
      if (n.IsPattern) {
        out = static_cast<int32_t>(n.Pattern);
        return true;
      }
      return coerce::RoundToInt32(n.Value, out);
    }
    default:
      return false;
  }
}

bool ToFloatKind(const Variant& src, double& out) {
  if (src.Kind == kText) {
    bool isPattern;
    int32_t pattern;
    return TextToNumber(src.Text, out, isPattern, pattern);
  }
  if (src.Kind != kEmpty && src.Kind != kInteger && src.Kind != kFloat && src.Kind != kDateTime &&
      src.Kind != kBoolean)
    return false;
  out = NumberOf(src);
  return true;
}

bool ToBooleanKind(const Variant& src, int16_t& out) {
  if (src.Kind == kText) {
    const std::string& t = src.Text;
    if (SameLettersAscii(t, "true") || t == "#TRUE#") {
      out = -1;
      return true;
    }
    if (SameLettersAscii(t, "false") || t == "#FALSE#") {
      out = 0;
      return true;
    }
    double value;
    bool isPattern;
    int32_t pattern;
    if (!TextToNumber(t, value, isPattern, pattern)) return false;
    out = value != 0 ? -1 : 0;
    return true;
  }
  if (src.Kind == kBoolean) {
    out = src.Bool;
    return true;
  }
  if (src.Kind != kEmpty && src.Kind != kInteger && src.Kind != kFloat && src.Kind != kDateTime)
    return false;
  out = NumberOf(src) != 0 ? -1 : 0;
  return true;
}

bool ToTextKind(const Variant& src, std::string& out) {
  switch (src.Kind) {
    case kEmpty:
      out.clear();
      return true;
    case kInteger:
      out = coerce::FormatInteger(src.Int);
      return true;
    case kBoolean:
      out = coerce::FormatInteger(src.Bool);
      return true;
    case kFloat:
      out = coerce::FormatDouble(src.Double);
      return true;
    case kDateTime:
      return coerce::FormatDateTime(src.Double, out);
    case kText:
      out = src.Text;
      return true;
    default:
      return false;
  }
}

bool ToDateTimeKind(const Variant& src, double& out) {
  switch (src.Kind) {
    case kEmpty:
      out = 0;
      return true;
    case kDateTime:
      out = src.Double;
      return true;
    case kText:
      return coerce::ParseDateTimeText(src.Text, out);
    case kInteger:
    case kFloat:
    case kBoolean: {
      const double v = NumberOf(src);
      if (!coerce::IsDateInRange(v)) return false;
      out = v;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

bool ChangeType(const Variant& src, uint16_t targetKind, Variant& dst) {
  // Windows' service reads a text up to its first NUL ("5" NUL "x" is 5);
  // a text converted to a text stays whole.
  if (src.Kind == kText && targetKind != kText) {
    if (const size_t nul = src.Text.find('\0'); nul != std::string::npos) {
      Variant cut;
      cut.Kind = kText;
      cut.Text = src.Text.substr(0, nul);
      return ChangeType(cut, targetKind, dst);
    }
  }
  Variant result;
  result.Kind = targetKind;
  bool ok = false;
  switch (targetKind) {
    case kEmpty:
      ok = true;
      break;
    case kInteger:
      ok = ToIntegerKind(src, result.Int);
      break;
    case kFloat:
      ok = ToFloatKind(src, result.Double);
      break;
    case kDateTime:
      ok = ToDateTimeKind(src, result.Double);
      break;
    case kBoolean:
      ok = ToBooleanKind(src, result.Bool);
      break;
    case kText:
      ok = ToTextKind(src, result.Text);
      break;
    default:
      ok = false;
      break;
  }
  if (ok) dst = std::move(result);
  return ok;
}

}  // namespace zu::platform
