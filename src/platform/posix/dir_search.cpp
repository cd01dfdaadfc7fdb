// Directory listing: every entry of one directory except "." and "..", with
// Win32-style attributes (16 directory / 32 other, +1 not writable, +2 name
// starting with ".", +1024 symbolic link) and the three file times, from one
// statx per entry, made when the entry is described. The directory is read
// whole when the search starts and listed in the order Windows' own file
// system lists one (by name, letter case ignored), so that a walk is the
// same on every run and on both systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/file_status.h"

namespace zu::platform {
namespace {

// The state behind DirSearch::dir_: the directory, kept open so that its
// entries can be described later, the entries read, and the next to give.
struct Listing {
  DIR* dir = nullptr;
  std::vector<DirEntry> entries;
  size_t next = 0;
  int readOnlyVolume = -1;  // -1 until asked

  Listing() = default;
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  ~Listing() {
    if (dir != nullptr) closedir(dir);
  }

  // Nothing on a read-only mount may be written, whatever its mode bits
  // say: asked once for the whole directory, and only when needed.
  bool ReadOnlyVolume() {
    if (readOnlyVolume < 0) {
      struct statvfs volume {};
      readOnlyVolume = fstatvfs(dirfd(dir), &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
    }
    return readOnlyVolume > 0;
  }
};

Listing* AsListing(void* p) { return static_cast<Listing*>(p); }

// The information of one entry. A symbolic link describes what it points to
// (the directory entry's type tells a link without a system call), a
// dangling one itself; anything else is asked for without following, which
// also tells a link on a file system that gives no types.
bool EntryInfo(int dirFd, const char* name, FileInfo& info, bool& link) {
  if (!link) {
    if (!posix::StatAt(dirFd, name, info, false, &link)) return false;
    if (!link) return true;
  }
  FileInfo target;
  if (posix::StatAt(dirFd, name, target, true)) {
    info = target;
    return true;
  }
  return posix::StatAt(dirFd, name, info, false);
}

// Completes an entry with its statx. An entry removed meanwhile keeps the
// kind its directory entry gave.
void Describe(Listing& listing, DirEntry& entry) {
  FileInfo info;
  bool link = (entry.Attributes & kAttrReparsePoint) != 0;
  if (EntryInfo(dirfd(listing.dir), entry.Name.c_str(), info, link)) {
    entry.Size = info.Size;
    entry.Creation = info.Creation;
    entry.LastAccess = info.LastAccess;
    entry.LastWrite = info.LastWrite;
    entry.Attributes = info.Attributes;
  }
  if (link) entry.Attributes |= kAttrReparsePoint;
  if (listing.ReadOnlyVolume()) entry.Attributes |= kAttrReadOnly;
  if (entry.Name[0] == '.') entry.Attributes |= kAttrHidden;
  entry.Described = true;
}

// One entry of the open directory, or false (errno set) at its end. The
// kind comes from the directory entry's type, and the statx waits until the
// entry is described: a walk passes over most files without looking at
// them. A link (which takes the kind of its target) and an entry of unknown
// type are described at once.
bool ReadEntry(Listing& listing, DirEntry& entry) {
  for (;;) {
    errno = 0;
    struct dirent* e = readdir(listing.dir);
    if (e == nullptr) {
      // Windows reports the end of a listing as "no more files" (18).
      if (errno == 0) errno = ENOENT;
      return false;
    }
    if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
    entry = DirEntry();
    entry.Name = e->d_name;
    entry.Attributes = e->d_type == DT_DIR ? kAttrDirectory : kAttrArchive;
    if (e->d_type == DT_LNK) entry.Attributes |= kAttrReparsePoint;
    if (e->d_name[0] == '.') entry.Attributes |= kAttrHidden;
    entry.Described = false;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      Describe(listing, entry);
    }
    return true;
  }
}

// Case-insensitive name order, the bytes deciding between names that differ
// only in case; the locale's collation plays no part. Each name is
// upper-cased once, not at every comparison of the sort.
void SortByName(std::vector<DirEntry>& entries) {
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const DirEntry& entry : entries) keys.push_back(UpperText(entry.Name));
  std::vector<uint32_t> order(entries.size());
  for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    int byKey = keys[a].compare(keys[b]);
    return byKey != 0 ? byKey < 0 : entries[a].Name < entries[b].Name;
  });
  std::vector<DirEntry> sorted;
  sorted.reserve(entries.size());
  for (uint32_t k : order) sorted.push_back(std::move(entries[k]));
  entries.swap(sorted);
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
  auto listing = std::make_unique<Listing>();
  listing->dir = opendir(path_.c_str());
  if (listing->dir == nullptr) return false;
  DirEntry entry;
  while (ReadEntry(*listing, entry)) listing->entries.push_back(std::move(entry));
  // A read that fails half way lists what it got.
  const int code = errno;
  SortByName(listing->entries);
  dir_ = listing.release();
  if (!Next(first)) {
    Close();
    // An empty directory answers like a search that found nothing.
    errno = code != 0 ? code : ENOENT;
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

void DirSearch::Describe(DirEntry& entry) {
  Listing* listing = AsListing(dir_);
  if (entry.Described || listing == nullptr) return;
  zu::platform::Describe(*listing, entry);
}

}  // namespace zu::platform
