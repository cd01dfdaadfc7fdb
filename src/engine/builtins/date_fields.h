// Calendar fields of a day count as the date built-ins and FormatDateTime
// read them.
#pragma once

#include "platform/platform.h"

namespace zu {

// The fields of a day count (days since 1899-12-30; for negative counts the
// whole part is the day and the fraction a positive time of day), with
// milliseconds and the day of the week (0 Sunday). Dates outside the years
// 100..9999 are still decoded on the proleptic Gregorian calendar (the year
// may then be 0 or negative). A count that is not finite or lies beyond
// kMaxDayCount days raises EFailure (EInvalidOp).
platform::CalendarTime DecodeDayCount(double days);

// About 2.7 million years either side: far beyond any real date, small
// enough for exact integer day arithmetic.
inline constexpr double kMaxDayCount = 1.0e9;

}  // namespace zu
