// The 42 built-in functions: one table drives lookup, the argument-count
// checks and dispatch.
#pragma once

#include <cstdint>
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

}  // namespace zu
