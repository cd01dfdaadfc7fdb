// Decoding of day counts into calendar fields for the date built-ins and
// FormatDateTime: the shared codec within its years, the same rule by plain
// arithmetic beyond them.
#include "engine/builtins/date_fields.h"

#include <cmath>
#include <cstdint>

#include "platform/date_codec.h"
#include "support/errors.h"

namespace zu {
namespace {

constexpr int64_t kMillisecondsPerDay = 86400000;
// Day 0 (1899-12-30) counted from 1970-01-01.
constexpr int64_t kDayZeroFromUnixEpoch = -25569;

// Proleptic Gregorian date of a day number counted from 1970-01-01 (the
// era-of-400-years method; exact for any 64-bit day number in range).
void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

// Day number from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t mp = month > 2 ? month - 3 : month + 9;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The decoding outside the years the shared codec covers, by the same rule:
// the whole part is the day, the fraction's magnitude the time of day,
// rounded to the millisecond with the carry moving the day forward.
platform::CalendarTime DecodeWide(double days) {
  double whole = std::trunc(days);
  int64_t ms = std::llround(std::fabs(days - whole) * static_cast<double>(kMillisecondsPerDay));
  if (ms >= kMillisecondsPerDay) {
    ms -= kMillisecondsPerDay;
    whole += 1;
  }
  platform::CalendarTime t;
  CivilFromDays(static_cast<int64_t>(whole) + kDayZeroFromUnixEpoch, t.Year, t.Month, t.Day);
  t.Hour = static_cast<int>(ms / 3600000);
  t.Minute = static_cast<int>(ms / 60000 % 60);
  t.Second = static_cast<int>(ms / 1000 % 60);
  t.Millisecond = static_cast<int>(ms % 1000);
  return t;
}

}  // namespace

platform::CalendarTime DecodeDayCount(double days) {
  if (!std::isfinite(days) || std::fabs(days) > kMaxDayCount) {
    throw EFailure(kInvalidOp, "Invalid floating point operation");
  }
  platform::CalendarTime t;
  if (!platform::DecodeDateTime(days, t)) t = DecodeWide(days);
  // The weekday follows from the date itself; 1970-01-01 was a Thursday.
  const int64_t z = DaysFromCivil(t.Year, t.Month, t.Day);
  t.DayOfWeek = static_cast<int>(((z + 4) % 7 + 7) % 7);
  return t;
}

}  // namespace zu
