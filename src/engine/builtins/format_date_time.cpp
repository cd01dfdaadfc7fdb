// The date-time pattern language of FormatDateTime: tokens, the minutes rule
// after an hour letter, the 12-hour clock chosen by a later am/pm marker,
// quoted text and the locale's own formats, in a text of at most 256
// characters.
#include "engine/builtins/format_date_time.h"

#include <cstdio>

#include "engine/builtins/date_fields.h"

namespace zu {
namespace {

// The locale formats (c, ddddd, t, ...) are themselves patterns; they never
// refer to one another, so one level of nesting is all that is needed. The
// limit only guards against a locale that does.
constexpr int kMaxNesting = 2;

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// True when format continues at i with marker, ignoring the case of A-Z.
bool StartsWithAt(std::string_view format, size_t i, std::string_view marker) {
  if (format.size() - i < marker.size()) return false;
  for (size_t k = 0; k < marker.size(); ++k) {
    if (UpperAscii(format[i + k]) != UpperAscii(marker[k])) return false;
  }
  return true;
}

// Length of the am/pm, a/p or ampm marker at i, 0 when there is none.
size_t MarkerAt(std::string_view format, size_t i) {
  if (StartsWithAt(format, i, "am/pm")) return 5;
  if (StartsWithAt(format, i, "a/p")) return 3;
  if (StartsWithAt(format, i, "ampm")) return 4;
  return 0;
}

// Position after the quoted text that opens at i (the closing quote
// included; an unclosed quote runs to the end).
size_t SkipQuoted(std::string_view format, size_t i) {
  const size_t close = format.find(format[i], i + 1);
  return close == std::string_view::npos ? format.size() : close + 1;
}

// Whether an hour token ending before `from` shows the 12-hour clock: an
// am/pm marker follows before the next hour letter; quoted text is skipped.
bool UsesTwelveHourClock(std::string_view format, size_t from) {
  size_t i = from;
  while (i < format.size()) {
    const char c = format[i];
    if (c == '"' || c == '\'') {
      i = SkipQuoted(format, i);
    } else if (UpperAscii(c) == 'H') {
      return false;
    } else if (MarkerAt(format, i) != 0) {
      return true;
    } else {
      ++i;
    }
  }
  return false;
}

class DateTimeFormatter {
 public:
  DateTimeFormatter(const platform::CalendarTime& t, const platform::LocaleValues& locale)
      : t_(t), locale_(locale) {}

  void Append(std::string_view format, int nesting);
  std::string Take() { return std::move(out_); }

 private:
  bool Full() const { return out_.size() >= kFormatDateTimeCap; }
  void Put(std::string_view s) {
    const size_t room = kFormatDateTimeCap - out_.size();
    out_.append(s.substr(0, s.size() < room ? s.size() : room));
  }
  void PutNumber(int value, int minDigits) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%0*d", minDigits, value);
    if (n > 0) Put(std::string_view(buffer, static_cast<size_t>(n)));
  }
  void PutLocaleFormat(const std::string& format, int nesting) {
    if (nesting < kMaxNesting) Append(format, nesting + 1);
  }
  bool TimeIsZero() const { return t_.Hour == 0 && t_.Minute == 0 && t_.Second == 0; }

  const platform::CalendarTime& t_;
  const platform::LocaleValues& locale_;
  std::string out_;
};

void DateTimeFormatter::Append(std::string_view format, int nesting) {
  if (format.empty()) format = "c";
  // The previous letter of the format outside quotes: 'H' turns m/mm into
  // minutes.
  char lastLetter = 0;
  size_t i = 0;
  while (i < format.size() && !Full()) {
    const char c = format[i];
    if (c == '"' || c == '\'') {
      const size_t end = SkipQuoted(format, i);
      const size_t bodyEnd = (end > i + 1 && format[end - 1] == c) ? end - 1 : end;
      Put(format.substr(i + 1, bodyEnd - (i + 1)));
      i = end;
      continue;
    }
    if (UpperAscii(c) == 'A') {
      if (const size_t length = MarkerAt(format, i); length != 0) {
        const bool morning = t_.Hour < 12;
        if (length == 5) {
          Put(format.substr(morning ? i : i + 3, 2));  // the letter case as written
        } else if (length == 3) {
          Put(format.substr(morning ? i : i + 2, 1));
        } else {
          Put(morning ? locale_.TimeAMString : locale_.TimePMString);
        }
        lastLetter = 'A';
        i += length;
        continue;
      }
    }
    // A run of one character (letters compared without case) is one token.
    size_t run = 1;
    while (i + run < format.size() && UpperAscii(format[i + run]) == UpperAscii(c)) ++run;
    const char token = UpperAscii(c);
    const bool afterHour = lastLetter == 'H';
    if (IsAsciiLetter(c)) lastLetter = token;
    switch (token) {
      case 'C':
        PutLocaleFormat(locale_.ShortDateFormat, nesting);
        if (!TimeIsZero()) {
          Put(" ");
          PutLocaleFormat(locale_.LongTimeFormat, nesting);
        }
        break;
      case 'D':
        if (run <= 2) {
          PutNumber(t_.Day, static_cast<int>(run));
        } else if (run == 3) {
          Put(locale_.ShortDayNames[t_.DayOfWeek]);
        } else if (run == 4) {
          Put(locale_.LongDayNames[t_.DayOfWeek]);
        } else if (run == 5) {
          PutLocaleFormat(locale_.ShortDateFormat, nesting);
        } else {
          PutLocaleFormat(locale_.LongDateFormat, nesting);
        }
        break;
      case 'M':
        if (run <= 2 && afterHour) {
          PutNumber(t_.Minute, static_cast<int>(run));
        } else if (run <= 2) {
          PutNumber(t_.Month, static_cast<int>(run));
        } else if (run == 3) {
          Put(locale_.ShortMonthNames[t_.Month - 1]);
        } else {
          Put(locale_.LongMonthNames[t_.Month - 1]);
        }
        break;
      case 'Y':
        if (run <= 2) {
          PutNumber(((t_.Year % 100) + 100) % 100, 2);
        } else {
          PutNumber(t_.Year, 4);
        }
        break;
      case 'E':
        // The Gregorian calendar has one era, so the era year is the year.
        PutNumber(t_.Year, run >= 2 ? 2 : 1);
        break;
      case 'G':
        Put(t_.Year > 0 ? "A.D." : "B.C.");
        break;
      case 'H': {
        int hour = t_.Hour;
        if (UsesTwelveHourClock(format, i + run)) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        PutNumber(hour, run >= 2 ? 2 : 1);
        break;
      }
      case 'N':
        PutNumber(t_.Minute, run >= 2 ? 2 : 1);
        break;
      case 'S':
        PutNumber(t_.Second, run >= 2 ? 2 : 1);
        break;
      case 'Z':
        PutNumber(t_.Millisecond, run >= 3 ? 3 : static_cast<int>(run));
        break;
      case 'T':
        PutLocaleFormat(run == 1 ? locale_.ShortTimeFormat : locale_.LongTimeFormat, nesting);
        break;
      case 'A':
        if (run == 3) {
          Put(locale_.ShortDayNames[t_.DayOfWeek]);
        } else if (run >= 4) {
          Put(locale_.LongDayNames[t_.DayOfWeek]);
        } else {
          Put(format.substr(i, run));
        }
        break;
      case '/':
        for (size_t k = 0; k < run; ++k) Put(std::string_view(&locale_.DateSeparator, 1));
        break;
      case ':':
        for (size_t k = 0; k < run; ++k) Put(std::string_view(&locale_.TimeSeparator, 1));
        break;
      default:
        Put(format.substr(i, run));
        break;
    }
    i += run;
  }
}

}  // namespace

std::string FormatDateTime(std::string_view format, double when,
                           const platform::LocaleValues& locale) {
  const platform::CalendarTime t = DecodeDayCount(when);
  DateTimeFormatter formatter(t, locale);
  formatter.Append(format, 0);
  return formatter.Take();
}

}  // namespace zu
