// The two regular-expression built-ins. Compiling and matching belong to the
// regular-expression engine, which keeps compiled programs between calls;
// its errors (ERegExpr failures) pass through unchanged.
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#if __has_include("regexpr/regexpr.h")
#include "regexpr/regexpr.h"
#else
// Until the regular-expression engine lands in the tree: its entry points
// as announced, failing cleanly so that the engine links meanwhile.
#include <string_view>

#include "support/errors.h"
namespace zu {
inline bool RegExprMatch(std::string_view, std::string_view) {
  throw EFailure(kRegExprError, "regular expressions are not built yet");
}
inline std::string RegExprReplace(std::string_view, std::string_view, std::string_view) {
  throw EFailure(kRegExprError, "regular expressions are not built yet");
}
}  // namespace zu
#endif

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
