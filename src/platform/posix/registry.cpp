// The registry of file associations, kept in files: under
// $XDG_DATA_HOME/zus/registry (default ~/.local/share/zus/registry) a key is
// a directory and its default value the file "@" inside it. Key names are
// matched without regard to letter case, as Windows does; results are
// Win32 error codes (2 missing key, 5 access denied, 259 no more items).
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zu::platform {
namespace {

constexpr int kErrorFileNotFound = 2;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorInvalidParameter = 87;
constexpr int kErrorMoreData = 234;
constexpr int kErrorNoMoreItems = 259;
constexpr size_t kMaxKeyName = 255;
const char kDefaultValueFile[] = "@";
// Values are written to "@.PID.tmp" beside the value file and renamed over
// it: concurrent writers never share a temporary file, and a writer that
// dies halfway leaves the old value (or none), never an empty or partial one.
const char kTempPrefix[] = "@.";
const char kTempSuffix[] = ".tmp";

bool IsTempValueFile(const char* name) {
  const size_t n = strlen(name), p = strlen(kTempPrefix), s = strlen(kTempSuffix);
  return n > p + s && strncmp(name, kTempPrefix, p) == 0 && strcmp(name + n - s, kTempSuffix) == 0;
}

int Win32Code(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case ENOTEMPTY:
    case EEXIST:
    case EROFS:
      return kErrorAccessDenied;
    default:
      return err != 0 ? err : kErrorAccessDenied;
  }
}

std::string Root() {
  std::string dir = WindowsDirectory();
  if (dir.empty()) return std::string();
  return dir + "registry";
}

bool SameName(const char* a, const std::string& b) {
  size_t n = strlen(a);
  if (n != b.size()) return false;
  for (size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Splits a key path at '\\'. A name that could leave the store or clash
// with the value file ("", ".", "..", "@", one with '/') is refused.
bool SplitKey(const std::string& path, std::vector<std::string>& parts) {
  parts.clear();
  if (path.empty()) return true;
  size_t start = 0;
  for (;;) {
    size_t end = path.find('\\', start);
    std::string name =
        path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (name.empty() || name == "." || name == ".." || name == kDefaultValueFile ||
        name.find('/') != std::string::npos || name.size() > kMaxKeyName) {
      return false;
    }
    parts.push_back(name);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

// The directory of a subkey of dir: an existing one of any letter case, or
// the name as given.
std::string ChildDirectory(const std::string& dir, const std::string& name) {
  std::string exact = dir + "/" + name;
  if (IsDirectory(exact)) return exact;
  DIR* d = opendir(dir.c_str());
  if (d != nullptr) {
    while (struct dirent* e = readdir(d)) {
      if (SameName(e->d_name, name) && IsDirectory(dir + "/" + e->d_name)) {
        std::string found = dir + "/" + e->d_name;
        closedir(d);
        return found;
      }
    }
    closedir(d);
  }
  return exact;
}

// Resolves path to its directory; with create, missing keys are made.
int Resolve(const std::string& path, bool create, std::string& dir) {
  std::vector<std::string> parts;
  if (!SplitKey(path, parts)) return kErrorInvalidParameter;
  dir = Root();
  if (dir.empty()) return kErrorFileNotFound;
  if (create && !CreateDirectories(dir)) return Win32Code(errno);
  if (!IsDirectory(dir)) return kErrorFileNotFound;
  for (const std::string& name : parts) {
    dir = ChildDirectory(dir, name);
    if (IsDirectory(dir)) continue;
    if (!create) return kErrorFileNotFound;
    if (::mkdir(dir.c_str(), 0777) != 0 && !(errno == EEXIST && IsDirectory(dir))) {
      return Win32Code(errno);
    }
  }
  return 0;
}

// The subkey names of a directory in the order Windows enumerates them
// (alphabetical, letter case ignored).
int SubKeys(const std::string& dir, std::vector<std::string>& names) {
  names.clear();
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return Win32Code(errno);
  while (struct dirent* e = readdir(d)) {
    if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
    if (IsDirectory(dir + "/" + e->d_name)) names.push_back(e->d_name);
  }
  closedir(d);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareTextIgnoreCase(a, b) < 0;
  });
  return 0;
}

}  // namespace

int RegistryCreateKey(const std::string& path) {
  std::string dir;
  return Resolve(path, true, dir);
}

int RegistryOpenKey(const std::string& path) {
  std::string dir;
  return Resolve(path, false, dir);
}

int RegistrySetDefaultValue(const std::string& path, const std::string& value) {
  std::string dir;
  if (int rc = Resolve(path, false, dir); rc != 0) return rc;
  // Written beside the value and renamed over it, so a failure never
  // leaves a half-written value behind.
  std::string target = dir + "/" + kDefaultValueFile;
  std::string temp = dir + "/" + kTempPrefix + std::to_string(::getpid()) + kTempSuffix;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Win32Code(errno);
  size_t done = 0;
  while (done < value.size()) {
    ssize_t n = ::write(fd, value.data() + done, value.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int code = n < 0 ? errno : ENOSPC;
      ::close(fd);
      ::unlink(temp.c_str());
      return Win32Code(code);
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return Win32Code(code);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int code = errno;
    ::unlink(temp.c_str());
    return Win32Code(code);
  }
  return 0;
}

int RegistryGetDefaultValue(const std::string& path, std::string& value) {
  value.clear();
  std::string dir;
  if (int rc = Resolve(path, false, dir); rc != 0) return rc;
  File f = File::Open(dir + "/" + kDefaultValueFile, FileAccess::Read, FileShare::ReadWrite,
                      FileDisposition::OpenExisting);
  if (!f.IsOpen()) return Win32Code(errno);
  char block[4096];
  for (;;) {
    long n = f.Read(block, sizeof block);
    if (n < 0) return Win32Code(errno);
    if (n == 0) break;
    value.append(block, static_cast<size_t>(n));
  }
  return 0;
}

int RegistryEnumKey(const std::string& path, uint32_t index, std::string& name) {
  name.clear();
  std::string dir;
  if (int rc = Resolve(path, false, dir); rc != 0) return rc;
  std::vector<std::string> names;
  if (int rc = SubKeys(dir, names); rc != 0) return rc;
  if (index >= names.size()) return kErrorNoMoreItems;
  if (names[index].size() > kMaxKeyName) return kErrorMoreData;
  name = names[index];
  return 0;
}

int RegistryDeleteKey(const std::string& path) {
  std::string dir;
  if (path.empty()) return kErrorAccessDenied;  // the root itself stays
  if (int rc = Resolve(path, false, dir); rc != 0) return rc;
  std::vector<std::string> names;
  if (int rc = SubKeys(dir, names); rc != 0) return rc;
  // Like RegDeleteKey: a key with subkeys is not deleted.
  if (!names.empty()) return kErrorAccessDenied;
  std::string value = dir + "/" + kDefaultValueFile;
  if (::unlink(value.c_str()) != 0 && errno != ENOENT) return Win32Code(errno);
  // Temporary files of writers that died halfway go with the key (".@.tmp"
  // is the name earlier versions used).
  ::unlink((dir + "/.@.tmp").c_str());
  if (DIR* d = opendir(dir.c_str())) {
    while (struct dirent* e = readdir(d))
      if (IsTempValueFile(e->d_name)) ::unlink((dir + "/" + e->d_name).c_str());
    closedir(d);
  }
  if (::rmdir(dir.c_str()) != 0) return Win32Code(errno);
  return 0;
}

}  // namespace zu::platform
