// File information from statx: size, Win32-style attributes and the three
// times. The creation time is the birth time where the file system records
// one, else the status-change time.
#include "platform/posix/file_status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zu::platform::posix {
namespace {

FileTime ToFileTime(const struct statx_timestamp& t) {
  FileTime out;
  out.Seconds = t.tv_sec;
  out.Nanoseconds = static_cast<int32_t>(t.tv_nsec);
  return out;
}

// Whether the effective user may write the file by its permission bits; root
// may write everything. Windows' read-only bit is the nearest equivalent.
bool UserMayWrite(const struct statx& st) {
  uid_t uid = geteuid();
  if (uid == 0) return true;
  if (st.stx_uid == uid) return (st.stx_mode & S_IWUSR) != 0;
  if (st.stx_gid == getegid()) return (st.stx_mode & S_IWGRP) != 0;
  gid_t groups[256];
  int count = getgroups(256, groups);
  for (int i = 0; i < count; ++i) {
    if (groups[i] == st.stx_gid) return (st.stx_mode & S_IWGRP) != 0;
  }
  return (st.stx_mode & S_IWOTH) != 0;
}

void Fill(const struct statx& st, FileInfo& info) {
  info.Size = st.stx_size;
  info.Attributes = S_ISDIR(st.stx_mode) ? kAttrDirectory : kAttrArchive;
  if (!UserMayWrite(st)) info.Attributes |= kAttrReadOnly;
  info.LastAccess = ToFileTime(st.stx_atime);
  info.LastWrite = ToFileTime(st.stx_mtime);
  info.Creation =
      (st.stx_mask & STATX_BTIME) != 0 ? ToFileTime(st.stx_btime) : ToFileTime(st.stx_ctime);
}

}  // namespace

bool StatAt(int dirFd, const char* path, FileInfo& info) {
  struct statx st {};
  if (statx(dirFd, path, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) {
    return false;
  }
  Fill(st, info);
  return true;
}

bool StatDescriptor(int fd, FileInfo& info) {
  struct statx st {};
  if (statx(fd, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &st) !=
      0) {
    return false;
  }
  Fill(st, info);
  return true;
}

}  // namespace zu::platform::posix
