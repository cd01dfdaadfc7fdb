// Digit tests, literal conversions, number writing and the strict parsers.
#include "support/numbers.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/errors.h"

namespace zu {
namespace {

std::string FailureOf(double (*fn)(std::string_view), std::string_view text) {
  try {
    fn(text);
  } catch (const EFailure& e) {
    return e.Kind() + ": " + e.what();
  }
  return "none";
}

std::string IntFailureOf(std::string_view text) {
  try {
    ParseInteger(text);
  } catch (const EFailure& e) {
    return e.Kind() + ": " + e.what();
  }
  return "none";
}

TEST(Numbers, DigitTests) {
  EXPECT_TRUE(IsBaseDigit('-', 10));
  EXPECT_FALSE(IsBaseDigit('-', 16));
  EXPECT_TRUE(IsBaseDigit('f', 16));
  EXPECT_FALSE(IsBaseDigit('8', 8));
  EXPECT_FALSE(IsBaseDigit('2', 2));
  EXPECT_FALSE(IsBaseDigit('1', 3));
  EXPECT_FALSE(IsBaseNumber("", 10));
  EXPECT_TRUE(IsBaseNumber("1-2", 10));
  EXPECT_TRUE(IsFractionText(""));
  EXPECT_TRUE(IsFractionText("+1.-5"));
  EXPECT_FALSE(IsFractionText("1e5"));
  EXPECT_EQ('a', LowerCaseChar('A'));
  EXPECT_EQ('x', LowerCaseChar('x'));
  EXPECT_EQ('\xE0', LowerCaseChar('\xC0'));
  EXPECT_EQ('\xFF', LowerCaseChar('\xDF'));
}

TEST(Numbers, TextToIntWrapsAndReadsMinusAsZeroDigit) {
  EXPECT_EQ(0, TextToInt("0x1F", 16));
  EXPECT_EQ(31, TextToInt("1F", 16));
  EXPECT_EQ(42, TextToInt(" 42 ", 10));
  EXPECT_EQ(-12, TextToInt("-12", 10));
  EXPECT_EQ(0, TextToInt("-", 10));
  EXPECT_EQ(0, TextToInt("", 10));
  EXPECT_EQ(5, TextToInt("101", 2));
  // 2^64 wraps to 0.
  EXPECT_EQ(0, TextToInt("18446744073709551616", 10));
  EXPECT_EQ(-1, TextToInt("FFFFFFFFFFFFFFFF", 16));
}

TEST(Numbers, IntToBaseAndIntToText) {
  EXPECT_EQ("00FF", IntToBase(255, 4, 16));
  EXPECT_EQ("FFFFFFFF", IntToBase(-1, 0, 16));
  EXPECT_EQ("", IntToBase(5, 0, 3));
  EXPECT_EQ("0", IntToBase(0, 0, 10));
  EXPECT_EQ("101", IntToBase(5, 2, 2));
  EXPECT_EQ("-2147483648", IntToText(INT32_MIN));
  EXPECT_EQ("-5", IntToText(-5));
  EXPECT_EQ("2147483647", IntToText(INT32_MAX));
}

TEST(Numbers, TextToFraction) {
  if (platform::Locale().DecimalSeparator != '.') GTEST_SKIP() << "'.' separator";
  EXPECT_EQ(0.5, TextToFraction(".5"));
  EXPECT_EQ(0.0, TextToFraction("  "));
  EXPECT_EQ(-2.25, TextToFraction(" -2.25 "));
  EXPECT_EQ(0.1, TextToFraction("0.1"));
}

TEST(Numbers, ParseNumberAccepts) {
  if (platform::Locale().DecimalSeparator != '.') GTEST_SKIP() << "'.' separator";
  EXPECT_EQ(1500.0, ParseNumber(" 1.5E3 "));
  EXPECT_EQ(0.0, ParseNumber("."));
  EXPECT_EQ(-0.5, ParseNumber("-.5"));
  EXPECT_EQ(12.0, ParseNumber("12E"));
  EXPECT_EQ(0.001, ParseNumber("1e-3"));
  EXPECT_EQ(0.1, ParseNumber("0.1"));
  EXPECT_EQ(1e308, ParseNumber("1e308"));
  EXPECT_EQ(0.0, ParseNumber("1e-499"));
}

TEST(Numbers, ParseNumberRejects) {
  if (platform::Locale().DecimalSeparator != '.') GTEST_SKIP() << "'.' separator";
  EXPECT_EQ("EConvertError: '1.5x' is not a valid floating point value",
            FailureOf(ParseNumber, "1.5x"));
  EXPECT_EQ("EConvertError: '' is not a valid floating point value", FailureOf(ParseNumber, ""));
  EXPECT_EQ("EConvertError: '+' is not a valid floating point value", FailureOf(ParseNumber, "+"));
  EXPECT_EQ("EConvertError: '\t1' is not a valid floating point value",
            FailureOf(ParseNumber, "\t1"));
  EXPECT_EQ("EConvertError: '1,5' is not a valid floating point value",
            FailureOf(ParseNumber, "1,5"));
  // The exponent digit that reaches 500 is the last one read.
  EXPECT_EQ("EConvertError: '1e5000' is not a valid floating point value",
            FailureOf(ParseNumber, "1e5000"));
  EXPECT_EQ("EOverflow: Floating point overflow", FailureOf(ParseNumber, "1e500"));
  EXPECT_EQ("EOverflow: Floating point overflow", FailureOf(ParseNumber, "1e309"));
}

TEST(Numbers, ParseInteger) {
  EXPECT_EQ(31, ParseInteger("$1F"));
  EXPECT_EQ(31, ParseInteger("  0x1f"));
  EXPECT_EQ(31, ParseInteger("X1F"));
  EXPECT_EQ(-1, ParseInteger("$FFFFFFFF"));
  EXPECT_EQ(-1, ParseInteger("$00000000FFFFFFFF"));
  EXPECT_EQ(INT32_MIN, ParseInteger("-2147483648"));
  EXPECT_EQ(5, ParseInteger("+5"));
  EXPECT_EQ("EConvertError: '12 ' is not a valid integer value", IntFailureOf("12 "));
  EXPECT_EQ("EConvertError: '-$1F' is not a valid integer value", IntFailureOf("-$1F"));
  EXPECT_EQ("EConvertError: '2147483648' is not a valid integer value", IntFailureOf("2147483648"));
  EXPECT_EQ("EConvertError: '$123456789' is not a valid integer value", IntFailureOf("$123456789"));
  EXPECT_EQ("EConvertError: '$' is not a valid integer value", IntFailureOf("$"));
  EXPECT_EQ("EConvertError: '' is not a valid integer value", IntFailureOf(""));
  EXPECT_EQ("EConvertError: '-' is not a valid integer value", IntFailureOf("-"));
  EXPECT_EQ("EConvertError: '99999999999999999999' is not a valid integer value",
            IntFailureOf("99999999999999999999"));
}

}  // namespace
}  // namespace zu
