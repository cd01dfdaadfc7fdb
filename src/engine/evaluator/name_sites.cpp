// Name lookups of compiled code: the owner-chain walk of FindVar, FindArray,
// FindFunc, FindExtFunc and FindObject for a name written in the code.
#include "engine/evaluator/compiled.h"

namespace zu {

TZuScriptVariable* TZuScript::LookupVar(TZuNameSite& site) { return FindVar(site.Name); }

TZuScriptArray* TZuScript::LookupArray(TZuNameSite& site) { return FindArray(site.Name); }

TZuScript* TZuScript::LookupFunc(TZuNameSite& site) { return FindFunc(site.Name); }

TZuScriptFunction* TZuScript::LookupExtFunc(TZuNameSite& site) { return FindExtFunc(site.Name); }

TZuScriptObject* TZuScript::LookupObject(TZuNameSite& site) { return FindObject(site.Name); }

}  // namespace zu
