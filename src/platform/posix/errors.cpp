// The platform's last error code: errno on POSIX, kept per thread by the C
// library, so every service reports through the value it already sets; the
// codes callers set themselves and the texts of input/output errors.
#include <cerrno>
#include <string>

#include "platform/platform.h"

namespace zu::platform {

int LastError() { return errno; }

void SetLastError(int code) { errno = code; }

int ErrorCode(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::FileNotFound:
      return ENOENT;
    case ErrorKind::AccessDenied:
      return EACCES;
    case ErrorKind::IsDirectory:
      return EISDIR;
    case ErrorKind::InvalidArgument:
      return EINVAL;
    case ErrorKind::Overflow:
      return EOVERFLOW;
    case ErrorKind::BrokenPipe:
      return EPIPE;
  }
  return EINVAL;
}

std::string InOutErrorMessage(int code) {
  switch (code) {
    case ENOENT:
    case ENOTDIR:
      return "File not found";
    case EINVAL:
    case ENAMETOOLONG:
    case EILSEQ:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(code);
  }
}

}  // namespace zu::platform
