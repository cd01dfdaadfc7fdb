// The extension host's entities: a loaded extension module and the classes,
// object proxies and functions through which scripts use what it exports.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/script.h"
#include "platform/platform.h"
#include "zuscriptx.h"

namespace zu {

// Size handed to the buffer entry points and the bytes our buffers hold.
inline constexpr uint32_t kExtBufferSize = ZUSCRIPTX_BUFFER_SIZE;
inline constexpr size_t kExtBufferBytes = ZUSCRIPTX_BUFFER_BYTES;
// Argument records that fit without allocating (the evaluator's limit).
inline constexpr size_t kExtRecordCount = ZUSCRIPTX_MAX_ARGS;

// The message of a missing export.
std::string MissingEntryMessage(const std::string& entry, const std::string& path, int code);

// A loaded and started extension module (Kind 8). Its Name is the module name
// as written after Import; every message names it by FilePath. Owned by the
// importing script's ModuleList, which is released after the classes,
// objects and functions that point into the library.
class TZuScriptExtModule : public TZuScriptRoot {
 public:
  // Loads the library at filePath, calls ZuScriptXGetVersion, keeps
  // ZuScriptXGetLastError and calls ZuScriptXInit. Raises EZuScriptError
  // (carrying owner); a library loaded before the failure is stopped and
  // unloaded at once.
  TZuScriptExtModule(std::string name, std::string filePath, TZuScript* owner);
  // Calls ZuScriptXDone when the library exports it (looked up now), then
  // unloads the library.
  ~TZuScriptExtModule() override;

  // Raises the module's last error text unchanged, or one of the two
  // messages about the last-error entry point itself.
  [[noreturn]] void RaiseLastError() const;
  // The class and function lists, looked up and fetched at each call.
  std::string GetClassesList() const;
  std::string GetFunctionsList() const;
  // Address of an export; a missing one raises the lookup message.
  void* EntryPoint(const char* name) const;

  platform::Library LibraryHandle;
  std::string FilePath;
  int32_t Version = 0;
  TZuScriptXGetLastError GetLastErrorEntry = nullptr;

 private:
  std::string CallListEntry(const char* entry) const;
  void Stop() noexcept;
};

// A class exported by a module, registered in the importing script's
// ClassList. Name is the class name as the module listed it.
class TZuScriptExtClass : public TZuScriptClass {
 public:
  // Looks up ZuScriptXCreateObject; a missing one raises the lookup message.
  TZuScriptExtClass(std::string name, TZuScriptExtModule* module, TZuScript* owner);
  // Has the module create the object (under the class's own Name) and
  // returns the script's proxy for it.
  std::unique_ptr<TZuScriptObject> CreateObject(const std::string& objectName) override;

  TZuScriptExtModule* Module;  // not owned
  TZuScriptXCreateObject CreateObjectEntry = nullptr;
};

// The script's named proxy for an object that lives in a module. Released
// without telling the module: the module frees its objects when stopped.
class TZuScriptExtObject : public TZuScriptObject {
 public:
  // Looks up the three object entry points, in the order call, get, set.
  TZuScriptExtObject(std::string name, const TZuScriptExtClass& cls);
  ScriptValue CallMethod(const std::string& method, const std::vector<ScriptValue>& args) override;
  ScriptValue GetProperty(const std::string& property) override;
  void SetProperty(const std::string& property, const ScriptValue& value) override;

  TZuScriptExtModule* Module;  // not owned
  std::string ClassName;
  TZuScriptXCallFunction CallFunctionEntry = nullptr;
  TZuScriptXGetProperty GetPropertyEntry = nullptr;
  TZuScriptXSetProperty SetPropertyEntry = nullptr;
};

// A module-level function, registered in the importing script's ExtFuncList
// with the argument count the module listed.
class TZuScriptExtFunction : public TZuScriptFunction {
 public:
  // Looks up ZuScriptXCallFunction; a missing one raises the lookup message.
  TZuScriptExtFunction(std::string name, TZuScriptExtModule* module, int32_t argCount,
                       TZuScript* owner);
  // Checks the argument count here, before the module is called.
  ScriptValue CallFunction(const std::vector<ScriptValue>& args) override;

  TZuScriptExtModule* Module;  // not owned
  TZuScriptXCallFunction CallFunctionEntry = nullptr;
};

// The file Import loads for a module name: the script's file search, else
// the program's directory followed by the name as written, else the name
// itself (left to the platform loader).
std::string FindModuleFile(const TZuScript& script, const std::string& moduleName);

}  // namespace zu
