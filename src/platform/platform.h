// The platform layer: every operating-system service the system uses, in the
// system's own terms. posix/ implements it now, win32/ will sit beside it;
// nothing outside src/platform includes an OS header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_names.h"

namespace zu::platform {

// ---------------------------------------------------------------- errors
// The platform's last error code of the calling thread (errno on POSIX,
// GetLastError() on Windows); a missing file is 2 on both.
int LastError();
void SetLastError(int code);

// Failures that callers detect themselves before the platform is asked, and
// the code each has in the platform's own numbering.
enum class ErrorKind {
  FileNotFound,     // ENOENT; ERROR_FILE_NOT_FOUND
  AccessDenied,     // EACCES; ERROR_ACCESS_DENIED
  IsDirectory,      // a directory opened as a file: EISDIR; ERROR_ACCESS_DENIED
  InvalidArgument,  // EINVAL; ERROR_INVALID_PARAMETER
  Overflow,         // a value beyond its range: EOVERFLOW; ERROR_ARITHMETIC_OVERFLOW
  BrokenPipe,       // the reader of a pipe has gone: EPIPE; ERROR_NO_DATA (232)
};
int ErrorCode(ErrorKind kind);
// The message of the runtime's input/output error for a platform error code:
// "File not found", "Invalid filename", "Too many open files", "File access
// denied", "Disk full", or "I/O error CODE" for any other code.
std::string InOutErrorMessage(int code);

// ---------------------------------------------------------------- system
enum class SystemFamily { Posix, Windows };
// The kind of system this build is for; the host's command-line conventions
// follow it.
SystemFamily ThisSystem();

// The values of the running program's version resource; each empty when
// missing (always on POSIX, where a program has no such resource).
struct VersionValues {
  std::string ProductName;
  std::string ProductVersion;
  std::string LegalCopyright;
};
VersionValues ProgramVersionValues();

// ---------------------------------------------------------------- paths
// PathSeparator, IsPathDelimiter and the path splitters: platform/path_names.h.
// Directory of the running executable (links resolved), with a trailing separator.
std::string ProgramDirectory();
// Full path of the running executable.
std::string ProgramPath();
// The "Windows directory" of zus.bat: $XDG_DATA_HOME/zus/ on POSIX (default
// ~/.local/share/zus/), with a trailing separator; empty when unknown.
std::string WindowsDirectory();

// ---------------------------------------------------------------- files
enum class FileAccess { Read, Write, ReadWrite };
// Sharing granted to others; accepted and not enforced on POSIX.
enum class FileShare { None, Read, Write, ReadWrite };
enum class FileDisposition {
  OpenExisting,  // fails with code 2 on a missing file
  CreateAlways,  // creates or truncates
  OpenAlways,    // opens, or creates when missing (no truncation)
};

// A moment as the file system records it: UTC.
struct FileTime {
  int64_t Seconds = 0;      // since 1970-01-01 00:00 UTC
  int32_t Nanoseconds = 0;  // 0 .. 999999999
};

// Calendar fields of a moment. DayOfWeek: 0 Sunday .. 6 Saturday.
struct CalendarTime {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  int DayOfWeek = 0;
};

// Attribute bits as Win32 reports them.
inline constexpr uint32_t kAttrReadOnly = 1;
inline constexpr uint32_t kAttrHidden = 2;
inline constexpr uint32_t kAttrDirectory = 16;
inline constexpr uint32_t kAttrArchive = 32;
// A symbolic link (a reparse point on Windows). It carries the kind of what
// it points to; a recursive search never descends into it.
inline constexpr uint32_t kAttrReparsePoint = 1024;

struct FileInfo {
  uint64_t Size = 0;
  uint32_t Attributes = 0;
  FileTime Creation, LastAccess, LastWrite;
};

// An open file; move-only, closed by the destructor. A failed Open gives a
// closed object and sets LastError().
class File {
 public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  static File Open(const std::string& path, FileAccess access, FileShare share,
                   FileDisposition disposition, bool sequential = false);
  bool IsOpen() const { return handle_ >= 0; }
  // The descriptor (POSIX) that stands for the Win32 handle; -1 when closed.
  intptr_t Handle() const { return handle_; }

  // Bytes read (0 at the end of the file), or -1 on failure.
  long Read(void* buffer, size_t size);
  // Bytes written, or -1 on failure.
  long Write(const void* buffer, size_t size);
  // origin 0 from the start, 1 from the current position, 2 from the end;
  // the new position, or -1 on failure.
  int64_t Seek(int64_t offset, int origin);
  bool Truncate(uint64_t size);
  bool Info(FileInfo& info) const;
  // Closes the file; false when the close reported a failure.
  bool Close();

 private:
  intptr_t handle_ = -1;
};

// True when a file (not a directory) of that name exists.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Deletes a file; false (LastError set) when it could not.
bool RemoveFile(const std::string& path);
// Renames a file in one step, replacing an existing target (rename on
// POSIX, MoveFileEx with MOVEFILE_REPLACE_EXISTING on Windows); readers see
// the old file or the new one, never a part. False (LastError set) on failure.
bool RenameFile(const std::string& from, const std::string& to);
// Creates a directory and its parents; false on failure.
bool CreateDirectories(const std::string& path);
// UTC file time converted to local calendar fields (TZ honoured).
CalendarTime FileTimeToLocal(const FileTime& t);

// ---------------------------------------------------------------- directories
// One entry of a directory listing. A symbolic link has kAttrReparsePoint
// beside the kind of what it points to, and that target's size and times; a
// link that points nowhere is a file with the link's own data.
// An entry may come with its name and kind alone (Described false: the
// attributes hold kAttrDirectory or kAttrArchive, kAttrHidden and
// kAttrReparsePoint, but not kAttrReadOnly, and neither size nor times);
// DirSearch::Describe completes it.
struct DirEntry {
  std::string Name;
  uint32_t Attributes = 0;  // kAttrDirectory, else kAttrArchive; +ReadOnly, +Hidden, +ReparsePoint
  uint64_t Size = 0;
  FileTime Creation, LastAccess, LastWrite;
  bool Described = true;
};

// A listing of every entry of one directory ("*.*" without "." and ".."), in
// the system's own order: FindFirstFileA/FindNextFileA on Windows; on POSIX
// by name with letter case ignored, as Windows file systems list, each entry
// described by one statx. Move-only; closed by the destructor.
class DirSearch {
 public:
  DirSearch() = default;
  ~DirSearch();
  DirSearch(DirSearch&& other) noexcept;
  DirSearch& operator=(DirSearch&& other) noexcept;
  DirSearch(const DirSearch&) = delete;
  DirSearch& operator=(const DirSearch&) = delete;

  // Opens dir ("" is the current directory; a trailing separator is allowed)
  // and reads its first entry. False when the directory cannot be read or is
  // empty (the search is then closed).
  bool Start(const std::string& dir, DirEntry& first);
  // The next entry; false at the end.
  bool Next(DirEntry& entry);
  // Completes an entry this search gave, while the search is still open
  // (POSIX asks for the status of an entry only here, so that entries a
  // caller passes over cost no system call); a described entry is left as
  // it is.
  void Describe(DirEntry& entry);
  bool IsOpen() const;
  void Close();

 private:
  void* dir_ = nullptr;
  std::string path_;
};

// ---------------------------------------------------------------- console
// Standard output, written through this layer so it interleaves with the
// output of started programs; Flush after every output statement.
void WriteStdout(std::string_view text);
// Writes what is buffered. False (LastError set) when standard output
// cannot be written, now or at any earlier flush: the first failure sticks,
// and output after it is dropped. A reader that closed its end of a pipe
// gives ErrorCode(ErrorKind::BrokenPipe).
bool FlushStdout();
void WriteStderr(std::string_view text);
// One line of standard input up to LF, a CR right before it dropped. False at
// the end of input (line then empty). Never raises.
bool ReadStdinLine(std::string& line);
// One byte of standard input, -1 at the end or on failure (blocking).
int ReadStdinByte();
bool StdinIsTerminal();

// A console input record as Win32 defines it; EventType 1 is a key event.
struct InputRecord {
  uint16_t EventType = 0;
  bool KeyDown = false;
  uint16_t RepeatCount = 0;
  uint16_t VirtualKeyCode = 0;
  uint16_t VirtualScanCode = 0;
  char AsciiChar = 0;
  uint32_t ControlKeyState = 0;
};

// The console input queue of standard input. On POSIX each byte or escape
// sequence read from the terminal (raw, non-blocking; the mode is restored
// on every exit) becomes a key-down record and a synthesized key-up record.
// The state behind these calls (the terminal's mode, the handlers that
// restore it, the queue) is process-wide and exists once: the program's. This
// layer is linked into extension modules too, and there the calls reach the
// program's copy (its export ZuProcessConsole), so a module never changes
// the terminal or installs a handler that would outlive its unloading.
// Handle: the standard input handle, -1 when there is none.
intptr_t StdInputHandle();
// Number of pending events, or -1 when standard input is no console.
int PendingConsoleEvents();
// Takes one record; false when none could be read.
bool ReadConsoleEvent(InputRecord& record);
// Discards pending input; false when standard input is no console.
bool FlushConsoleInput();

// ---------------------------------------------------------------- libraries
// The codes a failed load or lookup leaves in LastError(): the Windows
// loader's, on every platform, so messages and documentation read the same.
inline constexpr int kLibraryAccessDenied = 5;    // unreadable file, or a directory
inline constexpr int kLibraryNotFound = 126;      // no such file, or a library it needs is missing
inline constexpr int kLibraryEntryMissing = 127;  // an export, or a symbol it imports, is missing
inline constexpr int kLibraryBadFormat = 193;     // not a loadable library for this machine

// A loaded dynamic library; move-only, unloaded by Free or the destructor.
class Library {
 public:
  Library() = default;
  ~Library();
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Loads a library by path; a name without directory is looked for beside
  // the program, then in the current directory, then by the system's own
  // search. The file is checked before it is mapped (headers, and every
  // segment within the file), so a truncated, corrupt or foreign file fails
  // with kLibraryBadFormat instead of crashing the process. Failure: a
  // not-loaded object and LastError() one of the kLibrary codes.
  static Library Load(const std::string& path);
  bool IsLoaded() const { return handle_ != nullptr; }
  // Address of an export; nullptr with LastError() kLibraryEntryMissing when
  // missing.
  void* Symbol(const char* name) const;
  void Free();

 private:
  void* handle_ = nullptr;
};

// ---------------------------------------------------------------- registry
// Keys under HKEY_CLASSES_ROOT, paths with '\\' between key names. On POSIX a
// file-backed store under $XDG_DATA_HOME/zus/registry: a key is a directory,
// its default value the file "@" inside it. Results: 0 or an error code.
int RegistryCreateKey(const std::string& path);
int RegistryOpenKey(const std::string& path);
int RegistrySetDefaultValue(const std::string& path, const std::string& value);
// Name of subkey number index (0-based, at most 255 characters); non-zero
// when there is none.
int RegistryEnumKey(const std::string& path, uint32_t index, std::string& name);
// Deletes a key that has no subkeys.
int RegistryDeleteKey(const std::string& path);
// Reads the default value (for tests and diagnostics).
int RegistryGetDefaultValue(const std::string& path, std::string& value);

// ---------------------------------------------------------------- processes
// A started program; Wait blocks until it ends. Move-only.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool IsStarted() const { return handle_ != 0; }
  // Waits until the program ends; its exit code, -1 when unknown.
  int Wait();

 private:
  friend Process StartProcess(const std::string&, const std::string&);
  // The process id on POSIX, the process handle on Windows; 0 when none.
  intptr_t handle_ = 0;
};
// Starts file the way the shell's default verb does (ShellExecuteExA on
// Windows), keeping the process. On POSIX the parameter text is split by the
// Windows command-line rules, an executable or a name on PATH runs directly
// and any other existing file goes to xdg-open; no shell is involved. A
// failed start gives a not-started Process.
Process StartProcess(const std::string& file, const std::string& parameters);
// Splits a parameter text into arguments by the Windows command-line rules:
// blanks separate, double quotes group ("" inside quotes is a quote), 2n
// backslashes before a quote give n and the quote groups, 2n+1 give n and a
// literal quote; other backslashes are kept.
std::vector<std::string> SplitCommandLine(const std::string& text);

// The id of this process (getpid, GetCurrentProcessId): names of temporary
// files that concurrent runs must not share.
uint32_t CurrentProcessId();

// ---------------------------------------------------------------- clocks, alerts, threads
// Sleeps; 0xFFFFFFFF waits forever.
void Sleep(uint32_t milliseconds);
// The default message sound (BEL to the controlling terminal on POSIX).
void Beep();
// An error message box; on POSIX one line "CAPTION: TEXT" on standard error.
void ShowMessage(const std::string& caption, const std::string& text);
CalendarTime LocalNow();
CalendarTime UtcNow();
// Runs fn(context) on a thread whose stack has the given size and waits for
// it; an exception fn throws is thrown again here.
void RunWithStack(size_t stackBytes, void (*fn)(const void*), const void* context);
// The same for any callable (a lambda).
template <class Fn>
void RunWithStack(size_t stackBytes, const Fn& fn) {
  RunWithStack(
      stackBytes, [](const void* context) { (*static_cast<const Fn*>(context))(); }, &fn);
}

// ---------------------------------------------------------------- locale
// Locale values, read once at start (US English in the C locale).
struct LocaleValues {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortMonthNames[12];
  std::string LongMonthNames[12];
  std::string ShortDayNames[7];  // [0] Sunday
  std::string LongDayNames[7];   // [0] Sunday
};
const LocaleValues& Locale();

// Case mapping of the 8-bit code page (A-Z/a-z always; bytes above 127 by a
// single-byte locale charset, unchanged under UTF-8).
unsigned char UpperChar(unsigned char c);
unsigned char LowerChar(unsigned char c);
std::string UpperText(std::string_view s);
std::string LowerText(std::string_view s);
// Locale-aware case-insensitive comparison: <0, 0, >0.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);

// ---------------------------------------------------------------- coercion
// The variant coercion service (VariantChangeTypeEx, user default locale,
// flags 0). Kind codes: 0 Empty, 3 Integer, 5 Float, 7 DateTime, 11 Boolean,
// 256 Text (the 8-bit text crosses as such).
struct Variant {
  uint16_t Kind = 0;
  int32_t Int = 0;    // Integer
  double Double = 0;  // Float, DateTime
  int16_t Bool = 0;   // Boolean: -1 true, 0 false
  std::string Text;   // Text
};
// Converts src to the target kind; false when the service fails.
bool ChangeType(const Variant& src, uint16_t targetKind, Variant& dst);

}  // namespace zu::platform
