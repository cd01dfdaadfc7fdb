// The raw standard descriptors under the shared buffering of standard output
// and input (common/console_streams.cpp): writes that wait out a descriptor
// left non-blocking, block reads that leave the terminal's raw mode first.
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/common/console_streams.h"
#include "platform/platform.h"
#include "platform/posix/terminal.h"

namespace zu::platform {

namespace streams {

int WriteAll(Stream stream, const char* data, size_t size) {
  const int fd = stream == Stream::Output ? 1 : 2;
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        // A descriptor left non-blocking by someone else: wait until it
        // takes more rather than report a failure that is not there.
        struct pollfd p = {fd, POLLOUT, 0};
        ::poll(&p, 1, -1);
        continue;
      }
      return errno;
    }
    if (n == 0) return ENOSPC;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

size_t ReadBlock(char* buffer, size_t size) {
  posix::LeaveRawMode();
  for (;;) {
    const ssize_t n = ::read(0, buffer, size);
    if (n > 0) return static_cast<size_t>(n);
    if (n == 0) return 0;
    if (errno == EINTR) continue;
    if (errno == EAGAIN) {
      // A descriptor left non-blocking by someone else: wait for data
      // rather than report an end that is not there.
      struct pollfd p = {0, POLLIN, 0};
      ::poll(&p, 1, -1);
      continue;
    }
    return 0;
  }
}

}  // namespace streams

bool StdinIsTerminal() { return isatty(0) == 1; }

}  // namespace zu::platform
