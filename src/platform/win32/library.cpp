// Dynamic libraries: LoadLibraryA, GetProcAddress and FreeLibrary, with the
// system's own search for a name without a directory.
#include "platform/win32/win32_api.h"

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
  // A console program must not stop at a dialog when a module or one of its
  // dependencies is missing: the failure is reported by its code instead.
  DWORD oldMode = 0;
  const bool modeSet =
      ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode) != 0;
  HMODULE h = ::LoadLibraryA(path.c_str());
  const DWORD code = ::GetLastError();
  if (modeSet) ::SetThreadErrorMode(oldMode, nullptr);
  if (h == nullptr) {
    ::SetLastError(code);
    return lib;
  }
  lib.handle_ = h;
  return lib;
}

void* Library::Symbol(const char* name) const {
  if (handle_ == nullptr) {
    // Nothing is loaded, so no entry point is there either.
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  // A function address leaves the layer as a data pointer; the caller turns
  // it into the entry point's declared type.
  FARPROC p = ::GetProcAddress(static_cast<HMODULE>(handle_), name);
  return reinterpret_cast<void*>(p);
}

void Library::Free() {
  if (handle_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace zu::platform
