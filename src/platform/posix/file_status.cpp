// File information from statx: size, Win32-style attributes and the three
// times. The creation time is the birth time where the file system records
// one, else the status-change time.
#include "platform/posix/file_status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace zu::platform::posix {
namespace {

FileTime ToFileTime(const struct statx_timestamp& t) {
  FileTime out;
  out.Seconds = t.tv_sec;
  out.Nanoseconds = static_cast<int32_t>(t.tv_nsec);
  return out;
}

// The process's credentials, taken once: zus never changes them, and a
// directory walk asks for every entry.
struct Credentials {
  uid_t Uid;
  gid_t Gid;
  std::vector<gid_t> Groups;
};

const Credentials& ProcessCredentials() {
  static const Credentials credentials = [] {
    Credentials c{geteuid(), getegid(), {}};
    int count = getgroups(0, nullptr);
    if (count > 0) {
      c.Groups.resize(static_cast<size_t>(count));
      count = getgroups(count, c.Groups.data());
      c.Groups.resize(count > 0 ? static_cast<size_t>(count) : 0);
    }
    return c;
  }();
  return credentials;
}

// Whether the effective user may write the file by its permission bits; root
// may write everything. Windows' read-only bit is the nearest equivalent.
bool UserMayWrite(const struct statx& st) {
  const Credentials& c = ProcessCredentials();
  if (c.Uid == 0) return true;
  if (st.stx_uid == c.Uid) return (st.stx_mode & S_IWUSR) != 0;
  if (st.stx_gid == c.Gid) return (st.stx_mode & S_IWGRP) != 0;
  for (gid_t group : c.Groups) {
    if (group == st.stx_gid) return (st.stx_mode & S_IWGRP) != 0;
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

bool StatAt(int dirFd, const char* path, FileInfo& info, bool followLinks, bool* isLink) {
  struct statx st {};
  int flags = AT_STATX_SYNC_AS_STAT | (followLinks ? 0 : AT_SYMLINK_NOFOLLOW);
  if (statx(dirFd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) return false;
  Fill(st, info);
  if (isLink != nullptr) *isLink = S_ISLNK(st.stx_mode);
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
