// Day counts (days since 1899-12-30, the time of day as the fraction) to
// calendar fields and back, with the rules Windows' variant time functions
// use (negative days keep the day in the whole part and the time as a
// positive fraction). Pure arithmetic, no OS services.
#pragma once

#include "platform/platform.h"

namespace zu::platform {

// Days since 1899-12-30 of a Gregorian date; false when out of 1/1/100 ..
// 12/31/9999 or not a real date.
bool EncodeDate(int year, int month, int day, double& days);
// Fraction of a day of a time; false when a field is out of range.
bool EncodeTime(int hour, int minute, int second, int millisecond, double& fraction);
// Calendar fields of a day count, milliseconds included (no rounding to
// seconds); false outside 1/1/100 .. 12/31/9999.
bool DecodeDateTime(double days, CalendarTime& out);
// Day count of calendar fields (date plus time, the time added as a positive
// fraction: for days before 1899-12-30 the result is -(|date| + fraction)).
double CalendarToDays(const CalendarTime& t);

}  // namespace zu::platform
