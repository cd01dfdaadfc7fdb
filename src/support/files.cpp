// Reading a whole text file and appending text to a file or to standard
// output, through the platform's file service.
#include "support/files.h"

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "support/errors.h"

namespace zu {
namespace {

constexpr size_t kReadBlock = 1024;
// End-of-file marks (code 26) are looked for within this many final bytes.
constexpr int64_t kEofMarkWindow = 128;
constexpr char kEofMark = 26;

// The runtime's input/output error for a platform error code.
[[noreturn]] void RaiseInOut(int code) {
  throw EFailure(kInOutError, platform::InOutErrorMessage(code));
}

// Drops the end-of-file marks (code 26) that end the file, looking at its
// last bytes only. A mark followed by any other byte is data (binary logs,
// UTF-16 text) and stays, as does everything after it.
// Returns false (the platform's last error set) when the file could not be read or cut.
bool DropTrailingEofMarks(platform::File& file) {
  const int64_t size = file.Seek(0, 2);
  if (size < 0) return false;
  const int64_t from = size > kEofMarkWindow ? size - kEofMarkWindow : 0;
  if (file.Seek(from, 0) < 0) return false;
  char tail[kEofMarkWindow];
  int64_t got = 0;
  while (got < size - from) {
    const long n = file.Read(tail + got, static_cast<size_t>(size - from - got));
    if (n < 0) return false;
    if (n == 0) break;
    got += n;
  }
  int64_t keep = got;
  while (keep > 0 && tail[keep - 1] == kEofMark) --keep;
  if (keep == got) return true;
  return file.Truncate(static_cast<uint64_t>(from + keep));
}

}  // namespace

std::string ReadTextFile(const std::string& fileName) {
  std::string text;
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::Read, platform::FileShare::ReadWrite,
                           platform::FileDisposition::OpenExisting);
  if (!file.IsOpen()) return text;
  char block[kReadBlock];
  for (;;) {
    long n = file.Read(block, kReadBlock);
    if (n <= 0) break;
    // Of each block only the bytes before its first NUL count.
    size_t used = 0;
    while (used < static_cast<size_t>(n) && block[used] != 0) ++used;
    text.append(block, used);
    if (static_cast<size_t>(n) < kReadBlock) break;
  }
  return text;
}

int ReadWholeFile(const std::string& fileName, std::string& text) {
  text.clear();
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::Read, platform::FileShare::ReadWrite,
                           platform::FileDisposition::OpenExisting, true);
  if (!file.IsOpen()) return platform::LastError();
  auto failed = [&text] {
    const int code = platform::LastError();
    text.clear();
    return code;
  };
  // The size the file states is read straight into the text; whatever
  // follows (a file that grew, or one without a size such as a pipe) comes
  // in blocks. No byte of the text is written twice.
  platform::FileInfo info;
  size_t stated = file.Info(info) ? static_cast<size_t>(info.Size) : 0;
  text.resize(stated);
  size_t got = 0;
  constexpr size_t kMostAtOnce = size_t{1} << 30;  // any system's single read takes this
  while (got < stated) {
    const long n = file.Read(text.data() + got, std::min(stated - got, kMostAtOnce));
    if (n < 0) return failed();
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  text.resize(got);
  if (got < stated) return 0;
  constexpr size_t kBlock = 16 * 1024;
  char block[kBlock];
  for (;;) {
    const long n = file.Read(block, kBlock);
    if (n < 0) return failed();
    if (n == 0) return 0;
    text.append(block, static_cast<size_t>(n));
  }
}

void AppendText(const std::string& fileName, std::string_view text) {
  if (fileName.empty()) {
    // Standard output fails like a file: a full disk or a closed pipe is an
    // input/output error, never text silently lost.
    platform::WriteStdout(text);
    if (!platform::FlushStdout()) RaiseInOut(platform::LastError());
    return;
  }
  bool existed = platform::FileExists(fileName);
  platform::File file =
      platform::File::Open(fileName, platform::FileAccess::ReadWrite, platform::FileShare::Read,
                           platform::FileDisposition::OpenAlways);
  bool readable = true;
  if (!file.IsOpen() &&
      platform::LastError() == platform::ErrorCode(platform::ErrorKind::AccessDenied)) {
    // A file we may write but not read: append without looking for the mark.
    file = platform::File::Open(fileName, platform::FileAccess::Write, platform::FileShare::Read,
                                platform::FileDisposition::OpenAlways);
    readable = false;
  }
  if (!file.IsOpen()) RaiseInOut(platform::LastError());
  if (existed && readable && !DropTrailingEofMarks(file)) {
    int code = platform::LastError();
    file.Close();
    RaiseInOut(code);
  }
  if (file.Seek(0, 2) < 0 ||
      (!text.empty() && file.Write(text.data(), text.size()) != static_cast<long>(text.size()))) {
    int code = platform::LastError();
    file.Close();
    RaiseInOut(code);
  }
  if (!file.Close()) RaiseInOut(platform::LastError());
}

}  // namespace zu
