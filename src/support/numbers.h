// Digit tests, number conversions and the strict number parsers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zu {

// The value of a hexadecimal digit (either letter case), or -1.
int HexDigitValue(char c);
bool IsBaseDigit(char c, int base);
bool IsBaseNumber(std::string_view s, int base);
bool IsFractionText(std::string_view s);
char LowerCaseChar(char c);
// Wrapping 64-bit conversion; 0 when s is not a number of the base.
int64_t TextToInt(std::string_view s, int base);
// Fraction literal value: the first '.' read as the decimal separator; 0.0
// when it does not parse.
double TextToFraction(std::string_view s);
std::string IntToBase(int32_t value, int minDigits, int base);
std::string IntToText(int32_t value);

// Strict parsers (built-ins Num and Int). Failures raise EFailure
// (EConvertError): "'TEXT' is not a valid floating point value",
// "'TEXT' is not a valid integer value"; a value beyond the double range
// raises EFailure (EOverflow) "Floating point overflow".
double ParseNumber(std::string_view text);
int32_t ParseInteger(std::string_view text);

}  // namespace zu
