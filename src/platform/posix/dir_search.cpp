// Directory listing: every entry of one directory except "." and "..", with
// Win32-style attributes (16 directory / 32 other, +1 not writable by the
// user, +2 name starting with ".") and the three file times. The directory
// is read whole when the search starts and listed in the order Windows' own
// file system lists one (by name, letter case ignored), so that a walk is
// the same on every run and on both systems.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/file_status.h"

namespace zu::platform {
namespace {

// The state behind DirSearch::dir_: the entries read, and the next to give.
struct Listing {
  std::vector<DirEntry> entries;
  size_t next = 0;
};

Listing* AsListing(void* p) { return static_cast<Listing*>(p); }

// Whether the effective user may write the entry, by the kernel's own rules
// (ACLs and read-only mounts included).
bool MayWrite(int dirFd, const char* name) { return faccessat(dirFd, name, W_OK, AT_EACCESS) == 0; }

// Names compared by their upper-cased bytes, bytes deciding between names
// that differ only in case. Kept free of the locale's collation.
bool EntryBefore(const DirEntry& a, const DirEntry& b) {
  size_t n = std::min(a.Name.size(), b.Name.size());
  for (size_t k = 0; k < n; ++k) {
    unsigned char ca = UpperChar(static_cast<unsigned char>(a.Name[k]));
    unsigned char cb = UpperChar(static_cast<unsigned char>(b.Name[k]));
    if (ca != cb) return ca < cb;
  }
  if (a.Name.size() != b.Name.size()) return a.Name.size() < b.Name.size();
  return a.Name < b.Name;
}

// One entry of an open directory, or false (errno set) at its end.
bool ReadEntry(DIR* d, DirEntry& entry) {
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
  delete AsListing(dir_);
  dir_ = nullptr;
}

bool DirSearch::Start(const std::string& dir, DirEntry& first) {
  Close();
  path_ = dir.empty() ? std::string(".") : dir;
  DIR* d = opendir(path_.c_str());
  if (d == nullptr) return false;
  auto listing = std::make_unique<Listing>();
  DirEntry entry;
  while (ReadEntry(d, entry)) listing->entries.push_back(std::move(entry));
  // A read that fails half way lists what it got.
  closedir(d);
  std::sort(listing->entries.begin(), listing->entries.end(), EntryBefore);
  dir_ = listing.release();
  if (!Next(first)) {
    Close();
    // An empty directory answers like a search that found nothing.
    errno = ENOENT;
    return false;
  }
  return true;
}

bool DirSearch::Next(DirEntry& entry) {
  Listing* listing = AsListing(dir_);
  if (listing == nullptr) {
    errno = EBADF;
    return false;
  }
  if (listing->next >= listing->entries.size()) {
    // Windows reports the end of a listing as "no more files" (18).
    errno = ENOENT;
    return false;
  }
  entry = std::move(listing->entries[listing->next++]);
  return true;
}

}  // namespace zu::platform
