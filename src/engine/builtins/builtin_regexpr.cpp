// The two regular-expression built-ins. Compiling and matching belong to the
// regular-expression engine, which keeps compiled programs between calls;
// its errors (ERegExpr failures) pass through unchanged.
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#include "regexpr/regexpr.h"

namespace zu {

ScriptValue BuiltinRegExpr(TZuScript&, const BuiltinArgs& args) {
  const std::string pattern = ToText(args[0]);
  const std::string s = ToText(args[1]);
  return ScriptValue::Boolean(RegExprMatch(pattern, s));
}

// The replacement is inserted literally.
ScriptValue BuiltinReplaceRegExpr(TZuScript&, const BuiltinArgs& args) {
  const std::string pattern = ToText(args[0]);
  const std::string s = ToText(args[1]);
  const std::string replacement = ToText(args[2]);
  return ScriptValue::Text(RegExprReplace(pattern, s, replacement));
}

}  // namespace zu
