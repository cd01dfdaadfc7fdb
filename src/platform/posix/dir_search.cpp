// Directory listing: every entry of one directory except "." and "..", with
// Win32-style attributes (16 directory / 32 other, +1 not writable by the
// user, +2 name starting with ".", +1024 symbolic link) and the three file
// times, from one statx per entry.
#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/posix/file_status.h"

namespace zu::platform {
namespace {

DIR* AsDir(void* p) { return static_cast<DIR*>(p); }

// The information of one entry. A symbolic link describes what it points to
// (the directory entry's type tells a link without a system call), a
// dangling one itself; anything else is asked for without following, which
// also tells a link on a file system that gives no types.
bool EntryInfo(int dirFd, const struct dirent* e, FileInfo& info, bool& link) {
  link = e->d_type == DT_LNK;
  if (!link) {
    if (!posix::StatAt(dirFd, e->d_name, info, false, &link)) return false;
    if (!link) return true;
  }
  FileInfo target;
  if (posix::StatAt(dirFd, e->d_name, target, true)) {
    info = target;
    return true;
  }
  return posix::StatAt(dirFd, e->d_name, info, false);
}

}  // namespace

DirSearch::~DirSearch() { Close(); }

DirSearch::DirSearch(DirSearch&& other) noexcept
    : dir_(other.dir_), path_(std::move(other.path_)), readOnlyVolume_(other.readOnlyVolume_) {
  other.dir_ = nullptr;
}

DirSearch& DirSearch::operator=(DirSearch&& other) noexcept {
  if (this != &other) {
    Close();
    dir_ = other.dir_;
    path_ = std::move(other.path_);
    readOnlyVolume_ = other.readOnlyVolume_;
    other.dir_ = nullptr;
  }
  return *this;
}

bool DirSearch::IsOpen() const { return dir_ != nullptr; }

void DirSearch::Close() {
  if (dir_ != nullptr) closedir(AsDir(dir_));
  dir_ = nullptr;
}

bool DirSearch::Start(const std::string& dir, DirEntry& first) {
  Close();
  path_ = dir.empty() ? std::string(".") : dir;
  DIR* d = opendir(path_.c_str());
  if (d == nullptr) return false;
  dir_ = d;
  // Nothing on a read-only mount may be written, whatever its mode bits say:
  // asked once for the whole directory.
  struct statvfs volume {};
  readOnlyVolume_ = fstatvfs(dirfd(d), &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
  if (!Next(first)) {
    int code = errno;
    Close();
    // An empty directory answers like a search that found nothing.
    errno = code != 0 ? code : ENOENT;
    return false;
  }
  return true;
}

bool DirSearch::Next(DirEntry& entry) {
  if (dir_ == nullptr) {
    errno = EBADF;
    return false;
  }
  DIR* d = AsDir(dir_);
  for (;;) {
    errno = 0;
    struct dirent* e = readdir(d);
    if (e == nullptr) {
      // Windows reports the end of a listing as "no more files" (18).
      if (errno == 0) errno = ENOENT;
      return false;
    }
    if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
    entry = DirEntry();
    entry.Name = e->d_name;
    FileInfo info;
    bool link = false;
    if (EntryInfo(dirfd(d), e, info, link)) {
      entry.Size = info.Size;
      entry.Creation = info.Creation;
      entry.LastAccess = info.LastAccess;
      entry.LastWrite = info.LastWrite;
      entry.Attributes = info.Attributes;
    } else {
      // An entry removed meanwhile is still listed.
      entry.Attributes = e->d_type == DT_DIR ? kAttrDirectory : kAttrArchive;
    }
    if (link) entry.Attributes |= kAttrReparsePoint;
    if (readOnlyVolume_) entry.Attributes |= kAttrReadOnly;
    if (e->d_name[0] == '.') entry.Attributes |= kAttrHidden;
    return true;
  }
}

}  // namespace zu::platform
