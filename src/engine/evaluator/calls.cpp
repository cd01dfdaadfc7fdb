// Calls: arguments evaluated first to last, then dispatch to an object
// method, a user function, a module function or a built-in. A user function
// runs in an instance that shares the definition's statements and keeps its
// parameters, true, false and result in a frame; instances wait in the
// definition's pool between calls, so a call allocates nothing.
#include "engine/builtins/builtins.h"
#include "engine/evaluator/compiled.h"
#include "engine/evaluator/hot_paths.h"
#include "engine/executor/run_steps.h"
#include "engine/script.h"

namespace zu {

namespace {

// Instances a definition keeps for later calls; a deeper recursion makes
// more, which are freed when their call ends.
constexpr size_t kMaxIdleInstances = 256;
// A run or call executes the statement indexes 0 .. kLastStatement only.
constexpr int32_t kLastStatement = 999999;
// Arguments a call keeps in its own frame; a call with more puts them on the
// run's argument stack.
constexpr size_t kLocalArguments = 4;

// The arguments of one call on the run's argument stack, taken off again
// when the call ends (their storage stays for the next call).
class ArgumentFrame {
 public:
  explicit ArgumentFrame(std::vector<ScriptValue>& stack) : stack_(stack), base_(stack.size()) {}
  ~ArgumentFrame() { stack_.resize(base_); }
  ArgumentFrame(const ArgumentFrame&) = delete;
  ArgumentFrame& operator=(const ArgumentFrame&) = delete;
  std::span<ScriptValue> Values() { return {stack_.data() + base_, stack_.size() - base_}; }

 private:
  std::vector<ScriptValue>& stack_;
  size_t base_;
};

}  // namespace

[[gnu::always_inline]] inline ScriptValue TZuScript::Dispatch(TZuCall& call,
                                                              std::span<ScriptValue> args) {
  if (call.IsMethod) {
    TZuScriptObject& object = ObjectAt(call.Object, "\" not found");
    return object.CallMethod(call.Method, ModuleArgumentsOf(args));
  }
  if (TZuScript* definition = LookupFunc(call.Function)) {
    if (definition->ParamNames.size() != args.size())
      FailArgumentCount(call.Name.View(), call.ArgumentText.View());
    return CallUserFunction(*definition, args, call);
  }
  if (TZuScriptFunction* function = LookupExtFunc(call.Module))
    return function->CallFunction(ModuleArgumentsOf(args));
  // A built-in name is resolved once; a user or module function of the
  // same name, found above, still comes first.
  if (call.Builtin == TZuCall::kBuiltinUnresolved) call.Builtin = FindBuiltin(call.Name.View());
  if (call.Builtin < 0) Fail3("Unknow function: \"", call.Name.View(), "\"");
  return CallBuiltinAt(call.Builtin, *this, call.Name.View(), args, call.ArgumentText.View());
}

ScriptValue TZuScript::EvaluateCall(TZuCall& call) {
  // Every argument is evaluated, first to last, before the callee is sought.
  // A few arguments stay in this frame; more go onto the run's argument
  // stack, after the arguments of the calls that are in progress (an
  // argument may itself be a call).
  const size_t count = call.Arguments.size();
  if (count == 1) {
    // The most common call, without the bookkeeping of a list.
    ScriptValue argument = Evaluate(call.Arguments[0]);
    return Dispatch(call, std::span<ScriptValue>(&argument, 1));
  }
  if (count <= kLocalArguments) {
    ScriptValue local[kLocalArguments];
    for (size_t i = 0; i < count; ++i) local[i] = Evaluate(call.Arguments[i]);
    return Dispatch(call, std::span<ScriptValue>(local, count));
  }
  std::vector<ScriptValue>& stack = Context().ArgumentStack;
  ArgumentFrame frame(stack);
  for (TZuExpression& argument : call.Arguments) {
    ScriptValue value = Evaluate(argument);
    stack.push_back(std::move(value));
  }
  return Dispatch(call, frame.Values());
}

const std::vector<ScriptValue>& TZuScript::ModuleArgumentsOf(std::span<ScriptValue> args) {
  // A module call runs no script code, so one list serves every call.
  std::vector<ScriptValue>& list = Context().ModuleArguments;
  list.assign(args.begin(), args.end());
  return list;
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

inline TZuScript* TZuScript::TakeInstance() {
  if (idle_ != nullptr) {
    TZuScript* instance = idle_;
    idle_ = instance->nextIdle_;
    --idleCount_;
    return instance;
  }
  auto instance = std::make_unique<TZuScript>(Name, Owner);
  instance->SetContext(&Context());
  instance->ShareCodeOf(*this);
  return instance.release();
}

inline void TZuScript::ReturnInstance(TZuScript* instance) {
  if (idleCount_ >= kMaxIdleInstances) {
    delete instance;
    return;
  }
  instance->nextIdle_ = idle_;
  idle_ = instance;
  ++idleCount_;
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

[[gnu::noinline]] void TZuScript::BuildFrame(std::span<ScriptValue> args) {
  // What Call and Execute set up: parameters, then true, false and result.
  const size_t params = ParamNames.size();
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
}

[[gnu::noinline]] void TZuScript::ClearCallEntities() {
  // Objects, arrays and locals freed in the order freeing the instance
  // freed them; the frame stays. (Often there is nothing to free: some
  // other list of the run changed.)
  ObjectList.Clear();
  ArrayList.Clear();
  if (static_cast<size_t>(VarList.Count()) > frameVars_.size()) {
    VarList.RemoveUnless([this](TZuScriptRoot* e) {
      for (TZuScriptVariable* v : frameVars_)
        if (v == e) return true;
      return false;
    });
    frameGeneration_ = VarList.Generation();
  }
}

[[gnu::always_inline]] inline ScriptValue TZuScript::CallInFrame(std::span<ScriptValue> args) {
  // Call and Execute in one, with the frame of the last call reused: its
  // variables are the same entities, so only their values are set.
  const size_t params = args.size();
  if (!HasFrame()) [[unlikely]] {
    BuildFrame(args);
  } else {
    for (size_t i = 0; i < params; ++i) frameVars_[i]->Value = std::move(args[i]);
  }
  ObjectList.Clear();
  // This instance is the active script while it runs; when an error leaves
  // it, it stays the active one (the innermost), as ActiveScriptScope does.
  TZuRunContext& context = Context();
  TZuScript* const caller = context.Active;
  context.Active = this;
  // Every entity added to or removed from a list of the run moves the
  // epoch: while it stays, this instance holds its frame and nothing else.
  const uint64_t epoch = context.ListEpoch;
  RunBlock(0, kLastStatement);
  context.Active = caller;
  TZuScriptVariable* const* frame = frameVars_.data();
  ScriptValue result = std::move(frame[params + 2]->Value);
  // Ready for the next call: values released, the frame kept.
  for (size_t i = 0; i < params; ++i) frame[i]->Value.Clear();
  if (context.ListEpoch != epoch) [[unlikely]]
    ClearCallEntities();
  return result;
}

ScriptValue TZuScript::CallUserFunction(TZuScript& definition, std::span<ScriptValue> args,
                                        const TZuCall& call) {
  TZuRunContext& context = Context();
  if (context.CallDepth >= kMaxCallDepth) FailCallDepth(call.Name.View());
  // The instance looks names up through the definition's owner, not the
  // caller: a function sees its own locals, then its script's globals.
  TZuScript* instance = definition.TakeInstance();
  ++context.CallDepth;
  try {
    ScriptValue result = instance->CallInFrame(args);
    --context.CallDepth;
    definition.ReturnInstance(instance);
    return result;
  } catch (...) {
    // The error names the instance, and the host reads its name and
    // statement table for the report: it stays with the run context.
    --context.CallDepth;
    context.Abandoned.push_back(std::unique_ptr<TZuScript>(instance));
    throw;
  }
}

}  // namespace zu
