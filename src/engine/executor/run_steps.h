// The steps of running a statement table that every caller takes inline:
// a block, one statement, the taken branch of an If chain, and an
// assignment. The executor runs blocks and loop bodies with them, and a
// user-function call runs its body with them, without a call in between.
#pragma once

#include "engine/evaluator/hot_paths.h"
#include "engine/executor/compiled_statement.h"
#include "engine/script.h"

namespace zu {

[[gnu::always_inline]] inline void TZuScript::ExecuteAssignment(TZuCompiledStatement& statement) {
  // The expression first, always; only then is the target examined.
  ScriptValue value = Evaluate(statement.Expression);
  switch (statement.TargetKind) {
    case TZuCompiledStatement::kNoTarget:
      return;  // a call for its effect
    case TZuCompiledStatement::kElementTarget:
    case TZuCompiledStatement::kPropertyTarget:
      AssignMember(statement, value);
      return;
    case TZuCompiledStatement::kVariableTarget:
      break;
  }
  // Assignment is also declaration: an unknown name becomes a variable of
  // this script; a known one is changed wherever in the chain it lives.
  if (TZuScriptVariable* variable = LookupVar(statement.Name)) [[likely]] {
    variable->SetValue(std::move(value));
  } else {
    AddVariable(statement.NameText, std::move(value));
  }
}

[[gnu::always_inline]] inline void TZuScript::RunBranch(TZuScript& code, int32_t index,
                                                        const TZuCompiledStatement& statement) {
  // A branch of one assignment or call, such as both branches of a
  // recursive function's If: the steps ExecuteRange would take for it, in
  // place (without a stack check: the statement nests no deeper here than
  // the If itself, and its expression checks as it nests). An expression
  // statement never sets Signal (a function it calls runs in an instance of
  // its own), so the block ends after it.
  const int32_t first = index + 1;
  if (statement.OneStatementBranch) {
    Signal = kSignalNone;
    CurrentStatement = first;
    TZuCompiledStatement& body = code.CompiledAt(first);
    ExecuteAssignment(body);
    CurrentStatement = body.BlockEnd;
    return;
  }
  ExecuteRange(first, statement.BlockEnd - 1);
}

[[gnu::always_inline]] inline int32_t TZuScript::RunStatement(int32_t index) {
  // The table is not changed while it runs, so the record stays in place;
  // a function instance runs its definition's table and compiled forms.
  // Assignments and If chains are handled here; the rest out of line.
  TZuScript& code = *CodeOwner();
  TZuCompiledStatement& statement = code.CompiledAt(index);
  int32_t next = statement.BlockEnd;
  switch (statement.Kind) {
    case kStmtExpression:
      ExecuteAssignment(statement);
      return next;
    case kStmtIf:
    case kStmtElseIf:
      if (EvaluateCondition(statement.Expression)) {
        RunBranch(code, index, statement);
        // The branch was taken: the rest of the chain is skipped.
        return statement.ChainEnd;
      }
      return next;
    case kStmtElse:
      RunBranch(code, index, statement);
      return next;
    default:
      return RunOtherStatement(index, statement);
  }
}

[[gnu::always_inline]] inline void TZuScript::RunBlock(int32_t first, int32_t last) {
  // Blocks nest through ExecuteRange -> a block statement -> ExecuteRange.
  CheckStack("Blocks");
  Signal = kSignalNone;
  CurrentStatement = first;
  // The table does not change while it runs: the end is fixed, and the
  // index kept here is the one CurrentStatement holds whenever a statement
  // starts (nested blocks move CurrentStatement, the loop sets it again).
  const int32_t end = last < StatementCount ? last + 1 : StatementCount;
  try {
    for (int32_t index = first; index < end;) {
      const int32_t next = RunStatement(index);
      if (Signal == kSignalNone) {
        CurrentStatement = index = next;
        continue;
      }
      if (Signal == kSignalBreak || Signal == kSignalContinue) CheckInLoop();
      return;
    }
  } catch (EZuScriptError& e) {
    // Errors raised below the engine carry no script: they belong to this one.
    if (e.Script == nullptr) e.Script = this;
    throw;
  }
}

}  // namespace zu
