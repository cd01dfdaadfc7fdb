// Calls by name: argument splitting, then dispatch to an object method, a
// user function (a fresh instance per call), a module function or a built-in.
#include <exception>

#include "engine/builtins/builtins.h"
#include "engine/script.h"

namespace zu {

namespace {

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

}  // namespace

ScriptValue TZuScript::CallNamed(std::string_view name, std::string_view argumentText) {
  // Split: a quote or "(" makes the next matching character awaited, and
  // until it comes every character belongs to the argument. There is no
  // nesting count: the first ")" after a "(" ends the wait. Only the comma
  // positions are kept: this frame is part of every level of recursion.
  uint32_t commaAt[kMaxCallArguments];
  int commas = 0;
  char awaited = 0;
  for (size_t i = 0; i < argumentText.size(); ++i) {
    const char c = argumentText[i];
    if (awaited != 0) {
      if (c == awaited) awaited = 0;
    } else if (c == '"' || c == '\'') {
      awaited = c;
    } else if (c == '(') {
      awaited = ')';
    } else if (c == ',') {
      if (commas >= kMaxCallArguments) FailTooManyArguments(name, argumentText);
      commaAt[commas++] = static_cast<uint32_t>(i);
    }
  }
  const size_t lastStart = commas == 0 ? 0 : commaAt[commas - 1] + 1;
  const int count = lastStart >= argumentText.size() ? commas : commas + 1;
  if (count > kMaxCallArguments) FailTooManyArguments(name, argumentText);

  // Every argument is evaluated, first to last, before the callee is sought.
  std::vector<ScriptValue> args;
  args.reserve(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    const size_t from = k == 0 ? 0 : commaAt[k - 1] + 1;
    const size_t to = k < commas ? commaAt[k] : argumentText.size();
    args.push_back(Evaluate(argumentText.substr(from, to - from)));
  }

  const size_t dot = name.find('.');
  if (dot != std::string_view::npos)
    return ObjectOf(name, dot, "\" not found").CallMethod(std::string(name.substr(dot + 1)), args);
  if (TZuScript* definition = FindFunc(name)) {
    if (definition->ParamNames.size() != args.size()) FailArgumentCount(name, argumentText);
    return CallUserFunction(*definition, args, name);
  }
  if (TZuScriptFunction* function = FindExtFunc(name)) return function->CallFunction(args);
  return CallBuiltin(*this, name, args, argumentText);
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

[[gnu::noinline]] void TZuScript::FailCallDepth(std::string_view name) {
  Fail("Too many nested function calls (more than " + std::to_string(kMaxCallDepth) +
       ") in call of \"" + std::string(name) + "\"");
}

}  // namespace zu
