// Directory listing: every entry of one directory except "." and "..", with
// Win32-style attributes (16 directory / 32 other, +1 not writable by the
// user, +2 name starting with ".") and the three file times.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/posix/file_status.h"

namespace zu::platform {
namespace {

DIR* AsDir(void* p) { return static_cast<DIR*>(p); }

// Whether the effective user may write the entry, by the kernel's own rules
// (ACLs and read-only mounts included).
bool MayWrite(int dirFd, const char* name) { return faccessat(dirFd, name, W_OK, AT_EACCESS) == 0; }

}  // namespace

DirSearch::~DirSearch() { Close(); }

DirSearch::DirSearch(DirSearch&& other) noexcept : dir_(other.dir_), path_(std::move(other.path_)) {
  other.dir_ = nullptr;
}

DirSearch& DirSearch::operator=(DirSearch&& other) noexcept {
  if (this != &other) {
    Close();
    dir_ = other.dir_;
    path_ = std::move(other.path_);
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
    int dirFd = dirfd(d);
    if (posix::StatAt(dirFd, e->d_name, info)) {
      entry.Size = info.Size;
      entry.Creation = info.Creation;
      entry.LastAccess = info.LastAccess;
      entry.LastWrite = info.LastWrite;
      entry.Attributes = info.Attributes & kAttrDirectory ? kAttrDirectory : kAttrArchive;
    } else {
      // A dangling link or an entry removed meanwhile is still listed.
      entry.Attributes = e->d_type == DT_DIR ? kAttrDirectory : kAttrArchive;
    }
    if (!MayWrite(dirFd, e->d_name)) entry.Attributes |= kAttrReadOnly;
    if (e->d_name[0] == '.') entry.Attributes |= kAttrHidden;
    return true;
  }
}

}  // namespace zu::platform
