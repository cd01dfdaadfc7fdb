// FormatDateTime: a day count formatted by the date-time pattern language.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace zu {

// The longest text FormatDateTime produces; the rest is cut off.
inline constexpr size_t kFormatDateTimeCap = 256;

// Formats when (days since 1899-12-30) by format with the given locale
// values. Pattern letters are case-insensitive and a run of one letter is
// one token: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right after
// an hour letter), y yy yyy+, e, g, h hh, n nn, s ss, z zz zzz, t tt, c,
// am/pm, a/p, ampm, aaa aaaa, / and : (the locale separators), and quoted
// text. An empty format means "c". Raises EFailure for a day count that
// cannot be decoded (see DecodeDayCount).
std::string FormatDateTime(std::string_view format, double when,
                           const platform::LocaleValues& locale = platform::Locale());

}  // namespace zu
