// Scopes that keep the run context right around the engine's entry points:
// the innermost script executing, and the top of the stack for the guard.
#pragma once

#include <exception>

#include "engine/script.h"

namespace zu {

// Makes script the active one for the scope. When an exception leaves the
// scope, Active keeps naming the innermost script, so the host can locate a
// failure that is not a script error.
class ActiveScriptScope {
 public:
  ActiveScriptScope(TZuRunContext& context, TZuScript* script)
      : context_(context), previous_(context.Active), uncaught_(std::uncaught_exceptions()) {
    context_.Active = script;
  }
  ~ActiveScriptScope() {
    if (std::uncaught_exceptions() == uncaught_) context_.Active = previous_;
  }
  ActiveScriptScope(const ActiveScriptScope&) = delete;
  ActiveScriptScope& operator=(const ActiveScriptScope&) = delete;

 private:
  TZuRunContext& context_;
  TZuScript* previous_;
  int uncaught_;
};

// Marks the top of the interpreter's stack when no outer engine call has.
class StackBaseScope {
 public:
  StackBaseScope(TZuRunContext& context, const void* top) : context_(context) {
    owns_ = context_.StackBase == 0;
    if (!owns_) return;
    // The stack grows downwards: the guard compares addresses with the
    // lowest one the engine may reach.
    context_.StackBase = reinterpret_cast<uintptr_t>(top);
    context_.StackLimit =
        context_.StackBase > context_.StackBudget ? context_.StackBase - context_.StackBudget : 0;
  }
  ~StackBaseScope() {
    if (!owns_) return;
    context_.StackBase = 0;
    context_.StackLimit = 0;
  }
  StackBaseScope(const StackBaseScope&) = delete;
  StackBaseScope& operator=(const StackBaseScope&) = delete;

 private:
  TZuRunContext& context_;
  bool owns_ = false;
};

}  // namespace zu
