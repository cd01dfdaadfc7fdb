// The user alerts: the default message sound and the error message box.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"

namespace zu::platform {

void Beep() {
  // The controlling terminal, never standard output: a beep must not end up
  // in redirected script output.
  int fd = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  ssize_t n;
  do {
    n = ::write(fd, "\a", 1);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
}

void ShowMessage(const std::string& caption, const std::string& text) {
  // No windowing system to ask: one line on standard error, which never
  // blocks and never mixes with the script's output.
  WriteStderr(caption + ": " + text + "\n");
}

}  // namespace zu::platform
