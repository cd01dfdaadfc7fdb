// Calls: arguments evaluated first to last, then dispatch to an object
// method, a user function, a module function or a built-in. A user function
// runs in an instance that shares the definition's statements and keeps its
// parameters, true, false and result in a frame; instances wait in the
// definition's pool between calls, so a call allocates nothing.
#include <exception>

#include "engine/builtins/builtins.h"
#include "engine/evaluator/compiled.h"
#include "engine/run_scopes.h"
#include "engine/script.h"

namespace zu {

namespace {

// Instances a definition keeps for later calls; a deeper recursion makes
// more, which are freed when their call ends.
constexpr size_t kMaxIdleInstances = 256;
// Argument lists kept for reuse.
constexpr size_t kMaxArgumentLists = 256;
// A run or call executes the statement indexes 0 .. kLastStatement only.
constexpr int32_t kLastStatement = 999999;

// Keeps the call depth for one user-function call and, when an error leaves
// the call, hands the instance to the run context: the error names it, and
// the host reads its name and statement table for the report.
class CallScope {
 public:
  CallScope(TZuRunContext& context, std::unique_ptr<TZuScript>& instance)
      : context_(context), instance_(instance), uncaught_(std::uncaught_exceptions()) {
    ++context_.CallDepth;
  }
  ~CallScope() {
    --context_.CallDepth;
    if (std::uncaught_exceptions() > uncaught_) context_.Abandoned.push_back(std::move(instance_));
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  TZuRunContext& context_;
  std::unique_ptr<TZuScript>& instance_;
  int uncaught_;
};

// An argument list taken from the run's spares and given back after the call.
class ArgumentList {
 public:
  explicit ArgumentList(TZuRunContext& context) : context_(context) {
    if (!context_.ArgumentLists.empty()) {
      values_ = std::move(context_.ArgumentLists.back());
      context_.ArgumentLists.pop_back();
    }
  }
  ~ArgumentList() {
    values_.clear();
    if (context_.ArgumentLists.size() < kMaxArgumentLists)
      context_.ArgumentLists.push_back(std::move(values_));
  }
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;
  std::vector<ScriptValue>& Values() { return values_; }

 private:
  TZuRunContext& context_;
  std::vector<ScriptValue> values_;
};

}  // namespace

ScriptValue TZuScript::EvaluateCall(TZuCall& call) {
  // Every argument is evaluated, first to last, before the callee is sought.
  ArgumentList list(Context());
  std::vector<ScriptValue>& args = list.Values();
  for (TZuExpression& argument : call.Arguments) args.push_back(EvaluateCompiled(argument));

  if (call.IsMethod) return ObjectAt(call.Object, "\" not found").CallMethod(call.Method, args);
  if (TZuScript* definition = LookupFunc(call.Function)) {
    if (definition->ParamNames.size() != args.size())
      FailArgumentCount(call.Name.View(), call.ArgumentText.View());
    return CallUserFunction(*definition, args, call.Name.View());
  }
  if (TZuScriptFunction* function = LookupExtFunc(call.Module)) return function->CallFunction(args);
  // A built-in name is resolved once; a user or module function of the
  // same name, found above, still comes first.
  if (call.Builtin == TZuCall::kBuiltinUnresolved) call.Builtin = FindBuiltin(call.Name.View());
  if (call.Builtin < 0) Fail3("Unknow function: \"", call.Name.View(), "\"");
  return CallBuiltinAt(call.Builtin, *this, call.Name.View(), args, call.ArgumentText.View());
}

[[gnu::noinline]] void TZuScript::FailTooManyArguments(std::string_view name,
                                                       std::string_view argumentText) {
  Fail("Too many arguments (more than " + std::to_string(kMaxCallArguments) +
       "): " + std::string(name) + "(" + std::string(argumentText) + ")");
}

[[gnu::noinline]] void TZuScript::FailArgumentCount(std::string_view name,
                                                    std::string_view argumentText) {
  Fail("Invalid number of arguments: " + std::string(name) + "(" + std::string(argumentText) + ")");
}

[[gnu::noinline]] void TZuScript::FailCallDepth(std::string_view name) {
  Fail("Too many nested function calls (more than " + std::to_string(kMaxCallDepth) +
       ") in call of \"" + std::string(name) + "\"");
}

ScriptValue TZuScript::CallUserFunction(TZuScript& definition, std::vector<ScriptValue>& args,
                                        std::string_view name) {
  TZuRunContext& context = Context();
  if (context.CallDepth >= kMaxCallDepth) FailCallDepth(name);
  // The instance looks names up through the definition's owner, not the
  // caller: a function sees its own locals, then its script's globals.
  std::unique_ptr<TZuScript> instance = definition.TakeInstance();
  CallScope scope(context, instance);
  ScriptValue result = instance->CallInFrame(args);
  definition.ReturnInstance(std::move(instance));
  return result;
}

std::unique_ptr<TZuScript> TZuScript::TakeInstance() {
  if (!idle_.empty()) {
    std::unique_ptr<TZuScript> instance = std::move(idle_.back());
    idle_.pop_back();
    return instance;
  }
  auto instance = std::make_unique<TZuScript>(Name, Owner);
  instance->SetContext(&Context());
  instance->ShareCodeOf(*this);
  return instance;
}

void TZuScript::ReturnInstance(std::unique_ptr<TZuScript> instance) {
  if (idle_.size() < kMaxIdleInstances) idle_.push_back(std::move(instance));
}

void TZuScript::ShareCodeOf(TZuScript& definition) {
  // What InstantiateFrom copies, except the statement table, which is the
  // definition's own (and with it the compiled statements).
  VarList.Clear();
  ArrayList.Clear();
  FuncList.Clear();
  for (int i = 0; i < definition.FuncList.Count(); ++i) {
    auto& nested = static_cast<TZuScript&>(*definition.FuncList.Get(i));
    auto copy = std::make_unique<TZuScript>(nested.Name, this);
    copy->SetContext(&Context());
    copy->ShareCodeOf(nested);
    FuncList.Add(std::move(copy));
  }
  code_ = definition.CodeOwner();
  StatementCount = definition.StatementCount;
  CurrentStatement = definition.CurrentStatement;
  FileName = definition.FileName;
  ParamNames = definition.ParamNames;
  IncludedFiles = definition.IncludedFiles;
  if (definition.FileName.empty()) Source = definition.Source;
  frameCode_ = nullptr;
}

bool TZuScript::HasFrame() const {
  return frameCode_ != nullptr && frameCode_ == CodeOwner() &&
         VarList.Generation() == frameGeneration_;
}

ScriptValue TZuScript::CallInFrame(std::vector<ScriptValue>& args) {
  // Call and Execute in one, with the frame of the last call reused: its
  // variables are the same entities, so only their values are set.
  const size_t params = ParamNames.size();
  if (!HasFrame()) {
    ArrayList.Clear();
    VarList.Clear();
    if (params != args.size())
      Fail("Invalid number of arguments (must be " + std::to_string(params) + ")");
    frameVars_.clear();
    for (size_t i = 0; i < params; ++i) {
      frameVars_.push_back(static_cast<TZuScriptVariable*>(VarList.Add(
          std::make_unique<TZuScriptVariable>(ParamNames[i], false, std::move(args[i]), this))));
    }
    frameVars_.push_back(static_cast<TZuScriptVariable*>(VarList.Add(
        std::make_unique<TZuScriptVariable>("true", true, ScriptValue::Boolean(true), this))));
    frameVars_.push_back(static_cast<TZuScriptVariable*>(VarList.Add(
        std::make_unique<TZuScriptVariable>("false", true, ScriptValue::Boolean(false), this))));
    frameVars_.push_back(static_cast<TZuScriptVariable*>(
        VarList.Add(std::make_unique<TZuScriptVariable>("result", false, ScriptValue(), this))));
    frameCode_ = CodeOwner();
    frameGeneration_ = VarList.Generation();
  } else {
    for (size_t i = 0; i < params; ++i) frameVars_[i]->Value = std::move(args[i]);
  }
  ObjectList.Clear();
  ScriptValue result;
  {
    ActiveScriptScope active(Context(), this);
    ExecuteRange(0, kLastStatement);
    result = std::move(frameVars_[params + 2]->Value);
  }
  // Ready for the next call: objects, arrays and locals freed in the order
  // freeing the instance freed them, values released, the frame kept.
  ObjectList.Clear();
  ArrayList.Clear();
  for (size_t i = 0; i < params; ++i) frameVars_[i]->Value = ScriptValue();
  frameVars_[params + 2]->Value = ScriptValue();
  if (static_cast<size_t>(VarList.Count()) > frameVars_.size()) {
    VarList.RemoveUnless([this](TZuScriptRoot* e) {
      for (TZuScriptVariable* v : frameVars_)
        if (v == e) return true;
      return false;
    });
    frameGeneration_ = VarList.Generation();
  }
  return result;
}

}  // namespace zu
