// The locale values: read once from the user's POSIX locale (LANG, LC_*),
// turned into the Windows-style separators, formats and names the engine
// formats with. The C/POSIX locale, and any value the locale leaves empty,
// gives the US English values.
//
// The locale is opened with newlocale rather than setlocale, so reading it
// does not change how the C library formats and parses numbers for the rest
// of the process.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace zu::platform {
namespace {

const char* const kMonthLong[12] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
const char* const kMonthShort[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDayLong[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kDayShort[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool IsUtf8(const char* codeset) {
  return codeset != nullptr &&
         (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0);
}

// One character of the locale (a separator) as a single byte of the 8-bit
// code page: a single byte stays; a UTF-8 sequence is converted to
// Windows-1252, with the no-break spaces some locales use for grouping
// mapped to 0xA0 as Windows does. 0 when it does not fit in one byte.
char SingleByte(const char* text, const char* codeset) {
  if (text == nullptr || text[0] == 0) return 0;
  size_t len = strlen(text);
  if (len == 1) return text[0];
  if (!IsUtf8(codeset)) return 0;
  if (strcmp(text, "\xE2\x80\xAF") == 0 || strcmp(text, "\xC2\xA0") == 0) return '\xA0';
  iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char in[16] = {};
  char out[16] = {};
  strncpy(in, text, sizeof in - 1);
  char* inp = in;
  char* outp = out;
  size_t inLeft = strlen(in);
  size_t outLeft = sizeof out;
  size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 1) return 0;
  return out[0];
}

// Replaces the composite conversions of a strftime format by their parts.
std::string ExpandComposites(const std::string& format) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    char c = format[++i];
    // E and O modifiers select alternative digits or eras; the field stays.
    if ((c == 'E' || c == 'O') && i + 1 < format.size()) c = format[++i];
    switch (c) {
      case 'D':
        out += "%m/%d/%y";
        break;
      case 'F':
        out += "%Y-%m-%d";
        break;
      case 'r':
        out += "%I:%M:%S %p";
        break;
      case 'R':
        out += "%H:%M";
        break;
      case 'T':
        out += "%H:%M:%S";
        break;
      default:
        out += '%';
        out += c;
        break;
    }
  }
  return out;
}

// The first character that stands between two fields of a format, as one
// byte of the 8-bit code page; 0 when there is none or it does not fit in
// one byte (a multi-byte character such as the Japanese year mark), so that
// the caller keeps a one-byte separator its own output can be read back by.
char SeparatorOf(const std::string& format, const char* codeset) {
  bool afterField = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%') {
      ++i;
      afterField = true;
      continue;
    }
    if (!afterField || format[i] == ' ') continue;
    // The whole character: a UTF-8 lead byte and its continuation bytes.
    size_t end = i + 1;
    if (IsUtf8(codeset) && (static_cast<unsigned char>(format[i]) & 0xC0) == 0xC0) {
      while (end < format.size() && (static_cast<unsigned char>(format[end]) & 0xC0) == 0x80)
        ++end;
    }
    return SingleByte(format.substr(i, end - i).c_str(), codeset);
  }
  return 0;
}

// A strftime time format in the script's pattern language. Whatever stands
// between two fields becomes the time separator token ":", so a locale's
// own marks ("%H時%M分%S秒") turn into its separator and the text can be
// read back; marks after the last field go.
std::string TimePattern(const std::string& format, bool withSeconds) {
  std::string out;
  bool pendingSeparator = false;
  const auto field = [&](const char* pattern) {
    if (pendingSeparator) out += ':';
    pendingSeparator = false;
    out += pattern;
  };
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      if (format[i] == ' ') {
        if (!out.empty() && out.back() != ' ') out += ' ';
        pendingSeparator = false;
      } else if (!out.empty() && out.back() != ' ') {
        pendingSeparator = true;
      }
      continue;
    }
    switch (format[++i]) {
      case 'H':
        field("HH");
        break;
      case 'k':
        field("H");
        break;
      case 'I':
      case 'l':
        field("h");
        break;
      case 'M':
        field("mm");
        break;
      case 'S':
        if (withSeconds) field("ss");
        pendingSeparator = false;  // the separator before the seconds goes with them
        break;
      case 'p':
      case 'P':
        if (!out.empty() && out.back() != ' ') out += ' ';
        pendingSeparator = false;
        out += "AMPM";
        break;
      default:
        break;  // time zones and the like have no place here
    }
  }
  // Trim blanks left over by dropped fields.
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The locale's date order: 'M' month first, 'D' day first, 'Y' year first.
char DateOrder(const std::string& format) {
  for (size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] != '%') continue;
    char c = format[++i];
    if (c == 'm' || c == 'b' || c == 'B') return 'M';
    if (c == 'd' || c == 'e') return 'D';
    if (c == 'y' || c == 'Y' || c == 'C') return 'Y';
  }
  return 'M';
}

void ReadNames(locale_t loc, LocaleValues& v) {
  for (int i = 0; i < 12; ++i) {
    const char* longName = nl_langinfo_l(static_cast<nl_item>(MON_1 + i), loc);
    const char* shortName = nl_langinfo_l(static_cast<nl_item>(ABMON_1 + i), loc);
    v.LongMonthNames[i] = (longName && longName[0]) ? longName : kMonthLong[i];
    v.ShortMonthNames[i] = (shortName && shortName[0]) ? shortName : kMonthShort[i];
  }
  for (int i = 0; i < 7; ++i) {
    const char* longName = nl_langinfo_l(static_cast<nl_item>(DAY_1 + i), loc);
    const char* shortName = nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + i), loc);
    v.LongDayNames[i] = (longName && longName[0]) ? longName : kDayLong[i];
    v.ShortDayNames[i] = (shortName && shortName[0]) ? shortName : kDayShort[i];
  }
}

void UsEnglishNames(LocaleValues& v) {
  for (int i = 0; i < 12; ++i) {
    v.LongMonthNames[i] = kMonthLong[i];
    v.ShortMonthNames[i] = kMonthShort[i];
  }
  for (int i = 0; i < 7; ++i) {
    v.LongDayNames[i] = kDayLong[i];
    v.ShortDayNames[i] = kDayShort[i];
  }
}

bool IsCLocale(const char* name) {
  return name == nullptr || strcmp(name, "C") == 0 || strcmp(name, "POSIX") == 0 ||
         strncmp(name, "C.", 2) == 0;
}

LocaleValues ReadLocale() {
  LocaleValues v;  // the US English values
  UsEnglishNames(v);
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return v;
  const char* codeset = nl_langinfo_l(CODESET, loc);

  // localeconv has no _l form: read it with the locale made current for
  // this thread only.
  locale_t old = uselocale(loc);
  struct lconv* conv = localeconv();
  char decimal = SingleByte(conv->decimal_point, codeset);
  char thousands = SingleByte(conv->thousands_sep, codeset);
  uselocale(old);
  if (decimal != 0) v.DecimalSeparator = decimal;
  if (thousands != 0) v.ThousandSeparator = thousands;

  // The C locale's date and time formats are not US English ones; keep ours.
  std::string dateFormat = ExpandComposites(nl_langinfo_l(D_FMT, loc));
  std::string timeFormat = ExpandComposites(nl_langinfo_l(T_FMT, loc));
#ifdef _NL_LOCALE_NAME
  const bool cTime = IsCLocale(nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), loc));
#else
  const bool cTime = dateFormat == "%m/%d/%y" && timeFormat == "%H:%M:%S";
#endif
  if (!cTime) {
    if (char sep = SeparatorOf(dateFormat, codeset); sep != 0) v.DateSeparator = sep;
    if (char sep = SeparatorOf(timeFormat, codeset); sep != 0) v.TimeSeparator = sep;
    std::string d(1, v.DateSeparator);
    switch (DateOrder(dateFormat)) {
      case 'M':
        v.ShortDateFormat = "M" + d + "d" + d + "yyyy";
        v.LongDateFormat = "dddd, MMMM d, yyyy";
        break;
      case 'D':
        v.ShortDateFormat = "dd" + d + "MM" + d + "yyyy";
        v.LongDateFormat = v.DateSeparator == '.' ? "dddd, d. MMMM yyyy" : "dddd, d MMMM yyyy";
        break;
      default:
        v.ShortDateFormat = "yyyy" + d + "MM" + d + "dd";
        v.LongDateFormat = "yyyy MMMM d, dddd";
        break;
    }
    if (std::string t = TimePattern(timeFormat, true); !t.empty()) v.LongTimeFormat = t;
    if (std::string t = TimePattern(timeFormat, false); !t.empty()) v.ShortTimeFormat = t;
    const char* am = nl_langinfo_l(AM_STR, loc);
    const char* pm = nl_langinfo_l(PM_STR, loc);
    if (am != nullptr && am[0] != 0) v.TimeAMString = am;
    if (pm != nullptr && pm[0] != 0) v.TimePMString = pm;
    ReadNames(loc, v);
  }
  freelocale(loc);
  return v;
}

}  // namespace

const LocaleValues& Locale() {
  static const LocaleValues values = ReadLocale();
  return values;
}

}  // namespace zu::platform
