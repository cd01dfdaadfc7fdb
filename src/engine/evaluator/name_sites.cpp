// Name lookups of compiled code: the owner-chain walk of FindVar, FindArray,
// FindFunc, FindExtFunc and FindObject, remembered where the name is written
// and reused while no entity list of the run has changed.
#include "engine/evaluator/compiled.h"

namespace zu {

namespace {

// The first match through the chain that starts at script, as the Find
// functions give it. A script whose list is empty cannot hold the name, so
// the cache is keyed by the first script that has entries: every function
// instance without locals of its own then shares one entry.
template <TZuScriptObjList TZuScript::*List>
TZuScriptRoot* Lookup(TZuScript& script, TZuNameSite& site) {
  TZuScript* first = &script;
  while ((first->*List).Count() == 0) {
    first = first->Owner;
    if (first == nullptr) return nullptr;
  }
  const uint64_t epoch = script.Context().ListEpoch;
  if (site.Key == first && site.Epoch == epoch) return site.Found;
  TZuScriptRoot* found = nullptr;
  for (TZuScript* s = first; s != nullptr && found == nullptr; s = s->Owner)
    found = (s->*List).Find(site.Name, site.Hash);
  site.Key = first;
  site.Epoch = epoch;
  site.Found = found;
  return found;
}

}  // namespace

TZuScriptVariable* TZuScript::LookupVar(TZuNameSite& site) {
  // A parameter, true, false or result of the running function: no other
  // entity of its list can match the name before it (a name is never added
  // twice while the frame stands), so the lookup would find this one.
  if (site.FrameCode != nullptr && site.FrameCode == frameCode_ && HasFrame())
    return frameVars_[static_cast<size_t>(site.FrameSlot)];
  return static_cast<TZuScriptVariable*>(Lookup<&TZuScript::VarList>(*this, site));
}

TZuScriptArray* TZuScript::LookupArray(TZuNameSite& site) {
  return static_cast<TZuScriptArray*>(Lookup<&TZuScript::ArrayList>(*this, site));
}

TZuScript* TZuScript::LookupFunc(TZuNameSite& site) {
  return static_cast<TZuScript*>(Lookup<&TZuScript::FuncList>(*this, site));
}

TZuScriptFunction* TZuScript::LookupExtFunc(TZuNameSite& site) {
  return static_cast<TZuScriptFunction*>(Lookup<&TZuScript::ExtFuncList>(*this, site));
}

TZuScriptObject* TZuScript::LookupObject(TZuNameSite& site) {
  return static_cast<TZuScriptObject*>(Lookup<&TZuScript::ObjectList>(*this, site));
}

}  // namespace zu
