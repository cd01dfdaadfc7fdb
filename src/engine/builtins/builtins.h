// The 42 built-in functions: one table drives lookup, the argument-count
// checks and dispatch.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "values/script_value.h"

namespace zu {

class TZuScript;

// Last step of a call by name: finds the built-in (A-Z case ignored), checks
// the argument count and runs it. Raises "Unknow function: \"NAME\"",
// "Too much arguments: NAME(ARGS)" or "Too few arguments: NAME(ARGS)" with
// NAME and ARGS as written.
ScriptValue CallBuiltin(TZuScript& script, std::string_view name,
                        const std::vector<ScriptValue>& args, std::string_view argumentText);

// Name and exact argument count of one built-in (a negative count: any).
struct BuiltinSignature {
  std::string_view Name;
  int32_t ArgCount;
};
// Every built-in, in table order (for tools and for the tests that hold the
// language reference and editor grammars to the table).
std::vector<BuiltinSignature> BuiltinSignatures();
// The same in two steps, so that a call site resolves its built-in once:
// the table index of the name (-1 when there is none), and the call of the
// built-in at that index (argument count checked, NAME and ARGS as written).
int FindBuiltin(std::string_view name);
ScriptValue CallBuiltinAt(int index, TZuScript& script, std::string_view name,
                          std::span<const ScriptValue> args, std::string_view argumentText);

}  // namespace zu
