// Standard output, standard error and line input through the standard
// handles (GetStdHandle, WriteFile, ReadFile). Output is collected and
// written by FlushStdout, which the executor calls after every output
// statement, so that it interleaves with started programs.
#include <mutex>
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

// Output collected beyond this many bytes is written at once.
constexpr size_t kStdoutChunk = 64 * 1024;
constexpr DWORD kStdinBlock = 4096;

// Writes everything; 0, or the error of the failed write. A process started
// without that handle has nowhere to write to, which is no failure.
DWORD WriteAll(DWORD which, const char* data, size_t size) {
  HANDLE h = ::GetStdHandle(which);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return 0;
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(size < 0x10000000u ? size : 0x10000000u);
    DWORD written = 0;
    if (!::WriteFile(h, data, chunk, &written, nullptr)) {
      // A pipe whose reader has gone answers either; callers see one.
      const DWORD error = ::GetLastError();
      return error == ERROR_BROKEN_PIPE ? ERROR_NO_DATA : error;
    }
    if (written == 0) return ERROR_DISK_FULL;
    data += written;
    size -= written;
  }
  return 0;
}

// Process-wide console state: the output buffer and the read-ahead of
// standard input. The engine runs on a second thread (RunWithStack), so
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
  DWORD outFailure = 0;

  ~ConsoleState() {
    // Output still buffered at process exit is not lost.
    if (outFailure == 0) WriteAll(STD_OUTPUT_HANDLE, out.data(), out.size());
  }

  bool FlushLocked() {
    if (outFailure == 0 && !out.empty())
      outFailure = WriteAll(STD_OUTPUT_HANDLE, out.data(), out.size());
    out.clear();
    if (outFailure == 0) return true;
    ::SetLastError(outFailure);
    return false;
  }

  // Refills the input buffer; false at the end of input or on failure.
  bool FillLocked() {
    if (inEnded) return false;
    HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
    char block[kStdinBlock];
    DWORD got = 0;
    if (h == nullptr || h == INVALID_HANDLE_VALUE ||
        !::ReadFile(h, block, sizeof block, &got, nullptr) || got == 0) {
      // A console delivers Ctrl+Z as an empty read and may give more later;
      // a file or pipe has ended for good.
      DWORD mode = 0;
      if (!::GetConsoleMode(h, &mode)) inEnded = true;
      return false;
    }
    in.erase(0, inPos);
    inPos = 0;
    in.append(block, got);
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
  // Whatever the script printed before comes first on a shared console.
  s.FlushLocked();
  WriteAll(STD_ERROR_HANDLE, text.data(), text.size());
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

bool StdinIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

}  // namespace zu::platform
