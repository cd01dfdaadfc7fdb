// The locale values of the user's default locale (GetLocaleInfoA), read once
// and turned into the script's pattern language: Windows writes the
// morning/afternoon marker "tt", the pattern language "AMPM".
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

// LOCALE_SSHORTTIME (Windows 7 and later; older headers lack the name).
constexpr LCTYPE kShortTimeFormat = 0x00000079;

// One locale value; empty when the locale has none.
std::string Info(LCTYPE type) {
  char buffer[256];
  const int n = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
  if (n <= 1) return std::string();
  return std::string(buffer, static_cast<size_t>(n - 1));
}

char FirstChar(LCTYPE type, char fallback) {
  const std::string s = Info(type);
  return s.empty() ? fallback : s[0];
}

// Every run of 't' outside quotes (the marker in full or its first letter)
// becomes "AMPM", the locale's marker in the pattern language.
std::string TimePattern(const std::string& format) {
  std::string out;
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      out += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      out += c;
    } else if (c == 't') {
      while (i + 1 < format.size() && format[i + 1] == 't') ++i;
      out += "AMPM";
    } else {
      out += c;
    }
  }
  return out;
}

void Set(std::string& target, const std::string& value) {
  if (!value.empty()) target = value;
}

LocaleValues ReadLocale() {
  LocaleValues v;  // the US English values where the locale gives nothing
  v.DecimalSeparator = FirstChar(LOCALE_SDECIMAL, v.DecimalSeparator);
  v.ThousandSeparator = FirstChar(LOCALE_STHOUSAND, v.ThousandSeparator);
  v.DateSeparator = FirstChar(LOCALE_SDATE, v.DateSeparator);
  v.TimeSeparator = FirstChar(LOCALE_STIME, v.TimeSeparator);
  Set(v.ShortDateFormat, Info(LOCALE_SSHORTDATE));
  Set(v.LongDateFormat, Info(LOCALE_SLONGDATE));
  const std::string longTime = Info(LOCALE_STIMEFORMAT);
  if (!longTime.empty()) v.LongTimeFormat = TimePattern(longTime);
  const std::string shortTime = Info(kShortTimeFormat);
  if (!shortTime.empty()) v.ShortTimeFormat = TimePattern(shortTime);
  Set(v.TimeAMString, Info(LOCALE_S1159));
  Set(v.TimePMString, Info(LOCALE_S2359));
  for (int i = 0; i < 12; ++i) {
    v.LongMonthNames[i] = Info(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i));
    v.ShortMonthNames[i] = Info(LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(i));
  }
  // The locale's day names start with Monday; the engine's with Sunday.
  for (int i = 0; i < 7; ++i) {
    const LCTYPE day = static_cast<LCTYPE>((i + 6) % 7);
    v.LongDayNames[i] = Info(LOCALE_SDAYNAME1 + day);
    v.ShortDayNames[i] = Info(LOCALE_SABBREVDAYNAME1 + day);
  }
  return v;
}

}  // namespace

const LocaleValues& Locale() {
  static const LocaleValues values = ReadLocale();
  return values;
}

}  // namespace zu::platform
