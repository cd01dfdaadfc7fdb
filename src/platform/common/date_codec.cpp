// Day counts (days since 1899-12-30, time of day as the fraction) to calendar
// fields and back, with the variant-time rules: the whole part is the day and
// the fraction's magnitude is the time, also for negative counts.
#include "platform/date_codec.h"

#include <cmath>
#include <cstdint>

namespace zu::platform {
namespace {

// Day counts outside this open interval lie beyond 1/1/100 .. 12/31/9999.
constexpr double kMinDays = -657435.0;
constexpr double kMaxDays = 2958466.0;
constexpr int64_t kMsPerDay = 86400000;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr int64_t kEpochOffset = 693899;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Serial day of a calendar date (no validation), counted from 1899-12-30.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - kEpochOffset;
}

void CivilFromDays(int64_t serial, int& year, int& month, int& day) {
  const int64_t z = serial + kEpochOffset;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(era * 400 + yoe + (month <= 2));
}

// Summed field by field, the way the Windows service computes it, so that
// parsed and encoded times agree with it to the last bit.
double TimeFraction(int hour, int minute, int second, int millisecond) {
  return hour / 24.0 + minute / 1440.0 + second / 86400.0 + millisecond / 86400000.0;
}

}  // namespace

bool EncodeDate(int year, int month, int day, double& days) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  days = static_cast<double>(DaysFromCivil(year, month, day));
  return true;
}

bool EncodeTime(int hour, int minute, int second, int millisecond, double& fraction) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  fraction = TimeFraction(hour, minute, second, millisecond);
  return true;
}

bool DecodeDateTime(double days, CalendarTime& out) {
  if (!(days > kMinDays && days < kMaxDays)) return false;  // NaN fails too
  double whole = std::trunc(days);
  // The nearest millisecond: a time computed from fields (x / 86400000)
  // must give those fields back.
  int64_t ms = std::llround(std::fabs(days - whole) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    whole += 1;
  }
  const int64_t serial = static_cast<int64_t>(whole);
  CivilFromDays(serial, out.Year, out.Month, out.Day);
  if (out.Year < 100 || out.Year > 9999) return false;
  out.Millisecond = static_cast<int>(ms % 1000);
  out.Second = static_cast<int>(ms / 1000 % 60);
  out.Minute = static_cast<int>(ms / 60000 % 60);
  out.Hour = static_cast<int>(ms / 3600000);
  // 1899-12-30 was a Saturday.
  out.DayOfWeek = static_cast<int>(((serial + 6) % 7 + 7) % 7);
  return true;
}

double CalendarToDays(const CalendarTime& t) {
  const double date = static_cast<double>(DaysFromCivil(t.Year, t.Month, t.Day));
  const double time = TimeFraction(t.Hour, t.Minute, t.Second, t.Millisecond);
  return date >= 0 ? date + time : date - time;
}

}  // namespace zu::platform
