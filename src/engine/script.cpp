// TZuScript itself and its plain entities: variables, arrays, the owner-chain
// lookups, function instantiation, environment constants and the run context.
#include "engine/script.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "engine/executor/compiled_statement.h"

namespace zu {

// ---------------------------------------------------------------- entities

void TZuScriptVariable::FailConstant() const {
  throw EZuScriptError(nullptr, "Value can't be assign to constant \"" + Name + "\"");
}

TZuScriptArray::TZuScriptArray(std::string name, int32_t size, TZuScript* owner)
    : TZuScriptRoot(std::move(name), kKindArray, owner) {
  SetSize(size);
}

void TZuScriptArray::SetSize(int32_t n) {
  // A negative size is refused by the Array statement; here it gives an
  // array without elements rather than a huge allocation.
  Size = std::max<int32_t>(n, 0);
  Items.assign(static_cast<size_t>(Size), ScriptValue());
}

const ScriptValue& TZuScriptArray::GetItem(int32_t index) const {
  if (index < 0 || index >= Size)
    throw EZuScriptError(nullptr, "Index of array " + Name + " is out of bounds");
  return Items[static_cast<size_t>(index)];
}

void TZuScriptArray::SetItem(int32_t index, const ScriptValue& value) {
  if (index < 0 || index >= Size)
    throw EZuScriptError(nullptr, "Index of array " + Name + " is out of bounds");
  Items[static_cast<size_t>(index)] = value;
}

// ---------------------------------------------------------------- TZuScript

TZuScript::TZuScript(std::string name, TZuScript* owner)
    : TZuScriptRoot(std::move(name), kKindScript, owner) {
  if (owner != nullptr) {
    context_ = &owner->Context();
  } else {
    ownContext_ = std::make_unique<TZuRunContext>();
    context_ = ownContext_.get();
  }
}

void TZuScript::SetContext(TZuRunContext* context) {
  context_ = context;
  // A context of its own that was never used gives way to the one given.
  if (ownContext_ != nullptr && ownContext_.get() != context) ownContext_.reset();
}

TZuScript::~TZuScript() {
  // Instances kept for an error report go first: their objects refer to
  // modules that the lists below still hold. Idle instances hold nothing
  // of the kind, but refer to this script's table.
  if (ownContext_) ownContext_->Abandoned.clear();
  while (idle_ != nullptr) delete std::exchange(idle_, idle_->nextIdle_);
  IncludePath.clear();
  Source.clear();
  ParamNames.clear();
  // Module functions, objects and classes are released before the modules
  // they come from are stopped and unloaded.
  ExtFuncList.Clear();
  ObjectList.Clear();
  ClassList.Clear();
  ModuleList.Clear();
  FuncList.Clear();
  ArrayList.Clear();
  PreVarList.Clear();
  VarList.Clear();
  EnvList.Clear();
}

void TZuScript::Fail(const std::string& message) { throw EZuScriptError(this, message); }

[[gnu::noinline]] void TZuScript::Fail(const char* message) { throw EZuScriptError(this, message); }

[[gnu::noinline]] void TZuScript::Fail3(const char* prefix, std::string_view text,
                                        const char* suffix) {
  std::string message(prefix);
  message.append(text);
  message += suffix;
  throw EZuScriptError(this, message);
}

[[gnu::noinline]] void TZuScript::FailNested(const char* what) {
  Fail(std::string(what) + " nested too deeply");
}

namespace {

// Walks the owner chain until list(script) holds the name.
template <typename Entity, typename ListOf>
Entity* FindInChain(TZuScript* script, std::string_view name, ListOf list) {
  for (TZuScript* s = script; s != nullptr; s = s->Owner) {
    if (TZuScriptRoot* found = (s->*list).Find(name)) return static_cast<Entity*>(found);
  }
  return nullptr;
}

}  // namespace

TZuScriptVariable* TZuScript::FindEnv(std::string_view name) {
  return FindInChain<TZuScriptVariable>(this, name, &TZuScript::EnvList);
}
TZuScriptVariable* TZuScript::FindVar(std::string_view name) {
  return FindInChain<TZuScriptVariable>(this, name, &TZuScript::VarList);
}
TZuScriptArray* TZuScript::FindArray(std::string_view name) {
  return FindInChain<TZuScriptArray>(this, name, &TZuScript::ArrayList);
}
TZuScript* TZuScript::FindFunc(std::string_view name) {
  return FindInChain<TZuScript>(this, name, &TZuScript::FuncList);
}
TZuScriptFunction* TZuScript::FindExtFunc(std::string_view name) {
  return FindInChain<TZuScriptFunction>(this, name, &TZuScript::ExtFuncList);
}
TZuScriptClass* TZuScript::FindClass(std::string_view name) {
  return FindInChain<TZuScriptClass>(this, name, &TZuScript::ClassList);
}
TZuScriptObject* TZuScript::FindObject(std::string_view name) {
  return FindInChain<TZuScriptObject>(this, name, &TZuScript::ObjectList);
}

void TZuScript::InstantiateFrom(const TZuScript& definition) {
  VarList.Clear();
  ArrayList.Clear();
  FuncList.Clear();
  for (int i = 0; i < definition.FuncList.Count(); ++i) {
    const auto& nested = static_cast<const TZuScript&>(*definition.FuncList.Get(i));
    auto copy = std::make_unique<TZuScript>(nested.Name, this);
    copy->InstantiateFrom(nested);
    FuncList.Add(std::move(copy));
  }
  // A copy owns its table; its statements are compiled anew when they run.
  code_ = nullptr;
  compiled_.clear();
  frameCode_ = nullptr;
  Statements = definition.StatementTable();
  StatementCount = definition.StatementCount;
  CurrentStatement = definition.CurrentStatement;
  FileName = definition.FileName;
  ParamNames = definition.ParamNames;
  IncludedFiles = definition.IncludedFiles;
  // The body's lines are needed only to locate an error in a script that
  // has no file; a file-backed instance is located through its file, so the
  // copy is skipped on the hot path of every call.
  if (definition.FileName.empty()) Source = definition.Source;
}

void TZuScript::DefineConstant(const std::string& name, const std::string& text) {
  if (auto* existing = static_cast<TZuScriptVariable*>(EnvList.Find(name))) {
    try {
      existing->SetValue(ScriptValue::Text(text));
    } catch (EZuScriptError& e) {
      if (e.Script == nullptr) e.Script = this;
      throw;
    }
    return;
  }
  EnvList.Add(std::make_unique<TZuScriptVariable>(name, true, ScriptValue::Text(text), this));
}

}  // namespace zu
