// Dynamic libraries: dlopen with RTLD_NOW | RTLD_LOCAL, so a module's
// missing symbols show at load time and its names stay its own. Every file
// is checked before dlopen maps it, and failures carry the Windows loader's
// codes, since dlopen sets no error code of its own.
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/posix/library_check.h"

namespace zu::platform {
namespace {

// The file a name without directory stands for: beside the program, as
// Windows' loader looks first, in the current directory, then in the
// directories of LD_LIBRARY_PATH, where dlopen would look next. Empty when
// none holds it: the system's own search (its cache and directories) then
// has the name.
std::string LocateBareName(const std::string& name) {
  if (FileExists(ProgramDirectory() + name)) return ProgramDirectory() + name;
  if (FileExists(name)) return "./" + name;
  const char* list = getenv("LD_LIBRARY_PATH");
  std::string dirs = list != nullptr ? list : "";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (!dir.empty()) {
      std::string candidate = IncludeTrailingDelimiter(dir) + name;
      if (FileExists(candidate)) return candidate;
    }
    start = end + 1;
  }
  return std::string();
}

// The loader code of a failed dlopen, read from its message: the only
// account it gives.
int CodeOfLoadFailure(const char* message) {
  std::string text = message != nullptr ? message : "";
  if (text.find("undefined symbol") != std::string::npos) return kLibraryEntryMissing;
  if (text.find("No such file") != std::string::npos ||
      text.find("cannot open shared object file") != std::string::npos)
    return kLibraryNotFound;
  return kLibraryBadFormat;
}

}  // namespace

Library::~Library() { Free(); }

Library::Library(Library&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Free();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

Library Library::Load(const std::string& path) {
  Library lib;
  if (path.empty()) {
    errno = kLibraryNotFound;
    return lib;
  }
  std::string name = path;
  if (path.find('/') == std::string::npos) {
    std::string located = LocateBareName(path);
    if (!located.empty()) name = located;
  }
  // A name left to the system's search is found in the system's library
  // directories; every other file is checked first.
  if (name.find('/') != std::string::npos) {
    int code = posix::CheckLibraryFile(name);
    if (code != 0) {
      errno = code;
      return lib;
    }
  }
  dlerror();
  void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (h == nullptr) {
    errno = CodeOfLoadFailure(dlerror());
    return lib;
  }
  lib.handle_ = h;
  return lib;
}

void* Library::Symbol(const char* name) const {
  if (handle_ == nullptr) {
    errno = kLibraryEntryMissing;
    return nullptr;
  }
  dlerror();
  void* p = dlsym(handle_, name);
  if (p == nullptr) {
    dlerror();
    errno = kLibraryEntryMissing;
  }
  return p;
}

void Library::Free() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace zu::platform
