// The platform's last error code: errno on POSIX, kept per thread by the C
// library, so every service reports through the value it already sets.
#include <cerrno>

#include "platform/platform.h"

namespace zu::platform {

int LastError() { return errno; }

void SetLastError(int code) { errno = code; }

}  // namespace zu::platform
