// The clocks (GetLocalTime, GetSystemTime) and sleeping (Sleep; INFINITE
// waits forever).
#include "platform/win32/win32_api.h"

namespace zu::platform {

namespace win32 {

CalendarTime FromSystemTime(const SYSTEMTIME& st) {
  CalendarTime out;
  out.Year = st.wYear;
  out.Month = st.wMonth;
  out.Day = st.wDay;
  out.Hour = st.wHour;
  out.Minute = st.wMinute;
  out.Second = st.wSecond;
  out.Millisecond = st.wMilliseconds;
  out.DayOfWeek = st.wDayOfWeek;
  return out;
}

}  // namespace win32

void Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

CalendarTime LocalNow() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return win32::FromSystemTime(st);
}

CalendarTime UtcNow() {
  SYSTEMTIME st;
  ::GetSystemTime(&st);
  return win32::FromSystemTime(st);
}

}  // namespace zu::platform
