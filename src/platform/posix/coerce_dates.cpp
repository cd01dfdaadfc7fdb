// The coercion service's dates: a day count written with the locale's short
// date and long time formats, and the reader of date and time texts.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/date_codec.h"
#include "platform/platform.h"
#include "platform/posix/coerce_internal.h"

namespace zu::platform::coerce {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

size_t RunLength(std::string_view p, size_t i) {
  size_t k = i;
  while (k < p.size() && Lower(p[k]) == Lower(p[i])) ++k;
  return k - i;
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

// Writes calendar fields by a pattern of the script's format language (d,
// dd, ddd, dddd, M .. MMMM, yy, yyyy, h, hh, H, HH, n/m, mm, s, ss, AMPM,
// am/pm, "/" and ":" for the locale's separators, quoted literals).
std::string FormatFields(std::string_view p, const CalendarTime& t) {
  const LocaleValues& loc = Locale();
  const bool twelveHour = [&] {
    for (size_t i = 0; i + 1 < p.size(); ++i)
      if (SameLetters(p.substr(i, 2), "am") || SameLetters(p.substr(i, 2), "tt")) return true;
    return false;
  }();
  std::string out;
  bool afterHour = false;
  for (size_t i = 0; i < p.size();) {
    const char c = p[i];
    const char lc = Lower(c);
    if (c == '"' || c == '\'') {
      size_t end = p.find(c, i + 1);
      if (end == std::string_view::npos) end = p.size();
      out.append(p.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if (SameLetters(p.substr(i, 4), "ampm") || SameLetters(p.substr(i, 2), "tt")) {
      out += t.Hour < 12 ? loc.TimeAMString : loc.TimePMString;
      i += SameLetters(p.substr(i, 4), "ampm") ? 4 : 2;
      continue;
    }
    if (SameLetters(p.substr(i, 5), "am/pm")) {
      out += t.Hour < 12 ? (c == 'A' ? "AM" : "am") : (c == 'A' ? "PM" : "pm");
      i += 5;
      continue;
    }
    const size_t run = RunLength(p, i);
    if (lc == 'd') {
      if (run >= 4)
        out += loc.LongDayNames[t.DayOfWeek];
      else if (run == 3)
        out += loc.ShortDayNames[t.DayOfWeek];
      else
        out += run == 2 ? TwoDigits(t.Day) : std::to_string(t.Day);
    } else if (lc == 'y') {
      out += run <= 2 ? TwoDigits(t.Year % 100) : std::to_string(t.Year);
    } else if (lc == 'h') {
      int h = t.Hour;
      if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
      out += run >= 2 ? TwoDigits(h) : std::to_string(h);
      afterHour = true;
    } else if (c == 'M' || (lc == 'm' && !afterHour)) {
      if (run >= 4)
        out += loc.LongMonthNames[t.Month - 1];
      else if (run == 3)
        out += loc.ShortMonthNames[t.Month - 1];
      else
        out += run == 2 ? TwoDigits(t.Month) : std::to_string(t.Month);
    } else if (lc == 'm' || lc == 'n') {
      out += run >= 2 ? TwoDigits(t.Minute) : std::to_string(t.Minute);
    } else if (lc == 's') {
      out += run >= 2 ? TwoDigits(t.Second) : std::to_string(t.Second);
    } else if (c == '/') {
      out += loc.DateSeparator;
    } else if (c == ':') {
      out += loc.TimeSeparator;
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

// ---------------------------------------------------------------- reading

enum class TokenKind { Number, Month, DayName, AM, PM, TimeSep };

struct Token {
  TokenKind Kind;
  int Value = 0;   // number value, month 1..12
  int Digits = 0;  // digits written, for numbers
};

// Month by its full name or three-letter abbreviation (either letter case);
// 0 when the word is none.
int MonthOf(std::string_view word) {
  const LocaleValues& loc = Locale();
  for (int m = 0; m < 12; ++m)
    if (SameLetters(word, loc.LongMonthNames[m]) || SameLetters(word, loc.ShortMonthNames[m]))
      return m + 1;
  return 0;
}

bool IsDayName(std::string_view word) {
  const LocaleValues& loc = Locale();
  for (int d = 0; d < 7; ++d)
    if (SameLetters(word, loc.LongDayNames[d]) || SameLetters(word, loc.ShortDayNames[d]))
      return true;
  return false;
}

bool Tokenize(std::string_view s, std::vector<Token>& tokens) {
  const LocaleValues& loc = Locale();
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= '0' && c <= '9') {
      Token t{TokenKind::Number};
      size_t k = i;
      while (k < s.size() && s[k] >= '0' && s[k] <= '9') {
        if (t.Value < 100000) t.Value = t.Value * 10 + (s[k] - '0');
        ++t.Digits;
        ++k;
      }
      tokens.push_back(t);
      i = k;
    } else if ((c | 32) >= 'a' && (c | 32) <= 'z') {
      size_t k = i;
      while (k < s.size() && ((s[k] | 32) >= 'a' && (s[k] | 32) <= 'z')) ++k;
      const std::string_view word = s.substr(i, k - i);
      if (SameLetters(word, loc.TimeAMString) || SameLetters(word, "AM")) {
        tokens.push_back({TokenKind::AM});
      } else if (SameLetters(word, loc.TimePMString) || SameLetters(word, "PM")) {
        tokens.push_back({TokenKind::PM});
      } else if (int m = MonthOf(word)) {
        tokens.push_back({TokenKind::Month, m});
      } else if (IsDayName(word)) {
        tokens.push_back({TokenKind::DayName});
      } else {
        return false;
      }
      i = k;
    } else if (c == static_cast<unsigned char>(loc.TimeSeparator) || c == ':') {
      tokens.push_back({TokenKind::TimeSep});
      ++i;
    } else if (IsServiceBlank(static_cast<char>(c)) || c == ',' ||
               c == static_cast<unsigned char>(loc.DateSeparator) || c == '/' || c == '-') {
      // A doubled date separator ("12//6") is no date.
      if ((c == '/' || c == '-') && i + 1 < s.size() && s[i + 1] == s[i]) return false;
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// Years below 100 fall in 1950 .. 2049, however many digits were written.
int ExpandYear(const Token& t) {
  if (t.Value < 100) return t.Value < 50 ? 2000 + t.Value : 1900 + t.Value;
  return t.Value;
}

// The order in which the locale writes the numbers of a date: 'M' month
// first, 'D' day first, 'Y' year first, from its short date format.
char DateOrder() {
  for (char c : Locale().ShortDateFormat) {
    if (c == 'M' || c == 'm') return 'M';
    if (c == 'd' || c == 'D') return 'D';
    if (c == 'y' || c == 'Y') return 'Y';
  }
  return 'M';
}

// Date fields from the numbers (and month name) of a date part. Numbers
// are read in the locale's order (a text the service wrote reads back as
// the same date); a first number that can only be a year makes the date
// year-first in any locale (yyyy-mm-dd), a last one that can only be a year
// year-last in a year-first locale too.
bool ResolveDate(const std::vector<Token>& nums, int monthName, int& y, int& m, int& d) {
  const auto isYear = [](const Token& t) { return t.Digits >= 3 || t.Value > 31; };
  if (monthName) {
    m = monthName;
    if (nums.size() == 2) {
      if (isYear(nums[0]) && !isYear(nums[1])) {
        y = ExpandYear(nums[0]);
        d = nums[1].Value;
      } else {
        d = nums[0].Value;
        y = ExpandYear(nums[1]);
      }
    } else if (nums.size() == 1) {
      if (isYear(nums[0])) {
        y = ExpandYear(nums[0]);
        d = 1;
      } else {
        d = nums[0].Value;
        y = LocalNow().Year;
      }
    } else {
      return false;
    }
    return true;
  }
  const char order = DateOrder();
  if (nums.size() == 3) {
    if (isYear(nums[0]) || (order == 'Y' && !isYear(nums[2]))) {
      y = ExpandYear(nums[0]);
      m = nums[1].Value;
      d = nums[2].Value;
    } else {
      const bool dayFirst = order == 'D';
      m = nums[dayFirst ? 1 : 0].Value;
      d = nums[dayFirst ? 0 : 1].Value;
      y = ExpandYear(nums[2]);
    }
  } else if (nums.size() == 2) {
    if (isYear(nums[1]) || nums[1].Value == 0) {  // month and year
      m = nums[0].Value;
      d = 1;
      y = ExpandYear(nums[1]);
    } else {
      const bool dayFirst = order == 'D';
      m = nums[dayFirst ? 1 : 0].Value;
      d = nums[dayFirst ? 0 : 1].Value;
      y = LocalNow().Year;
    }
  } else {
    return false;
  }
  // Day and month swap when the month cannot be one.
  if (m > 12 && d <= 12) std::swap(m, d);
  return true;
}

}  // namespace

bool FormatDateTime(double days, std::string& out) {
  if (!IsDateInRange(days)) return false;
  const double whole = std::trunc(days);
  const double fraction = std::fabs(days - whole);
  // Rounded to the millisecond and then to the second, halves up (as the
  // Windows service does); a carry moves the date.
  const int64_t ms = static_cast<int64_t>(std::floor(fraction * 86400000.0 + 0.5));
  int64_t seconds = (ms + 500) / 1000;
  double day = whole;
  if (seconds >= 86400) {
    seconds -= 86400;
    day += 1;
  }
  CalendarTime t;
  if (!DecodeDateTime(day, t)) return false;
  t.Hour = static_cast<int>(seconds / 3600);
  t.Minute = static_cast<int>(seconds / 60 % 60);
  t.Second = static_cast<int>(seconds % 60);
  const LocaleValues& loc = Locale();
  if (whole == 0) {
    out = FormatFields(loc.LongTimeFormat, t);
  } else if (fraction == 0) {
    out = FormatFields(loc.ShortDateFormat, t);
  } else {
    out = FormatFields(loc.ShortDateFormat, t) + " " + FormatFields(loc.LongTimeFormat, t);
  }
  return true;
}

bool ParseDateTimeText(std::string_view text, double& days) {
  std::vector<Token> tokens;
  if (!Tokenize(text, tokens) || tokens.empty()) return false;

  // The time part: numbers joined by time separators, or a number followed
  // by AM/PM, with an optional AM/PM after it.
  std::vector<Token> dateNums;
  int monthName = 0;
  bool haveTime = false;
  int hour = 0, minute = 0, second = 0;
  for (size_t i = 0; i < tokens.size();) {
    const Token& t = tokens[i];
    if (t.Kind == TokenKind::Number) {
      const bool timeFollows = i + 1 < tokens.size() && tokens[i + 1].Kind == TokenKind::TimeSep;
      const bool meridiemFollows = i + 1 < tokens.size() && (tokens[i + 1].Kind == TokenKind::AM ||
                                                             tokens[i + 1].Kind == TokenKind::PM);
      if (!timeFollows && !meridiemFollows) {
        dateNums.push_back(t);
        ++i;
        continue;
      }
      if (haveTime) return false;
      haveTime = true;
      int fields[3] = {t.Value, 0, 0};
      int count = 1;
      size_t k = i + 1;
      while (k + 1 < tokens.size() && tokens[k].Kind == TokenKind::TimeSep &&
             tokens[k + 1].Kind == TokenKind::Number && count < 3) {
        fields[count++] = tokens[k + 1].Value;
        k += 2;
      }
      if (k < tokens.size() && tokens[k].Kind == TokenKind::TimeSep) return false;
      hour = fields[0];
      minute = fields[1];
      second = fields[2];
      if (k < tokens.size() &&
          (tokens[k].Kind == TokenKind::AM || tokens[k].Kind == TokenKind::PM)) {
        if (hour > 23) return false;
        if (tokens[k].Kind == TokenKind::AM && hour == 12) hour = 0;
        if (tokens[k].Kind == TokenKind::PM && hour < 12) hour += 12;
        ++k;
      }
      i = k;
    } else if (t.Kind == TokenKind::Month) {
      if (monthName) return false;
      monthName = t.Value;
      ++i;
    } else if (t.Kind == TokenKind::DayName) {
      ++i;
    } else {
      return false;  // a stray separator or AM/PM
    }
  }

  double date = 0;
  if (!dateNums.empty() || monthName) {
    int y = 0, m = 0, d = 0;
    if (!ResolveDate(dateNums, monthName, y, m, d)) return false;
    if (!EncodeDate(y, m, d, date)) return false;
  } else if (!haveTime) {
    return false;
  }
  double probe;
  if (haveTime && !EncodeTime(hour, minute, second, 0, probe)) return false;
  // Field by field onto the date, in the service's order of additions.
  const double sign = date >= 0 ? 1.0 : -1.0;
  days = date + sign * (hour / 24.0);
  days += sign * (minute / 1440.0);
  days += sign * (second / 86400.0);
  return true;
}

}  // namespace zu::platform::coerce
