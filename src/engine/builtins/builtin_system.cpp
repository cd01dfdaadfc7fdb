// Built-ins that reach the system: Exec, Sleep, Beep, and Env, which reads
// the script's environment constants (never the process environment).
#include <cstdint>
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#include "platform/platform.h"
#include "support/errors.h"

namespace zu {

// A failed start is not reported, and wait is converted only when there is
// a process to wait for.
ScriptValue BuiltinExec(TZuScript&, const BuiltinArgs& args) {
  const std::string file = ToText(args[0]);
  const std::string parameters = ToText(args[1]);
  platform::Process process = platform::StartProcess(file, parameters);
  if (process.IsStarted() && ToBoolean(args[2])) process.Wait();
  return ScriptValue();
}

// The count is unsigned 32-bit: -1 waits forever.
ScriptValue BuiltinSleep(TZuScript&, const BuiltinArgs& args) {
  platform::Sleep(static_cast<uint32_t>(ToInteger(args[0])));
  return ScriptValue();
}

ScriptValue BuiltinBeep(TZuScript&, const BuiltinArgs&) {
  platform::Beep();
  return ScriptValue();
}

// The not-found message is assembled with the add operation from the
// argument value itself, so an argument that is no text reports the add
// operation's own conversion failure rather than a made-up name.
ScriptValue BuiltinEnv(TZuScript& script, const BuiltinArgs& args) {
  const std::string name = ToText(args[0]);
  if (const TZuScriptVariable* constant = script.FindEnv(name)) return constant->Value;
  const ScriptValue message =
      AddValues(AddValues(ScriptValue::Text("Environment variable \""), args[0]),
                ScriptValue::Text("\" not found"));
  throw EZuScriptError(&script, ToText(message));
}

}  // namespace zu
