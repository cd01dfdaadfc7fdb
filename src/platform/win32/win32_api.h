// Private to the Win32 layer: the one include of <windows.h>, with the
// narrow (ANSI) entry points, and the conversions between Win32 handles and
// the integers that stand for them in platform.h.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>

#include "platform/platform.h"

namespace zu::platform::win32 {

inline HANDLE ToHandle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }
inline intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

// FILETIME (100 ns since 1601-01-01 UTC) and the layer's FileTime (seconds
// and nanoseconds since 1970-01-01 UTC).
FileTime ToFileTime(const FILETIME& ft);
// The calendar fields of a SYSTEMTIME (clocks.cpp).
CalendarTime FromSystemTime(const SYSTEMTIME& st);
FILETIME ToWin32(const FileTime& t);

}  // namespace zu::platform::win32
