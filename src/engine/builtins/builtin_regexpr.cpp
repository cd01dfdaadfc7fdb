// The two regular-expression built-ins. Compiling and matching belong to the
// regular-expression engine; compiled programs are kept in the run's cache.
// Its errors (ERegExpr failures) pass through unchanged.
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#include "regexpr/regexpr.h"

namespace zu {

ScriptValue BuiltinRegExpr(TZuScript& script, const BuiltinArgs& args) {
  const std::string pattern = ToText(args[0]);
  const std::string s = ToText(args[1]);
  return ScriptValue::Boolean(RegExprMatch(script.Context().RegExprCache, pattern, s));
}

// The replacement is inserted literally.
ScriptValue BuiltinReplaceRegExpr(TZuScript& script, const BuiltinArgs& args) {
  const std::string pattern = ToText(args[0]);
  const std::string s = ToText(args[1]);
  const std::string replacement = ToText(args[2]);
  return ScriptValue::Text(RegExprReplace(script.Context().RegExprCache, pattern, s, replacement));
}

}  // namespace zu
