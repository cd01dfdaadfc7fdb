// The compiled form of one statement record, made when the statement first
// runs: its text cut once into target and expressions the way each kind of
// statement reads it, with the messages of a malformed text kept for the
// moment they are due.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/evaluator/compiled.h"

namespace zu {

struct TZuCompiledStatement {
  // The record's kind and block end, copied here so that running the
  // statement reads one structure.
  uint8_t Kind = 0;
  int32_t BlockEnd = 0;
  // If, ElseIf and Else: whether the branch is one expression statement,
  // which runs in place. If and ElseIf: the first index after the chain
  // they begin, where the run goes on when their branch was taken.
  bool OneStatementBranch = false;
  int32_t ChainEnd = 0;
  // The record's text; every expression below points into it.
  std::unique_ptr<TZuSourceText> Source;

  // Expression and assignment: the expression, and the target when there is
  // one. Also the condition of If, ElseIf and While, the name of Delete, and
  // the value of Write.
  TZuExpression Expression;
  enum Target : uint8_t { kNoTarget, kVariableTarget, kElementTarget, kPropertyTarget };
  Target TargetKind = kNoTarget;
  TZuNameSite Name;    // variable target; the For variable; Read's variable; Write's stdout
  std::string NameText;  // a variable target or For variable, for creating it
  std::unique_ptr<TZuElement> Element;
  TZuNameSite Object;    // property target
  std::string Property;  // property target

  // Var and Const: one entry per declaration.
  struct Declaration {
    std::string Name;
    uint32_t Hash = 0;
    bool HasInitial = false;
    TZuExpression Initial;
  };
  std::vector<Declaration> Declarations;

  // For: the malformed-text message (null: none), the initial and the limit
  // expressions. Write: whether ">>" names a file, and its expression.
  const char* Malformed = nullptr;
  TZuExpression Second;
  bool Redirected = false;

  // Array: the expressions the declaration walk evaluates, in the order it
  // evaluates them (the walk is the same on every run of the text).
  std::vector<std::unique_ptr<TZuSourceText>> SlotTexts;
  std::vector<std::unique_ptr<TZuExpression>> Slots;
};

// Compiles the record's text for its kind; raises nothing.
std::unique_ptr<TZuCompiledStatement> CompileStatement(const TZuScript& code, uint8_t kind,
                                                       const std::string& text);

}  // namespace zu
