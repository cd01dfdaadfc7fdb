// TZuScriptExtModule: loading, starting, stopping and unloading one extension
// module, fetching its lists and raising its last error.
#include <array>

#include "engine/exthost/ext_entities.h"

namespace zu {

namespace {

// Entry points are exported as plain C functions; a data pointer from the
// loader becomes the declared function-pointer type here and only here.
template <class Entry>
Entry AsEntry(void* address) {
  return reinterpret_cast<Entry>(address);
}

}  // namespace

std::string MissingEntryMessage(const std::string& entry, const std::string& path, int code) {
  return "Can't get address of function \"" + entry + "\" in extension module \"" + path +
         "\". Error " + std::to_string(code);
}

TZuScriptExtModule::TZuScriptExtModule(std::string name, std::string filePath, TZuScript* owner)
    : TZuScriptRoot(std::move(name), kKindExtModule, owner), FilePath(std::move(filePath)) {
  LibraryHandle = platform::Library::Load(FilePath);
  if (!LibraryHandle.IsLoaded()) {
    throw EZuScriptError(Owner, "Can't load extension module \"" + FilePath + "\". Error " +
                                    std::to_string(platform::LastError()));
  }
  // From here on a failure must stop the module the way destruction does:
  // the constructor never completes, so the destructor would not run.
  try {
    Version = AsEntry<TZuScriptXGetVersion>(EntryPoint("ZuScriptXGetVersion"))();
    GetLastErrorEntry = AsEntry<TZuScriptXGetLastError>(EntryPoint("ZuScriptXGetLastError"));
    if (!AsEntry<TZuScriptXInit>(EntryPoint("ZuScriptXInit"))()) RaiseLastError();
  } catch (...) {
    Stop();
    throw;
  }
}

TZuScriptExtModule::~TZuScriptExtModule() { Stop(); }

void TZuScriptExtModule::Stop() noexcept {
  if (!LibraryHandle.IsLoaded()) return;
  // Looked up now rather than at load: the export is optional.
  if (void* done = LibraryHandle.Symbol("ZuScriptXDone")) {
    static_cast<void>(AsEntry<TZuScriptXDone>(done)());
  }
  LibraryHandle.Free();
}

void* TZuScriptExtModule::EntryPoint(const char* name) const {
  platform::SetLastError(0);
  void* address = LibraryHandle.Symbol(name);
  if (address == nullptr) {
    throw EZuScriptError(Owner, MissingEntryMessage(name, FilePath, platform::LastError()));
  }
  return address;
}

void TZuScriptExtModule::RaiseLastError() const {
  if (GetLastErrorEntry == nullptr) {
    throw EZuScriptError(
        Owner,
        "Function \"ZuScriptGetLastError\" not found in extension module \"" + FilePath + "\"");
  }
  std::array<char, kExtBufferBytes> buffer{};
  if (!GetLastErrorEntry(buffer.data(), kExtBufferSize)) {
    throw EZuScriptError(Owner, "Function \"ZuScriptGetLastError\" in extension module \"" +
                                    FilePath + "\" returns FALSE");
  }
  // A module that wrote all 4096 characters without a NUL still ends here.
  buffer[kExtBufferSize] = '\0';
  throw EZuScriptError(Owner, std::string(buffer.data()));
}

std::string TZuScriptExtModule::CallListEntry(const char* entry) const {
  auto list = AsEntry<TZuScriptXGetClassesList>(EntryPoint(entry));
  std::array<char, kExtBufferBytes> buffer{};
  if (!list(buffer.data(), kExtBufferSize)) RaiseLastError();
  buffer[kExtBufferSize] = '\0';
  return std::string(buffer.data());
}

std::string TZuScriptExtModule::GetClassesList() const {
  return CallListEntry("ZuScriptXGetClassesList");
}

std::string TZuScriptExtModule::GetFunctionsList() const {
  // Same signature as the classes list.
  static_assert(std::is_same_v<TZuScriptXGetClassesList, TZuScriptXGetFunctionsList>);
  return CallListEntry("ZuScriptXGetFunctionsList");
}

}  // namespace zu
