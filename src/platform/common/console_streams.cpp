// Standard output, standard error and line input over the platform's raw
// handles. Output is collected in one buffer and written by FlushStdout,
// which the executor calls after every output statement, so that it
// interleaves with started programs; input is read ahead in blocks.
#include "platform/common/console_streams.h"

#include <mutex>
#include <string>

#include "platform/platform.h"

namespace zu::platform {
namespace {

// Output collected beyond this many bytes is written at once, so a long
// statement never holds unbounded text.
constexpr size_t kStdoutChunk = 64 * 1024;
constexpr size_t kStdinBlock = 4096;

// Process-wide console state: the output buffer and the read-ahead of
// standard input. The engine may run on a second thread (RunWithStack), so
// access is serialised.
struct ConsoleState {
  std::mutex lock;
  std::string out;
  std::string in;
  size_t inPos = 0;
  bool inEnded = false;
  // The code of the first failed write to standard output, 0 while none
  // failed. A failure sticks: later output is dropped and every flush
  // reports it, so that no caller mistakes lost text for written text.
  int outFailure = 0;

  ~ConsoleState() {
    // Output still buffered at process exit is not lost.
    if (outFailure == 0) streams::WriteAll(streams::Stream::Output, out.data(), out.size());
  }

  bool FlushLocked() {
    if (outFailure == 0 && !out.empty())
      outFailure = streams::WriteAll(streams::Stream::Output, out.data(), out.size());
    out.clear();
    if (outFailure == 0) return true;
    SetLastError(outFailure);
    return false;
  }

  // Refills the input buffer; false at the end of input or on failure.
  bool FillLocked() {
    if (inEnded) return false;
    char block[kStdinBlock];
    const size_t n = streams::ReadBlock(block, sizeof block);
    if (n == 0) {
      // A terminal or console delivers its end-of-input key as an empty
      // read and may give more later; a file or pipe has ended for good.
      if (!StdinIsTerminal()) inEnded = true;
      return false;
    }
    in.erase(0, inPos);
    inPos = 0;
    in.append(block, n);
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
  streams::WriteAll(streams::Stream::Error, text.data(), text.size());
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

}  // namespace zu::platform
