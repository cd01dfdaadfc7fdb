// Directory listing with FindFirstFileA/FindNextFileA over "*.*", in the
// system's own order, without "." and ".."; attributes and times as the
// system reports them.
#include <cstring>
#include <string>

#include "platform/path_names.h"
#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

bool IsDotEntry(const char* name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

void Fill(const WIN32_FIND_DATAA& data, DirEntry& entry) {
  entry = DirEntry();
  entry.Name = data.cFileName;
  entry.Attributes = data.dwFileAttributes;
  entry.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.Creation = win32::ToFileTime(data.ftCreationTime);
  entry.LastAccess = win32::ToFileTime(data.ftLastAccessTime);
  entry.LastWrite = win32::ToFileTime(data.ftLastWriteTime);
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
  if (dir_ != nullptr) ::FindClose(static_cast<HANDLE>(dir_));
  dir_ = nullptr;
}

bool DirSearch::Start(const std::string& dir, DirEntry& first) {
  Close();
  path_ = IncludeTrailingDelimiter(dir) + "*.*";
  WIN32_FIND_DATAA data;
  HANDLE h = ::FindFirstFileA(path_.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  dir_ = h;
  if (!IsDotEntry(data.cFileName)) {
    Fill(data, first);
    return true;
  }
  if (!Next(first)) {
    Close();
    // Nothing but "." and "..": an empty directory answers like a search
    // that found nothing.
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  return true;
}

bool DirSearch::Next(DirEntry& entry) {
  if (dir_ == nullptr) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  WIN32_FIND_DATAA data;
  for (;;) {
    if (!::FindNextFileA(static_cast<HANDLE>(dir_), &data)) return false;
    if (IsDotEntry(data.cFileName)) continue;
    Fill(data, entry);
    return true;
  }
}

// The find record already holds everything.
void DirSearch::Describe(DirEntry&) {}

}  // namespace zu::platform
