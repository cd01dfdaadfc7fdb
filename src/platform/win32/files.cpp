// Files through CreateFileA and its companions: open with access, sharing
// and disposition, read, write, seek, information; existence tests,
// deletion, directory creation and the local time of a file time.
#include <limits>
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {

namespace win32 {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;
constexpr int64_t kTicksPerSecond = 10000000;

FileTime ToFileTime(const FILETIME& ft) {
  const int64_t ticks =
      static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) -
      kEpochDifference;
  // Floor division, so moments before 1970 keep a positive fraction.
  int64_t seconds = ticks / kTicksPerSecond;
  int64_t rest = ticks % kTicksPerSecond;
  if (rest < 0) {
    rest += kTicksPerSecond;
    --seconds;
  }
  FileTime out;
  out.Seconds = seconds;
  out.Nanoseconds = static_cast<int32_t>(rest * 100);
  return out;
}

FILETIME ToWin32(const FileTime& t) {
  const uint64_t ticks =
      static_cast<uint64_t>(t.Seconds * kTicksPerSecond + t.Nanoseconds / 100 + kEpochDifference);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

}  // namespace win32

namespace {

DWORD AccessMask(FileAccess access) {
  switch (access) {
    case FileAccess::Read:
      return GENERIC_READ;
    case FileAccess::Write:
      return GENERIC_WRITE;
    case FileAccess::ReadWrite:
      return GENERIC_READ | GENERIC_WRITE;
  }
  return GENERIC_READ;
}

DWORD ShareMask(FileShare share) {
  switch (share) {
    case FileShare::None:
      return 0;
    case FileShare::Read:
      return FILE_SHARE_READ;
    case FileShare::Write:
      return FILE_SHARE_WRITE;
    case FileShare::ReadWrite:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
  return 0;
}

DWORD Disposition(FileDisposition disposition) {
  switch (disposition) {
    case FileDisposition::OpenExisting:
      return OPEN_EXISTING;
    case FileDisposition::CreateAlways:
      return CREATE_ALWAYS;
    case FileDisposition::OpenAlways:
      return OPEN_ALWAYS;
  }
  return OPEN_EXISTING;
}

// Attributes of a path; INVALID_FILE_ATTRIBUTES when there is nothing.
DWORD AttributesOf(const std::string& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesA(path.c_str());
}

}  // namespace

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

File File::Open(const std::string& path, FileAccess access, FileShare share,
                FileDisposition disposition, bool sequential) {
  File file;
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | (sequential ? FILE_FLAG_SEQUENTIAL_SCAN : 0);
  HANDLE h = ::CreateFileA(path.c_str(), AccessMask(access), ShareMask(share), nullptr,
                           Disposition(disposition), flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) return file;
  file.handle_ = win32::FromHandle(h);
  return file;
}

long File::Read(void* buffer, size_t size) {
  if (handle_ == -1) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  // One call reads at most what a long can count.
  const DWORD wanted =
      static_cast<DWORD>(size < static_cast<size_t>(std::numeric_limits<long>::max())
                             ? size
                             : std::numeric_limits<long>::max());
  DWORD got = 0;
  if (!::ReadFile(win32::ToHandle(handle_), buffer, wanted, &got, nullptr)) return -1;
  return static_cast<long>(got);
}

long File::Write(const void* buffer, size_t size) {
  if (handle_ == -1) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  const char* p = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < size) {
    const size_t rest = size - done;
    const DWORD chunk = static_cast<DWORD>(rest < 0x40000000u ? rest : 0x40000000u);
    DWORD written = 0;
    if (!::WriteFile(win32::ToHandle(handle_), p + done, chunk, &written, nullptr)) return -1;
    if (written == 0) {
      ::SetLastError(ERROR_DISK_FULL);
      return -1;
    }
    done += written;
  }
  return static_cast<long>(done);
}

int64_t File::Seek(int64_t offset, int origin) {
  if (handle_ == -1) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (origin < 0 || origin > 2) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER position;
  // FILE_BEGIN, FILE_CURRENT and FILE_END are 0, 1 and 2.
  if (!::SetFilePointerEx(win32::ToHandle(handle_), distance, &position,
                          static_cast<DWORD>(origin))) {
    return -1;
  }
  return position.QuadPart;
}

bool File::Truncate(uint64_t size) {
  // The file position stays where it was, as POSIX ftruncate leaves it.
  const int64_t here = Seek(0, 1);
  if (here < 0 || Seek(static_cast<int64_t>(size), 0) < 0) return false;
  const bool ok = ::SetEndOfFile(win32::ToHandle(handle_)) != 0;
  const DWORD code = ::GetLastError();
  Seek(here, 0);
  if (!ok) ::SetLastError(code);
  return ok;
}

bool File::Info(FileInfo& info) const {
  if (handle_ == -1) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION data;
  if (!::GetFileInformationByHandle(win32::ToHandle(handle_), &data)) return false;
  info.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  info.Attributes = data.dwFileAttributes;
  info.Creation = win32::ToFileTime(data.ftCreationTime);
  info.LastAccess = win32::ToFileTime(data.ftLastAccessTime);
  info.LastWrite = win32::ToFileTime(data.ftLastWriteTime);
  return true;
}

bool File::Close() {
  if (handle_ == -1) return true;
  HANDLE h = win32::ToHandle(handle_);
  handle_ = -1;
  return ::CloseHandle(h) != 0;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool CreateDirectories(const std::string& path) {
  if (path.empty()) {
    ::SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  // Each prefix that ends before a separator is made in turn; a drive
  // ("C:") or the start of a UNC name has nothing to make.
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (part.back() == ':' || part.back() == '\\' || part.back() == '/') continue;
    if (!::CreateDirectoryA(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS &&
        !DirectoryExists(part)) {
      return false;
    }
  }
  if (!DirectoryExists(path)) {
    ::SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  return true;
}

CalendarTime FileTimeToLocal(const FileTime& t) {
  const FILETIME utc = win32::ToWin32(t);
  FILETIME local;
  SYSTEMTIME st;
  CalendarTime out;
  // The conversion uses the time zone's current bias, as the system's own
  // file listings do.
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &st)) {
    return out;
  }
  return win32::FromSystemTime(st);
}

}  // namespace zu::platform
