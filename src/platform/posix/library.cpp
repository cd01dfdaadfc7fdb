// Dynamic libraries: dlopen with RTLD_NOW | RTLD_LOCAL, so a module's
// missing symbols show at load time and its names stay its own.
#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/platform.h"

namespace zu::platform {

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
  // dlopen sets errno only for some failures (a missing file), not for a
  // bad object: clear it first so a stale code is never reported.
  errno = 0;
  // A bare name is looked for where Windows' loader looks first, beside the
  // program and in the current directory, before dlopen's own search of the
  // library path.
  std::string name = path;
  if (path.find('/') == std::string::npos && !path.empty()) {
    if (FileExists(ProgramDirectory() + path)) {
      name = ProgramDirectory() + path;
    } else if (FileExists(path)) {
      name = "./" + path;
    }
  }
  errno = 0;
  void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (h == nullptr) {
    int code = errno;
    dlerror();  // clear the text so later lookups start fresh
    // glibc does not always keep the open's errno; a missing file is still
    // reported as one.
    struct stat st {};
    if (code == 0 && name.find('/') != std::string::npos && ::stat(name.c_str(), &st) != 0) {
      code = errno;
    }
    errno = code;
    return lib;
  }
  lib.handle_ = h;
  return lib;
}

void* Library::Symbol(const char* name) const {
  if (handle_ == nullptr) {
    errno = EBADF;
    return nullptr;
  }
  dlerror();
  void* p = dlsym(handle_, name);
  if (p == nullptr) {
    dlerror();
    errno = 0;  // dlsym sets no error code, as a failed dlopen may not
  }
  return p;
}

void Library::Free() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace zu::platform
