// TZuScriptExtClass, TZuScriptExtObject and TZuScriptExtFunction: creating
// module objects and calling module methods, properties and functions, with
// values converted to and from the boundary records.
#include <array>

#include "engine/exthost/ext_entities.h"
#include "values/xvalue.h"

namespace zu {

namespace {

template <class Entry>
Entry AsEntry(void* address) {
  return reinterpret_cast<Entry>(address);
}

// The argument records of one call. Up to the evaluator's limit of 64 they
// live in a fixed frame; a longer list is still passed whole rather than cut.
// Text records point into args, which outlives the call.
class ArgumentRecords {
 public:
  explicit ArgumentRecords(const std::vector<ScriptValue>& args) {
    TZuScriptXValue* records = fixed_.data();
    if (args.size() > fixed_.size()) {
      spill_.resize(args.size());
      records = spill_.data();
    }
    for (size_t i = 0; i < args.size(); ++i) ValueToXValue(args[i], records[i]);
    data_ = records;
    count_ = static_cast<int32_t>(args.size());
  }
  ArgumentRecords(const ArgumentRecords&) = delete;
  ArgumentRecords& operator=(const ArgumentRecords&) = delete;

  const TZuScriptXValue* Data() const { return data_; }
  int32_t Count() const { return count_; }

 private:
  // Not cleared in advance: only the records of the arguments are passed,
  // and ValueToXValue writes each whole.
  std::array<TZuScriptXValue, kExtRecordCount> fixed_;
  std::vector<TZuScriptXValue> spill_;
  const TZuScriptXValue* data_ = nullptr;
  int32_t count_ = 0;
};

}  // namespace

// ---------------------------------------------------------------- classes

TZuScriptExtClass::TZuScriptExtClass(std::string name, TZuScriptExtModule* module, TZuScript* owner)
    : TZuScriptClass(std::move(name), owner), Module(module) {
  CreateObjectEntry = AsEntry<TZuScriptXCreateObject>(Module->EntryPoint("ZuScriptXCreateObject"));
}

std::unique_ptr<TZuScriptObject> TZuScriptExtClass::CreateObject(const std::string& objectName) {
  // The module gets the class name as it listed it, whatever case the
  // script used to find the class.
  if (!CreateObjectEntry(Name.c_str(), objectName.c_str())) Module->RaiseLastError();
  return std::make_unique<TZuScriptExtObject>(objectName, *this);
}

// ---------------------------------------------------------------- objects

TZuScriptExtObject::TZuScriptExtObject(std::string name, const TZuScriptExtClass& cls)
    : TZuScriptObject(std::move(name), cls.Owner), Module(cls.Module), ClassName(cls.Name) {
  CallFunctionEntry = AsEntry<TZuScriptXCallFunction>(Module->EntryPoint("ZuScriptXCallFunction"));
  GetPropertyEntry = AsEntry<TZuScriptXGetProperty>(Module->EntryPoint("ZuScriptXGetProperty"));
  SetPropertyEntry = AsEntry<TZuScriptXSetProperty>(Module->EntryPoint("ZuScriptXSetProperty"));
}

ScriptValue TZuScriptExtObject::CallMethod(const std::string& method,
                                           const std::vector<ScriptValue>& args) {
  // The module checks the argument count of its methods itself.
  ArgumentRecords records(args);
  TZuScriptXValue result{};
  if (!CallFunctionEntry(Name.c_str(), method.c_str(), records.Count(), records.Data(), &result)) {
    Module->RaiseLastError();
  }
  // A text result is the module's until its next call: copy it now.
  return XValueToValue(result);
}

ScriptValue TZuScriptExtObject::GetProperty(const std::string& property) {
  TZuScriptXValue result{};
  if (!GetPropertyEntry(Name.c_str(), property.c_str(), &result)) Module->RaiseLastError();
  return XValueToValue(result);
}

void TZuScriptExtObject::SetProperty(const std::string& property, const ScriptValue& value) {
  TZuScriptXValue record{};
  ValueToXValue(value, record);
  if (!SetPropertyEntry(Name.c_str(), property.c_str(), &record)) Module->RaiseLastError();
}

// ---------------------------------------------------------------- functions

TZuScriptExtFunction::TZuScriptExtFunction(std::string name, TZuScriptExtModule* module,
                                           int32_t argCount, TZuScript* owner)
    : TZuScriptFunction(std::move(name), argCount, owner), Module(module) {
  CallFunctionEntry = AsEntry<TZuScriptXCallFunction>(Module->EntryPoint("ZuScriptXCallFunction"));
}

ScriptValue TZuScriptExtFunction::CallFunction(const std::vector<ScriptValue>& args) {
  if (static_cast<int64_t>(args.size()) != ArgCount) {
    throw EZuScriptError(Owner, "Function \"" + Name + "\" in extension module \"" +
                                    Module->FilePath + "\" must have " + std::to_string(ArgCount) +
                                    " arguments");
  }
  ArgumentRecords records(args);
  TZuScriptXValue result{};
  if (!CallFunctionEntry(nullptr, Name.c_str(), records.Count(), records.Data(), &result)) {
    Module->RaiseLastError();
  }
  return XValueToValue(result);
}

}  // namespace zu
