// The toolkit: base checks of every module object, the owning lists and the
// module-wide registry.
#include "modules/io/zuscriptx_tools.h"

#include "platform/platform.h"

namespace zu::io {

namespace {

// Created when the library is loaded and destroyed when it is unloaded.
ModuleRegistry registry;

}  // namespace

ModuleRegistry& Registry() { return registry; }

bool Fail(std::string message) {
  registry.LastError = std::move(message);
  return false;
}

void TextResult(std::string_view text) {
  registry.ResultText.assign(text);
  registry.HasResultText = true;
}

ModuleRegistry::~ModuleRegistry() {
  // Functions first, then the objects (which lets a file object close its
  // file), then the classes.
  FunctionsList.Clear();
  ObjectsList.Clear();
  ClassesList.clear();
  LastError.clear();
  ResultText.clear();
}

bool SameUpperName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (platform::UpperChar(static_cast<unsigned char>(a[k])) !=
        platform::UpperChar(static_cast<unsigned char>(b[k])))
      return false;
  }
  return true;
}

TZuScriptX_Function* TZuScriptX_FunctionsList::Find(std::string_view name) const {
  for (const auto& item : items_) {
    if (SameUpperName(item->Name, name)) return item.get();
  }
  return nullptr;
}

TZuScriptX_Object* TZuScriptX_ObjectsList::Find(std::string_view className,
                                                std::string_view objectName) const {
  for (const auto& item : items_) {
    if (!SameUpperName(item->ObjectName, objectName)) continue;
    if (!className.empty() && !SameUpperName(item->ClassName, className)) continue;
    return item.get();
  }
  return nullptr;
}

TZuScriptX_Object* TZuScriptX_ObjectsList::FindByName(std::string_view objectName) {
  if (lastFound_ != nullptr && objectName == lastName_) return lastFound_;
  std::string key(objectName);
  auto known = byName_.find(key);
  TZuScriptX_Object* found = known != byName_.end() ? known->second : Find("", objectName);
  if (found == nullptr) return nullptr;
  if (known == byName_.end()) byName_.emplace(key, found);
  lastName_ = std::move(key);
  lastFound_ = found;
  return found;
}

// ---------------------------------------------------------------- base object

TZuScriptX_Object::TZuScriptX_Object(std::string className, std::string objectName)
    : ClassName(std::move(className)), ObjectName(std::move(objectName)) {}

void TZuScriptX_Object::AddFunction(const char* name, int32_t argCount) {
  Functions.Add(std::make_unique<TZuScriptX_Function>(name, argCount));
}

bool TZuScriptX_Object::SplitProperty(const std::string& path) {
  for (auto& part : SubProperties) part.clear();
  SubProperties[0] = path;
  for (int j = 0;; ++j) {
    size_t dot = SubProperties[j].find('.');
    if (dot == std::string::npos) return true;
    tailEmpty_ = false;
    if (j == kMaxSubProperties - 1) return Fail("Too much subproperties");
    // A part holds at most 9999 characters after its dot.
    SubProperties[j + 1] = SubProperties[j].substr(dot + 1, 9999);
    SubProperties[j].resize(dot);
  }
}

void TZuScriptX_Object::NoteSimplePath(const std::string& path) {
  if (SubProperties[0] != path) SubProperties[0] = path;
  if (tailEmpty_) return;
  for (int j = 1; j < kMaxSubProperties; ++j) SubProperties[j].clear();
  tailEmpty_ = true;
}

bool TZuScriptX_Object::CallFunction(const std::string& name, const std::vector<ScriptValue>&,
                                     int lastIndex, ScriptValue&) {
  const TZuScriptX_Function* function = Functions.Find(name);
  if (function == nullptr) {
    return Fail("Function \"" + name + "\" not found in class \"" + ClassName + "\"");
  }
  if (lastIndex + 1 != function->ArgCount) return WrongArgumentCount(name, *function);
  return true;
}

bool TZuScriptX_Object::WrongArgumentCount(const std::string& name,
                                           const TZuScriptX_Function& function) {
  return Fail("Function \"" + name + "\" must have " + std::to_string(function.ArgCount) +
              " arguments");
}

bool TZuScriptX_Object::GetProperty(const std::string& name, ScriptValue&) {
  if (!SplitProperty(name)) return false;
  for (const auto& property : Properties) {
    if (platform::CompareTextIgnoreCase(property, SubProperties[0]) == 0) return true;
  }
  return Fail("Property \"" + name + "\" not found in class \"" + ClassName + "\"");
}

bool TZuScriptX_Object::SetProperty(const std::string& name, const ScriptValue&) {
  ScriptValue unused;
  return TZuScriptX_Object::GetProperty(name, unused);
}

bool TZuScriptX_Object::NotImplemented(const std::string& name) {
  return Fail("Function \"" + name + "\" not implemented in class \"" + ClassName + "\"");
}

bool TZuScriptX_Object::WriteOnly(const std::string& name) {
  return Fail("Property \"" + name + "\" of class \"" + ClassName + "\" is write-only");
}

bool TZuScriptX_Object::ReadOnly(const std::string& name) {
  return Fail("Property \"" + name + "\" of class \"" + ClassName + "\" is read-only");
}

}  // namespace zu::io
