// Files: open with Win32-style dispositions on a descriptor, read, write,
// seek and information; existence tests, deletion, directory creation and
// the local-time conversion of file times.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "platform/posix/file_status.h"

namespace zu::platform {

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

File File::Open(const std::string& path, FileAccess access, FileShare /*share*/,
                FileDisposition disposition, bool sequential) {
  // Sharing modes have no POSIX counterpart; they are accepted and not
  // enforced. O_CLOEXEC keeps the descriptor out of started programs.
  int flags = O_CLOEXEC;
  switch (access) {
    case FileAccess::Read:
      flags |= O_RDONLY;
      break;
    case FileAccess::Write:
      flags |= O_WRONLY;
      break;
    case FileAccess::ReadWrite:
      flags |= O_RDWR;
      break;
  }
  switch (disposition) {
    case FileDisposition::OpenExisting:
      break;
    case FileDisposition::CreateAlways:
      flags |= O_CREAT | O_TRUNC;
      break;
    case FileDisposition::OpenAlways:
      flags |= O_CREAT;
      break;
  }
  File file;
  if (path.empty()) {
    errno = ENOENT;
    return file;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return file;
  // Windows refuses to open a directory as a file; so do we, instead of
  // handing out a descriptor every read of which fails.
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return file;
  }
  if (sequential) posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  file.handle_ = fd;
  return file;
}

long File::Read(void* buffer, size_t size) {
  if (handle_ < 0) {
    errno = EBADF;
    return -1;
  }
  ssize_t n;
  do {
    n = ::read(static_cast<int>(handle_), buffer, size);
  } while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

long File::Write(const void* buffer, size_t size) {
  if (handle_ < 0) {
    errno = EBADF;
    return -1;
  }
  // A write to a file completes in full on Windows; loop over short writes.
  const char* p = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(static_cast<int>(handle_), p + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) {
      errno = ENOSPC;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<long>(done);
}

int64_t File::Seek(int64_t offset, int origin) {
  if (handle_ < 0) {
    errno = EBADF;
    return -1;
  }
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
  if (whence < 0) {
    errno = EINVAL;
    return -1;
  }
  off_t pos = ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
  return static_cast<int64_t>(pos);
}

bool File::Truncate(uint64_t size) {
  if (handle_ < 0) {
    errno = EBADF;
    return false;
  }
  int rc;
  do {
    rc = ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size));
  } while (rc != 0 && errno == EINTR);
  return rc == 0;
}

bool File::Info(FileInfo& info) const {
  if (handle_ < 0) {
    errno = EBADF;
    return false;
  }
  return posix::StatDescriptor(static_cast<int>(handle_), info);
}

bool File::Close() {
  if (handle_ < 0) return true;
  int fd = static_cast<int>(handle_);
  handle_ = -1;
  // Linux releases the descriptor even when close reports EINTR; never retry.
  return ::close(fd) == 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) {
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  return ::unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) {
    errno = ENOENT;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CreateDirectories(const std::string& path) {
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  // Each prefix ending before a '/' is made in turn; existing ones are fine.
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    std::string part = path.substr(0, i);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  if (!DirectoryExists(path)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

CalendarTime FileTimeToLocal(const FileTime& t) {
  CalendarTime out;
  time_t seconds = static_cast<time_t>(t.Seconds);
  tzset();  // pick up a TZ changed since the last conversion
  struct tm tm {};
  if (localtime_r(&seconds, &tm) == nullptr) return out;
  out.Year = tm.tm_year + 1900;
  out.Month = tm.tm_mon + 1;
  out.Day = tm.tm_mday;
  out.Hour = tm.tm_hour;
  out.Minute = tm.tm_min;
  out.Second = tm.tm_sec;
  out.Millisecond = t.Nanoseconds / 1000000;
  out.DayOfWeek = tm.tm_wday;
  return out;
}

}  // namespace zu::platform
