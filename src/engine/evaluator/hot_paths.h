// The inline paths of compiled code: name lookups (the owner-chain walk of
// FindVar, FindArray, FindFunc, FindExtFunc and FindObject, remembered where
// the name is written and reused while no entity list of the run has
// changed), operands, two-Integer operators, and whole expressions made of
// names and constants only.
#pragma once

#include "engine/evaluator/compiled.h"

namespace zu {

namespace name_sites {

// The first match through the chain that starts at script, as the Find
// functions give it. A script whose list is empty cannot hold the name, so
// the cache is keyed by the first script that has entries: every function
// instance without locals of its own then shares one entry.
template <TZuScriptObjList TZuScript::*List>
[[gnu::noinline]] TZuScriptRoot* LookupThroughChain(TZuScript& script, TZuNameSite& site) {
  const uint64_t epoch = script.Context().ListEpoch;
  TZuScript* first = &script;
  while ((first->*List).Count() == 0) {
    first = first->Owner;
    if (first == nullptr) {
      // No list of the chain has entries: nothing can match until one of
      // them changes, which moves the epoch. Remembered under the starting
      // script (every built-in call of a script without functions or
      // modules asks this twice).
      site.Key = &script;
      site.Epoch = epoch;
      site.Found = nullptr;
      return nullptr;
    }
  }
  if (site.Key == first && site.Epoch == epoch) return site.Found;
  TZuScriptRoot* found = nullptr;
  for (TZuScript* s = first; s != nullptr && found == nullptr; s = s->Owner)
    found = (s->*List).Find(site.Name, site.Hash);
  site.Key = first;
  site.Epoch = epoch;
  site.Found = found;
  return found;
}

// Whether the site's remembered lookup holds for script under the run's
// epoch: it was made for this very script (its list had entries then and
// has not changed since, so it is still the first one that has entries), or
// for its owner while its own list is empty (a function instance looking up
// its script's functions).
template <TZuScriptObjList TZuScript::*List>
inline bool Remembered(const TZuScript& script, const TZuNameSite& site, uint64_t epoch) {
  if (site.Epoch != epoch) return false;
  return site.Key == &script || (site.Key == script.Owner && (script.*List).Count() == 0);
}

template <TZuScriptObjList TZuScript::*List>
inline TZuScriptRoot* Lookup(TZuScript& script, TZuNameSite& site) {
  if (Remembered<List>(script, site, script.Context().ListEpoch)) return site.Found;
  return LookupThroughChain<List>(script, site);
}

}  // namespace name_sites

// value := value OP right through ApplyOperator (out of line: it is the
// rare path of Combine).
void CombineValues(ScriptValue& value, const TZuExpression::OperatorSlot& op,
                   const ScriptValue& right);

// a OP b for two Integers, for the operators a loop counter or a recursion
// needs: an Integer, a Boolean, or nothing for every other operator and for
// an overflow or a division rule, which ApplyOperator handles.
struct IntegerResult {
  enum Kind : uint8_t { kNone, kInteger, kBoolean };
  Kind Type = kNone;
  int32_t Value = 0;
};

inline IntegerResult IntegerOperation(Operator op, int32_t a, int32_t b) {
  int32_t r;
  switch (op) {
    case Operator::Add:
      if (__builtin_add_overflow(a, b, &r)) return {};
      return {IntegerResult::kInteger, r};
    case Operator::Subtract:
      if (__builtin_sub_overflow(a, b, &r)) return {};
      return {IntegerResult::kInteger, r};
    case Operator::Mod:
      if (b == 0 || b == -1) return {};  // a failure, or a quotient out of range
      return {IntegerResult::kInteger, a % b};
    case Operator::Less:
      return {IntegerResult::kBoolean, a < b};
    case Operator::Greater:
      return {IntegerResult::kBoolean, a > b};
    case Operator::Equal:
      return {IntegerResult::kBoolean, a == b};
    default:
      return {};
  }
}

// value := value OP right, with two Integers computed here; everything
// else, overflow included, goes to ApplyOperator.
inline void Combine(ScriptValue& value, const TZuExpression::OperatorSlot& op,
                    const ScriptValue& right) {
  if (value.Kind() == ValueKind::Integer && right.Kind() == ValueKind::Integer) {
    const IntegerResult r =
        IntegerOperation(op.Code, value.IntegerPayload(), right.IntegerPayload());
    if (r.Type == IntegerResult::kInteger) {
      value.AssignInteger(r.Value);
      return;
    }
    if (r.Type == IntegerResult::kBoolean) {
      value.AssignBoolean(r.Value != 0);
      return;
    }
  }
  CombineValues(value, op, right);
}

inline TZuScriptVariable* TZuScript::FrameEntry(const TZuNameSite& site) const {
  // A parameter, true, false or result of the running function: no other
  // entity of its list can match the name before it (a name is never added
  // twice while the frame stands), so the lookup would find this one.
  if (site.FrameCode != nullptr && site.FrameCode == frameCode_ &&
      VarList.Generation() == frameGeneration_)
    return frameVars_[static_cast<size_t>(site.FrameSlot)];
  return nullptr;
}

inline TZuScriptVariable* TZuScript::LookupVar(TZuNameSite& site) {
  if (TZuScriptVariable* variable = FrameEntry(site)) return variable;
  return static_cast<TZuScriptVariable*>(name_sites::Lookup<&TZuScript::VarList>(*this, site));
}

inline const ScriptValue* TZuScript::PeekOperand(const TZuOperand& operand) const {
  if (operand.Type == TZuOperand::kConstant) return &operand.Constant;
  if (operand.Type != TZuOperand::kName) return nullptr;
  const TZuNameSite& site = operand.Variable;
  if (const TZuScriptVariable* variable = FrameEntry(site)) return &variable->Value;
  if (!name_sites::Remembered<&TZuScript::VarList>(*this, site, context_->ListEpoch) ||
      site.Found == nullptr)
    return nullptr;
  return &static_cast<const TZuScriptVariable*>(site.Found)->Value;
}

inline IntegerResult TZuScript::PeekIntegerOperation(const TZuExpression& e) const {
  // Two Integers read in place where a constant, a frame entry or a
  // remembered lookup holds them.
  const TZuOperand* operands = e.Operands.data();
  const ScriptValue* left = PeekOperand(operands[0]);
  const ScriptValue* right = PeekOperand(operands[1]);
  if (left == nullptr || right == nullptr || left->Kind() != ValueKind::Integer ||
      right->Kind() != ValueKind::Integer)
    return {};
  return IntegerOperation(e.Operators[0].Code, left->IntegerPayload(), right->IntegerPayload());
}

inline const ScriptValue* TZuScript::DirectOperand(TZuOperand& operand) {
  if (operand.Type == TZuOperand::kConstant) return &operand.Constant;
  if (operand.Type == TZuOperand::kName) {
    if (const TZuScriptVariable* variable = LookupVar(operand.Variable)) return &variable->Value;
  }
  return nullptr;
}

inline ScriptValue TZuScript::SimpleOperandValue(TZuOperand& operand) {
  if (operand.Type == TZuOperand::kConstant) return operand.Constant;
  if (operand.Type == TZuOperand::kGroup) return EvaluateSimple(*operand.Group);
  if (const TZuScriptVariable* variable = LookupVar(operand.Variable)) return variable->Value;
  return EvaluateOperandNode(operand, 0);  // raises the "not defined" error
}

inline ScriptValue TZuScript::OperandValue(TZuOperand& operand, uint32_t depth) {
  switch (operand.Type) {
    case TZuOperand::kName:
      if (const TZuScriptVariable* variable = LookupVar(operand.Variable)) return variable->Value;
      break;
    case TZuOperand::kConstant:
      return operand.Constant;
    case TZuOperand::kGroup:
      return Evaluate(*operand.Group);
    case TZuOperand::kCall:
      return EvaluateCall(*operand.Call);
    default:
      break;
  }
  return EvaluateOperandNode(operand, depth);
}

[[gnu::always_inline]] inline ScriptValue TZuScript::Evaluate(TZuExpression& expression) {
  if (TZuExpression* simple = expression.Shortcut) {
    // One name or one constant, the usual argument or assigned value: taken
    // here, without a call.
    if (expression.Form == TZuExpression::kOneOperand)
      return SimpleOperandValue(simple->Operands[0]);
    if (expression.Form == TZuExpression::kTwoOperands) return EvaluateTwo(*simple);
    return EvaluateSimple(*simple);
  }
  return EvaluateCompiled(expression);
}

inline bool TZuScript::EvaluateCondition(TZuExpression& expression) {
  // A comparison of two Integers, the usual condition, is decided without
  // making its Boolean value.
  if (expression.Form == TZuExpression::kTwoOperands) {
    const int decided = CompareTwo(*expression.Shortcut);
    if (decided >= 0) return decided != 0;
  }
  return ToBoolean(Evaluate(expression));
}

inline TZuScriptArray* TZuScript::LookupArray(TZuNameSite& site) {
  return static_cast<TZuScriptArray*>(name_sites::Lookup<&TZuScript::ArrayList>(*this, site));
}

inline TZuScript* TZuScript::LookupFunc(TZuNameSite& site) {
  return static_cast<TZuScript*>(name_sites::Lookup<&TZuScript::FuncList>(*this, site));
}

inline TZuScriptFunction* TZuScript::LookupExtFunc(TZuNameSite& site) {
  return static_cast<TZuScriptFunction*>(name_sites::Lookup<&TZuScript::ExtFuncList>(*this, site));
}

inline TZuScriptObject* TZuScript::LookupObject(TZuNameSite& site) {
  return static_cast<TZuScriptObject*>(name_sites::Lookup<&TZuScript::ObjectList>(*this, site));
}

}  // namespace zu
