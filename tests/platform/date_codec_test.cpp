// Day counts to calendar fields and back, negative counts included.
#include "platform/date_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace zu::platform {
namespace {

std::string Fields(double days) {
  CalendarTime t;
  if (!DecodeDateTime(days, t)) return "out of range";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d.%03d dow%d", t.Year, t.Month, t.Day,
                t.Hour, t.Minute, t.Second, t.Millisecond, t.DayOfWeek);
  return buf;
}

TEST(DateCodec, EncodeDateChecksRealDatesInRange) {
  double d = 0;
  ASSERT_TRUE(EncodeDate(1899, 12, 30, d));
  EXPECT_EQ(0.0, d);
  ASSERT_TRUE(EncodeDate(2026, 12, 6, d));
  EXPECT_EQ(46362.0, d);
  ASSERT_TRUE(EncodeDate(100, 1, 1, d));
  EXPECT_EQ(-657434.0, d);
  ASSERT_TRUE(EncodeDate(9999, 12, 31, d));
  EXPECT_EQ(2958465.0, d);
  ASSERT_TRUE(EncodeDate(2024, 2, 29, d));
  EXPECT_FALSE(EncodeDate(2023, 2, 29, d));
  EXPECT_FALSE(EncodeDate(1900, 2, 29, d));
  EXPECT_FALSE(EncodeDate(99, 12, 31, d));
  EXPECT_FALSE(EncodeDate(10000, 1, 1, d));
  EXPECT_FALSE(EncodeDate(2026, 13, 1, d));
  EXPECT_FALSE(EncodeDate(2026, 4, 31, d));
}

TEST(DateCodec, EncodeTime) {
  double f = 0;
  ASSERT_TRUE(EncodeTime(18, 0, 0, 0, f));
  EXPECT_EQ(0.75, f);
  ASSERT_TRUE(EncodeTime(23, 59, 59, 999, f));
  EXPECT_LT(f, 1.0);
  EXPECT_FALSE(EncodeTime(24, 0, 0, 0, f));
  EXPECT_FALSE(EncodeTime(0, 60, 0, 0, f));
  EXPECT_FALSE(EncodeTime(0, 0, 0, 1000, f));
  EXPECT_FALSE(EncodeTime(-1, 0, 0, 0, f));
}

// Negative counts keep the day in the whole part and the time as a positive
// fraction, as the Windows routine decodes them.
TEST(DateCodec, DecodeNegativeDayCounts) {
  EXPECT_EQ("1899-12-30 12:00:00.000 dow6", Fields(-0.5));
  EXPECT_EQ("1899-12-29 06:00:00.000 dow5", Fields(-1.25));
  EXPECT_EQ("1899-12-29 18:00:00.000 dow5", Fields(-1.75));
  EXPECT_EQ("1899-12-28 12:00:00.000 dow4", Fields(-2.5));
  EXPECT_EQ("100-01-01 06:00:00.000 dow5", Fields(-657434.25));
  EXPECT_EQ("out of range", Fields(-657435));
}

TEST(DateCodec, DecodeRangeAndMilliseconds) {
  EXPECT_EQ("2026-12-06 18:00:00.000 dow0", Fields(46362.75));
  EXPECT_EQ("2000-01-01 18:00:00.000 dow6", Fields(36526.75));
  EXPECT_EQ("9999-12-31 12:00:00.000 dow5", Fields(2958465.5));
  EXPECT_EQ("out of range", Fields(2958466));
  EXPECT_EQ("1899-12-30 00:00:01.500 dow6", Fields(1.5 / 86400));
  EXPECT_EQ("1900-02-28 00:00:00.000 dow3", Fields(60));
  EXPECT_EQ("1900-03-01 00:00:00.000 dow4", Fields(61));
  // A fraction within half a millisecond of midnight carries to the next day.
  EXPECT_EQ("1899-12-31 00:00:00.000 dow0", Fields(0.9999999999));
}

TEST(DateCodec, CalendarToDaysRoundTrips) {
  for (double days : {0.0, 46362.75, -1.25, -657434.25, 2958465.5, 0.52100694444444451}) {
    CalendarTime t;
    ASSERT_TRUE(DecodeDateTime(days, t));
    EXPECT_DOUBLE_EQ(days, CalendarToDays(t)) << days;
  }
}

}  // namespace
}  // namespace zu::platform
