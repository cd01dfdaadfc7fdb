// The clocks (local and UTC calendar time) and sleeping.
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

namespace zu::platform {
namespace {

CalendarTime FromTm(const struct tm& tm, long nanoseconds) {
  CalendarTime out;
  out.Year = tm.tm_year + 1900;
  out.Month = tm.tm_mon + 1;
  out.Day = tm.tm_mday;
  out.Hour = tm.tm_hour;
  out.Minute = tm.tm_min;
  // A leap second (60) is folded into the last regular second.
  out.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  out.Millisecond = static_cast<int>(nanoseconds / 1000000);
  out.DayOfWeek = tm.tm_wday;
  return out;
}

}  // namespace

void Sleep(uint32_t milliseconds) {
  if (milliseconds == 0xFFFFFFFFu) {
    for (;;) pause();  // INFINITE: only a signal ends the process
  }
  struct timespec ts;
  ts.tv_sec = static_cast<time_t>(milliseconds / 1000);
  ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

CalendarTime LocalNow() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  tzset();
  struct tm tm {};
  localtime_r(&ts.tv_sec, &tm);
  return FromTm(tm, ts.tv_nsec);
}

CalendarTime UtcNow() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  struct tm tm {};
  gmtime_r(&ts.tv_sec, &tm);
  return FromTm(tm, ts.tv_nsec);
}

}  // namespace zu::platform
