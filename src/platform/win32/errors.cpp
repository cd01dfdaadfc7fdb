// The platform's last error code (GetLastError), the codes callers set
// themselves and the texts of input/output errors for Win32 codes.
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {

int LastError() { return static_cast<int>(::GetLastError()); }

void SetLastError(int code) { ::SetLastError(static_cast<DWORD>(code)); }

int ErrorCode(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::FileNotFound:
      return ERROR_FILE_NOT_FOUND;
    case ErrorKind::AccessDenied:
      return ERROR_ACCESS_DENIED;
    case ErrorKind::IsDirectory:
      // What CreateFileA answers for a directory opened as a file.
      return ERROR_ACCESS_DENIED;
    case ErrorKind::InvalidArgument:
      return ERROR_INVALID_PARAMETER;
    case ErrorKind::Overflow:
      return ERROR_ARITHMETIC_OVERFLOW;
    case ErrorKind::BrokenPipe:
      // What WriteFile answers once the reader of a pipe has closed it.
      return ERROR_NO_DATA;
  }
  return ERROR_INVALID_PARAMETER;
}

std::string InOutErrorMessage(int code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return "File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return "Invalid filename";
    case ERROR_TOO_MANY_OPEN_FILES:
      return "Too many open files";
    case ERROR_ACCESS_DENIED:
      return "File access denied";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(code);
  }
}

}  // namespace zu::platform
