// The two regular-expression built-ins. Compiling and matching belong to the
// regular-expression engine; compiled programs are kept in the run's cache,
// which this file alone creates and frees. The engine's errors (ERegExpr
// failures) pass through unchanged.
#include <memory>
#include <string>

#include "engine/builtins/builtin_ops.h"
#include "engine/script.h"
#include "regexpr/regexpr.h"

namespace zu {

TZuRunContext::TZuRunContext() = default;
TZuRunContext::~TZuRunContext() = default;

namespace {

TRegExprCache& CacheOf(TZuScript& script) {
  std::unique_ptr<TRegExprCache>& cache = script.Context().RegExprCache;
  if (!cache) cache = std::make_unique<TRegExprCache>();
  return *cache;
}

}  // namespace

// The texts are read in place: a Text argument is not copied.
ScriptValue BuiltinRegExpr(TZuScript& script, const BuiltinArgs& args) {
  const TextOf pattern(args[0]);
  const TextOf s(args[1]);
  return ScriptValue::Boolean(RegExprMatch(CacheOf(script), pattern.View(), s.View()));
}

// The replacement is inserted literally.
ScriptValue BuiltinReplaceRegExpr(TZuScript& script, const BuiltinArgs& args) {
  const TextOf pattern(args[0]);
  const TextOf s(args[1]);
  const TextOf replacement(args[2]);
  return ScriptValue::Text(
      RegExprReplace(CacheOf(script), pattern.View(), s.View(), replacement.View()));
}

}  // namespace zu
