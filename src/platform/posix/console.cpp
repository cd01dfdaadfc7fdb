// Standard output, standard error and line input. Output is collected in one
// buffer and written by FlushStdout, which the executor calls after every
// output statement, so that it interleaves with started programs.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>

#include "platform/platform.h"
#include "platform/posix/terminal.h"

namespace zu::platform {
namespace {

// Output collected beyond this many bytes is written at once, so a long
// statement never holds unbounded text.
constexpr size_t kStdoutChunk = 64 * 1024;
constexpr size_t kStdinBlock = 4096;

// Writes everything; 0, or the errno of the failed write.
int WriteAll(int fd, const char* data, size_t size) {
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

// Process-wide console state: the output buffer and the read-ahead of
// standard input. The engine may run on a second thread (RunWithStack), so
// access is serialised.
struct ConsoleState {
  std::mutex lock;
  std::string out;
  std::string in;
  size_t inPos = 0;
  bool inEnded = false;
  // The error of the first failed write to standard output, 0 while none
  // failed. A failure sticks: later output is dropped and every flush
  // reports it, so that no caller mistakes lost text for written text.
  int outFailure = 0;

  ~ConsoleState() {
    // Output still buffered at process exit is not lost.
    if (outFailure == 0) WriteAll(1, out.data(), out.size());
  }

  bool FlushLocked() {
    if (outFailure == 0 && !out.empty()) outFailure = WriteAll(1, out.data(), out.size());
    out.clear();
    if (outFailure == 0) return true;
    errno = outFailure;
    return false;
  }

  // Refills the input buffer; false at the end of input or on failure.
  bool FillLocked() {
    if (inEnded) return false;
    posix::LeaveRawMode();
    char block[kStdinBlock];
    ssize_t n;
    for (;;) {
      n = ::read(0, block, sizeof block);
      if (n >= 0 || errno != EINTR) {
        if (n < 0 && errno == EAGAIN) {
          // A descriptor left non-blocking by someone else: wait for data
          // rather than report an end that is not there.
          struct pollfd p = {0, POLLIN, 0};
          ::poll(&p, 1, -1);
          continue;
        }
        break;
      }
    }
    if (n <= 0) {
      // A terminal delivers Ctrl+D as an empty read; later reads may give
      // more, so only a non-terminal input ends for good.
      if (!isatty(0)) inEnded = true;
      return false;
    }
    in.erase(0, inPos);
    inPos = 0;
    in.append(block, static_cast<size_t>(n));
    return true;
  }
};

ConsoleState& State() {
  static ConsoleState state;
  return state;
}

}  // namespace

void WriteStdout(std::string_view text) {
  ConsoleState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.out.append(text);
  if (s.out.size() >= kStdoutChunk) s.FlushLocked();
}

bool FlushStdout() {
  ConsoleState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.FlushLocked();
}

void WriteStderr(std::string_view text) {
  ConsoleState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  // Whatever the script printed before comes first on a shared terminal.
  s.FlushLocked();
  WriteAll(2, text.data(), text.size());
}

bool ReadStdinLine(std::string& line) {
  line.clear();
  ConsoleState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.FlushLocked();  // a prompt written before the read is seen first
  bool any = false;
  for (;;) {
    size_t lf = s.in.find('\n', s.inPos);
    if (lf != std::string::npos) {
      line.append(s.in, s.inPos, lf - s.inPos);
      s.inPos = lf + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    if (s.inPos < s.in.size()) any = true;
    line.append(s.in, s.inPos, std::string::npos);
    s.inPos = s.in.size();
    if (!s.FillLocked()) {
      // The last line without a line end still counts as a line.
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return any;
    }
  }
}

int ReadStdinByte() {
  ConsoleState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.inPos >= s.in.size() && !s.FillLocked()) return -1;
  return static_cast<unsigned char>(s.in[s.inPos++]);
}

bool StdinIsTerminal() { return isatty(0) == 1; }

}  // namespace zu::platform
