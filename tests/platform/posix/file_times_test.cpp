// File times to local calendar fields with the C library's time-zone rules
// (TZ honoured, read again at every conversion).
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_env.h"

namespace zu::platform {
namespace {

TEST(Files, FileTimeToLocalHonoursTz) {
  zu::testing::ScopedEnv tz("TZ", "UTC0");
  CalendarTime t = FileTimeToLocal(FileTime{86400 + 3600 + 61, 250000000});
  EXPECT_EQ(t.Year, 1970);
  EXPECT_EQ(t.Month, 1);
  EXPECT_EQ(t.Day, 2);
  EXPECT_EQ(t.Hour, 1);
  EXPECT_EQ(t.Minute, 1);
  EXPECT_EQ(t.Second, 1);
  EXPECT_EQ(t.Millisecond, 250);
  EXPECT_EQ(t.DayOfWeek, 5);           // a Friday
  zu::testing::SetEnv("TZ", "XYZ-3");  // three hours east of UTC
  EXPECT_EQ(FileTimeToLocal(FileTime{0, 0}).Hour, 3);
}

}  // namespace
}  // namespace zu::platform
