// The ten entry points of the io module. Each is a one-line wrapper around
// Guard, which runs the operation, turns anything thrown into LastError and
// FALSE, and so keeps every failure on this side of the boundary.
#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "modules/io/io_file.h"
#include "modules/io/io_filefinder.h"
#include "modules/io/io_kbd.h"
#include "modules/io/zuscriptx_tools.h"
#include "platform/platform.h"
#include "values/xvalue.h"
#include "zuscriptx.h"

namespace zu::io {

namespace {

// The result of the current call; a text result points into it (or into the
// registry's ResultText, see TextResult) until the next CallFunction or
// GetProperty resets it. Emptied at unload.
ScriptValue ResultValue;

template <class Operation>
ZuScriptXBool Guard(Operation&& operation) {
  try {
    return operation() ? ZUSCRIPTX_TRUE : ZUSCRIPTX_FALSE;
  } catch (const std::bad_alloc&) {
    Registry().LastError = "Out of memory";
  } catch (const std::exception& e) {
    Registry().LastError = e.what();
  } catch (...) {
    Registry().LastError = "Unknown failure in extension module";
  }
  return ZUSCRIPTX_FALSE;
}

const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

// Copies text (at most size characters and a NUL) into buffer.
void CopyOut(const std::string& text, char* buffer, uint32_t size) {
  size_t n = std::min<size_t>(text.size(), size);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

bool CopyList(const std::string& text, char* buffer, uint32_t size) {
  if (buffer == nullptr) return Fail("Pointer to buffer is null");
  if (size < text.size()) return Fail("Buffer size too small");
  CopyOut(text, buffer, size);
  Registry().LastError.clear();
  return true;
}

bool DeleteFileFunction(const std::vector<ScriptValue>& values, ScriptValue& result);

template <class Class>
std::unique_ptr<TZuScriptX_Object> Construct(std::string className, std::string objectName) {
  return std::make_unique<Class>(std::move(className), std::move(objectName));
}

// The classes of the module, in the order the classes list gives them.
struct ModuleClass {
  const char* Name;
  std::unique_ptr<TZuScriptX_Object> (*Create)(std::string className, std::string objectName);
};
constexpr ModuleClass kClasses[] = {
    {"TFILE", Construct<TZuScriptX_File>},
    {"TFILEFINDER", Construct<TZuScriptX_FileFinder>},
    {"TKEYBOARD", Construct<TZuScriptX_Keyboard>},
};

// The module-level functions. Their names are upper case: the upper-cased
// name of a call is compared with them as they stand.
struct ModuleFunction {
  const char* Name;
  int32_t ArgCount;
  bool (*Call)(const std::vector<ScriptValue>& values, ScriptValue& result);
};
constexpr ModuleFunction kFunctions[] = {
    {"DELETEFILE", 1, DeleteFileFunction},
};

bool Init() {
  ModuleRegistry& r = Registry();
  r.LastError.clear();
  for (const ModuleFunction& function : kFunctions) {
    r.FunctionsList.Add(std::make_unique<TZuScriptX_Function>(function.Name, function.ArgCount));
  }
  for (const ModuleClass& moduleClass : kClasses) r.ClassesList.emplace_back(moduleClass.Name);
  r.ObjectsList.Clear();
  return true;
}

bool Done() {
  ModuleRegistry& r = Registry();
  r.LastError.clear();
  r.FunctionsList.Clear();
  r.ObjectsList.Clear();
  r.ClassesList.clear();
  return true;
}

bool ClassesListText(char* buffer, uint32_t size) {
  std::string text;
  for (const auto& name : Registry().ClassesList) text += name + "\r\n";
  return CopyList(text, buffer, size);
}

bool FunctionsListText(char* buffer, uint32_t size) {
  const TZuScriptX_FunctionsList& list = Registry().FunctionsList;
  std::string text;
  for (size_t k = 0; k < list.Count(); ++k) {
    text += list.Get(k)->Name + "," + std::to_string(list.Get(k)->ArgCount) + "\r";
  }
  return CopyList(text, buffer, size);
}

bool CreateObject(const char* classArg, const char* objectArg) {
  std::string className = OrEmpty(classArg);
  std::string objectName = OrEmpty(objectArg);
  ModuleRegistry& r = Registry();
  std::string upper = platform::UpperText(className);
  if (std::find(r.ClassesList.begin(), r.ClassesList.end(), upper) == r.ClassesList.end()) {
    return Fail("Class \"" + className + "\" not defined");
  }
  if (r.ObjectsList.Find(className, objectName) != nullptr) {
    return Fail("Object \"" + objectName + "\" already exists");
  }
  // Constructors are chosen by the class name exactly as listed; the same
  // name in other letter case passed the check above but makes nothing.
  std::unique_ptr<TZuScriptX_Object> object;
  for (const ModuleClass& moduleClass : kClasses) {
    if (className == moduleClass.Name) object = moduleClass.Create(className, objectName);
  }
  if (!object) return Fail("Error on create object \"" + objectName + "\"");
  r.LastError.clear();
  r.ObjectsList.Add(std::move(object));
  return true;
}

// DeleteFile: deletes a file when one of that name exists; a missing file,
// a directory or a refused deletion are not reported.
bool DeleteFileFunction(const std::vector<ScriptValue>& values, ScriptValue&) {
  std::string name = ToText(values[0]);
  if (platform::FileExists(name)) platform::RemoveFile(name);
  return true;
}

bool CallModuleFunction(const std::string& functionName, const std::vector<ScriptValue>& values,
                        ScriptValue& result) {
  std::string upper = platform::UpperText(functionName);
  const TZuScriptX_FunctionsList& list = Registry().FunctionsList;
  for (size_t k = 0; k < list.Count(); ++k) {
    const TZuScriptX_Function* function = list.Get(k);
    if (function->Name != upper) continue;
    if (static_cast<size_t>(function->ArgCount) != values.size()) {
      return Fail("Function \"" + function->Name + "\" must have " +
                  std::to_string(function->ArgCount) + " arguments");
    }
    for (const ModuleFunction& implemented : kFunctions) {
      if (function->Name == implemented.Name) return implemented.Call(values, result);
    }
    return Fail("Function \"" + function->Name + "\" not implemented");
  }
  // Not listed: the host never asks for such a name; LastError stays.
  return false;
}

// Every call starts without a result.
void ResetResult() {
  ResultValue = ScriptValue();
  Registry().HasResultText = false;
}

void WriteResult(TZuScriptXValue* result) {
  if (result == nullptr) return;
  const ModuleRegistry& r = Registry();
  if (!r.HasResultText) {
    ValueToXValue(ResultValue, *result);
    return;
  }
  // The record ValueToXValue writes for a Text: zeros, the kind, the
  // pointer to the zero-terminated bytes.
  std::memset(result, 0, sizeof(*result));
  result->Kind = xkText;
  const char* text = r.ResultText.c_str();
  std::memcpy(&result->Data, &text, sizeof(text));
}

bool CallFunction(const char* objectArg, const char* functionArg, int32_t count,
                  const TZuScriptXValue* args, TZuScriptXValue* result) {
  ResetResult();
  std::string functionName = OrEmpty(functionArg);
  std::vector<ScriptValue> values;
  if (count > 0 && args != nullptr) {
    values.reserve(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) values.push_back(XValueToValue(args[k]));
  }
  bool ok;
  if (objectArg != nullptr) {
    TZuScriptX_Object* object = Registry().ObjectsList.FindByName(objectArg);
    if (object == nullptr) return Fail(std::string("Object \"") + objectArg + "\" not found");
    ok = object->CallFunction(functionName, values, static_cast<int>(values.size()) - 1,
                              ResultValue);
  } else {
    ok = CallModuleFunction(functionName, values, ResultValue);
  }
  if (ok) WriteResult(result);
  return ok;
}

TZuScriptX_Object* PropertyObject(const char* objectArg, const std::string& propertyName) {
  if (objectArg == nullptr) {
    Fail("Name of object not specified for property \"" + propertyName + "\"");
    return nullptr;
  }
  TZuScriptX_Object* object = Registry().ObjectsList.FindByName(objectArg);
  if (object == nullptr) Fail(std::string("Object \"") + objectArg + "\" not found");
  return object;
}

bool GetProperty(const char* objectArg, const char* propertyArg, TZuScriptXValue* result) {
  ResetResult();
  std::string propertyName = OrEmpty(propertyArg);
  TZuScriptX_Object* object = PropertyObject(objectArg, propertyName);
  if (object == nullptr) return false;
  if (!object->GetProperty(propertyName, ResultValue)) return false;
  WriteResult(result);
  return true;
}

bool SetProperty(const char* objectArg, const char* propertyArg, const TZuScriptXValue* value) {
  std::string propertyName = OrEmpty(propertyArg);
  TZuScriptX_Object* object = PropertyObject(objectArg, propertyName);
  if (object == nullptr) return false;
  ScriptValue v = value != nullptr ? XValueToValue(*value) : ScriptValue();
  return object->SetProperty(propertyName, v);
}

bool LastErrorText(char* buffer, uint32_t size) {
  if (buffer == nullptr) return false;
  std::string& last = Registry().LastError;
  if (size < last.size()) last = "Buffer size too small";
  CopyOut(last, buffer, size);
  return true;
}

}  // namespace

}  // namespace zu::io

using namespace zu::io;

extern "C" {

ZUSCRIPTX_EXPORT int32_t ZUSCRIPTX_CALL ZuScriptXGetVersion(void) { return ZUSCRIPTX_VERSION; }

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXInit(void) { return Guard(Init); }

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXDone(void) { return Guard(Done); }

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetClassesList(char* buffer, uint32_t size) {
  return Guard([&] { return ClassesListText(buffer, size); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetFunctionsList(char* buffer,
                                                                        uint32_t size) {
  return Guard([&] { return FunctionsListText(buffer, size); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCreateObject(const char* className,
                                                                    const char* objectName) {
  return Guard([&] { return CreateObject(className, objectName); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCallFunction(const char* objectName,
                                                                    const char* functionName,
                                                                    int32_t count,
                                                                    const TZuScriptXValue* args,
                                                                    TZuScriptXValue* result) {
  return Guard([&] { return CallFunction(objectName, functionName, count, args, result); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetProperty(const char* objectName,
                                                                   const char* propertyName,
                                                                   TZuScriptXValue* result) {
  return Guard([&] { return GetProperty(objectName, propertyName, result); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXSetProperty(const char* objectName,
                                                                   const char* propertyName,
                                                                   const TZuScriptXValue* value) {
  return Guard([&] { return SetProperty(objectName, propertyName, value); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetLastError(char* buffer, uint32_t size) {
  return Guard([&] { return LastErrorText(buffer, size); });
}

}  // extern "C"
