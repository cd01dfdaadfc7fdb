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

// The result of the current call; a text result points into it until the
// next CallFunction or GetProperty resets it. Emptied at unload.
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
std::unique_ptr<TZuScriptX_Object> Construct(std::string class_name, std::string object_name) {
  return std::make_unique<Class>(std::move(class_name), std::move(object_name));
}

// The classes of the module, in the order the classes list gives them.
struct ModuleClass {
  const char* Name;
  std::unique_ptr<TZuScriptX_Object> (*Create)(std::string class_name, std::string object_name);
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

bool CreateObject(const char* class_arg, const char* object_arg) {
  std::string class_name = OrEmpty(class_arg);
  std::string object_name = OrEmpty(object_arg);
  ModuleRegistry& r = Registry();
  std::string upper = platform::UpperText(class_name);
  if (std::find(r.ClassesList.begin(), r.ClassesList.end(), upper) == r.ClassesList.end()) {
    return Fail("Class \"" + class_name + "\" not defined");
  }
  if (r.ObjectsList.Find(class_name, object_name) != nullptr) {
    return Fail("Object \"" + object_name + "\" already exists");
  }
  // Constructors are chosen by the class name exactly as listed; the same
  // name in other letter case passed the check above but makes nothing.
  std::unique_ptr<TZuScriptX_Object> object;
  for (const ModuleClass& moduleClass : kClasses) {
    if (class_name == moduleClass.Name) object = moduleClass.Create(class_name, object_name);
  }
  if (!object) return Fail("Error on create object \"" + object_name + "\"");
  r.LastError.clear();
  r.ObjectsList.Add(std::move(object));
  return true;
}

// DeleteFile: deletes a file when one of that name exists; a missing file,
// a directory or a refused deletion are not reported.
bool DeleteFileFunction(const std::vector<ScriptValue>& values, ScriptValue&) {
  std::string name = ToText(values[0]);
  if (platform::FileExists(name)) platform::DeleteFile(name);
  return true;
}

bool CallModuleFunction(const std::string& function_name, const std::vector<ScriptValue>& values,
                        ScriptValue& result) {
  std::string upper = platform::UpperText(function_name);
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

void WriteResult(TZuScriptXValue* result) {
  if (result != nullptr) ValueToXValue(ResultValue, *result);
}

bool CallFunction(const char* object_arg, const char* function_arg, int32_t count,
                  const TZuScriptXValue* args, TZuScriptXValue* result) {
  ResultValue = ScriptValue();
  std::string function_name = OrEmpty(function_arg);
  std::vector<ScriptValue> values;
  if (count > 0 && args != nullptr) {
    values.reserve(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) values.push_back(XValueToValue(args[k]));
  }
  bool ok;
  if (object_arg != nullptr) {
    TZuScriptX_Object* object = Registry().ObjectsList.Find("", object_arg);
    if (object == nullptr) return Fail(std::string("Object \"") + object_arg + "\" not found");
    ok = object->CallFunction(function_name, values, static_cast<int>(values.size()) - 1,
                              ResultValue);
  } else {
    ok = CallModuleFunction(function_name, values, ResultValue);
  }
  if (ok) WriteResult(result);
  return ok;
}

TZuScriptX_Object* PropertyObject(const char* object_arg, const std::string& property_name) {
  if (object_arg == nullptr) {
    Fail("Name of object not specified for property \"" + property_name + "\"");
    return nullptr;
  }
  TZuScriptX_Object* object = Registry().ObjectsList.Find("", object_arg);
  if (object == nullptr) Fail(std::string("Object \"") + object_arg + "\" not found");
  return object;
}

bool GetProperty(const char* object_arg, const char* property_arg, TZuScriptXValue* result) {
  ResultValue = ScriptValue();
  std::string property_name = OrEmpty(property_arg);
  TZuScriptX_Object* object = PropertyObject(object_arg, property_name);
  if (object == nullptr) return false;
  if (!object->GetProperty(property_name, ResultValue)) return false;
  WriteResult(result);
  return true;
}

bool SetProperty(const char* object_arg, const char* property_arg, const TZuScriptXValue* value) {
  std::string property_name = OrEmpty(property_arg);
  TZuScriptX_Object* object = PropertyObject(object_arg, property_name);
  if (object == nullptr) return false;
  ScriptValue v = value != nullptr ? XValueToValue(*value) : ScriptValue();
  return object->SetProperty(property_name, v);
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

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCreateObject(const char* class_name,
                                                                    const char* object_name) {
  return Guard([&] { return CreateObject(class_name, object_name); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXCallFunction(const char* object_name,
                                                                    const char* function_name,
                                                                    int32_t count,
                                                                    const TZuScriptXValue* args,
                                                                    TZuScriptXValue* result) {
  return Guard([&] { return CallFunction(object_name, function_name, count, args, result); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetProperty(const char* object_name,
                                                                   const char* property_name,
                                                                   TZuScriptXValue* result) {
  return Guard([&] { return GetProperty(object_name, property_name, result); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXSetProperty(const char* object_name,
                                                                   const char* property_name,
                                                                   const TZuScriptXValue* value) {
  return Guard([&] { return SetProperty(object_name, property_name, value); });
}

ZUSCRIPTX_EXPORT ZuScriptXBool ZUSCRIPTX_CALL ZuScriptXGetLastError(char* buffer, uint32_t size) {
  return Guard([&] { return LastErrorText(buffer, size); });
}

}  // extern "C"
