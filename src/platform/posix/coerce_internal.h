// Pieces of the variant coercion service shared by its source files: the
// lenient number reader, number and date writers and the date reader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zu::platform::coerce {

enum class ParseStatus { Ok, Invalid, Overflow };

// The blanks the service skips around numbers and between the parts of a
// date: space, tab, line feed, vertical tab, form feed, carriage return and
// the no-break space of code page 1252 (0xA0), as Windows' service does.
inline bool IsServiceBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\xA0';
}

// A number read from text: either a "&H"/"&O" 32-bit pattern or a decimal
// value.
struct ParsedNumber {
  bool IsPattern = false;
  uint32_t Pattern = 0;
  double Value = 0;
};

// Reads a number the lenient way of the coercion service (blanks, signs
// before or after, parentheses, "$", thousands separators, exponents,
// "&H"/"&O"). Overflow: a decimal beyond the double range or a pattern of
// more than 32 bits.
ParseStatus ParseNumberText(std::string_view text, ParsedNumber& out);

// Rounds half to even into the signed 32-bit range; false when outside it
// (or not a number).
bool RoundToInt32(double v, int32_t& out);

// A double as text: at most 15 significant digits, the 15th rounded half
// away from zero, exponent form from 1E+15 and below 1E-04.
std::string FormatDouble(double v);
std::string FormatInteger(int32_t v);

// A day count as text (short date, blank, long time; date only for whole
// days; time only when the whole part is 0); false outside 1/1/100 ..
// 12/31/9999.
bool FormatDateTime(double days, std::string& out);
// Reads a date, a time or both; false when the text is none of the accepted
// forms or names an impossible date or time.
bool ParseDateTimeText(std::string_view text, double& days);

// Day counts that the service accepts as DateTime values.
inline bool IsDateInRange(double days) { return days > -657435.0 && days < 2958466.0; }

}  // namespace zu::platform::coerce
