// Calls: arguments evaluated first to last, then dispatch to an object
// method, a user function (a fresh instance per call), a module function or
// a built-in.
#include <exception>

#include "engine/builtins/builtins.h"
#include "engine/evaluator/compiled.h"
#include "engine/script.h"

namespace zu {

namespace {

// Argument lists kept for reuse.
constexpr size_t kMaxArgumentLists = 256;

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
  return CallBuiltin(*this, call.Name.View(), args, call.ArgumentText.View());
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
  auto instance = std::make_unique<TZuScript>(definition.Name, definition.Owner);
  instance->SetContext(&context);
  instance->InstantiateFrom(definition);
  CallScope scope(context, instance);
  return instance->Call(args);
}

}  // namespace zu
