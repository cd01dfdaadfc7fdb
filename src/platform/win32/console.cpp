// The standard handles (GetStdHandle, WriteFile, ReadFile) under the shared
// buffering of standard output and input (common/console_streams.cpp).
#include "platform/common/console_streams.h"
#include "platform/win32/win32_api.h"

namespace zu::platform {

namespace streams {

int WriteAll(Stream stream, const char* data, size_t size) {
  HANDLE h = ::GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return 0;
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(size < 0x10000000u ? size : 0x10000000u);
    DWORD written = 0;
    if (!::WriteFile(h, data, chunk, &written, nullptr)) {
      // A pipe whose reader has gone answers either; callers see one.
      const DWORD error = ::GetLastError();
      return static_cast<int>(error == ERROR_BROKEN_PIPE ? ERROR_NO_DATA : error);
    }
    if (written == 0) return ERROR_DISK_FULL;
    data += written;
    size -= written;
  }
  return 0;
}

size_t ReadBlock(char* buffer, size_t size) {
  HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD got = 0;
  if (h == nullptr || h == INVALID_HANDLE_VALUE ||
      !::ReadFile(h, buffer, static_cast<DWORD>(size), &got, nullptr))
    return 0;
  return got;
}

}  // namespace streams

bool StdinIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

}  // namespace zu::platform
