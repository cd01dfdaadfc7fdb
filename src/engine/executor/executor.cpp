// Running a script: Run and Call set up the predefined variables, Execute
// walks the statement table, and ExecuteStatement gives each statement kind
// its meaning (assignments, conditions, loops and control flow).
#include "engine/evaluator/hot_paths.h"
#include "engine/executor/compiled_statement.h"
#include "engine/executor/run_steps.h"
#include "engine/run_scopes.h"
#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {

namespace {

// A run or call executes the statement indexes 0 .. kLastStatement only
// (the loader refuses more records).
constexpr int32_t kLastStatement = kMaxStatements - 1;

}  // namespace

ScriptValue TZuScript::Run(const std::vector<std::string>& arguments) {
  TZuRunContext& context = Context();
  ActiveScriptScope active(context, this);
  char stackTop = 0;
  StackBaseScope base(context, &stackTop);
  try {
    ArrayList.Clear();
    VarList.Clear();
    const auto count = static_cast<int32_t>(arguments.size());
    VarList.Add(
        std::make_unique<TZuScriptVariable>("argc", false, ScriptValue::Integer(count), this));
    auto* argv = static_cast<TZuScriptArray*>(
        ArrayList.Add(std::make_unique<TZuScriptArray>("argv", count, this)));
    // Arguments arrive as finished texts: nothing in a parameter or in the
    // script's path is ever evaluated as code.
    for (int32_t i = 0; i < count; ++i)
      argv->SetItem(i, ScriptValue::Text(arguments[static_cast<size_t>(i)]));
    VarList.Add(std::make_unique<TZuScriptVariable>("stdout", false, ScriptValue::Text(""), this));
    for (int i = 0; i < PreVarList.Count(); ++i) {
      const auto* v = static_cast<const TZuScriptVariable*>(PreVarList.Get(i));
      VarList.Add(std::make_unique<TZuScriptVariable>(v->Name, v->IsConstant, v->Value, this));
    }
  } catch (EZuScriptError& e) {
    if (e.Script == nullptr) e.Script = this;
    throw;
  }
  return Execute();
}

ScriptValue TZuScript::Call(const std::vector<ScriptValue>& args) {
  ArrayList.Clear();
  VarList.Clear();
  if (ParamNames.size() != args.size())
    Fail("Invalid number of arguments (must be " + std::to_string(ParamNames.size()) + ")");
  for (size_t i = 0; i < args.size(); ++i)
    VarList.Add(std::make_unique<TZuScriptVariable>(ParamNames[i], false, args[i], this));
  return Execute();
}

ScriptValue TZuScript::Execute() {
  ActiveScriptScope active(Context(), this);
  VarList.Add(std::make_unique<TZuScriptVariable>("true", true, ScriptValue::Boolean(true), this));
  VarList.Add(
      std::make_unique<TZuScriptVariable>("false", true, ScriptValue::Boolean(false), this));
  auto* result = static_cast<TZuScriptVariable*>(
      VarList.Add(std::make_unique<TZuScriptVariable>("result", false, ScriptValue(), this)));
  ObjectList.Clear();
  ExecuteRange(0, kLastStatement);
  return result->Value;
}

[[gnu::noinline]] void TZuScript::AddVariable(const std::string& name, ScriptValue value) {
  VarList.Add(std::make_unique<TZuScriptVariable>(name, false, std::move(value), this));
}

[[gnu::noinline]] int32_t TZuScript::RunOtherStatement(int32_t index,
                                                     TZuCompiledStatement& statement) {
  const TZuScriptStatementDef& record = StatementTable()[static_cast<size_t>(index)];
  switch (record.Kind) {
    case kStmtConst:
    case kStmtVar:
      ExecuteVarConst(statement, record.Kind == kStmtConst);
      break;
    case kStmtArray:
      ExecuteArray(statement, record.Text);
      break;
    case kStmtFor:
      ExecuteFor(index, statement);
      break;
    case kStmtWhile:
      ExecuteWhile(index, statement);
      break;
    case kStmtBreak:
      Signal = kSignalBreak;
      break;
    case kStmtContinue:
      Signal = kSignalContinue;
      break;
    case kStmtExit:
      Signal = kSignalExit;
      break;
    case kStmtStop:
      Signal = kSignalStop;
      break;
    case kStmtRead:
      ExecuteRead(statement, record.Text);
      break;
    case kStmtWrite:
      ExecuteWrite(statement);
      break;
    case kStmtDelete:
      ExecuteDelete(statement);
      break;
    case kStmtObject:
      ExecuteObject(record.Text);
      break;
    default:
      Fail("Unknow keyword");
  }
  return record.BlockEnd;
}

void TZuScript::ExecuteRange(int32_t first, int32_t last) { RunBlock(first, last); }

void TZuScript::CheckInLoop() {
  // Break and Continue need a loop of this script around them.
  const std::vector<TZuScriptStatementDef>& table = StatementTable();
  for (int32_t j = CurrentStatement; j >= 0; --j) {
    const TZuScriptStatementDef& r = table[static_cast<size_t>(j)];
    if ((r.Kind == kStmtFor || r.Kind == kStmtWhile) && r.BlockEnd > CurrentStatement) return;
  }
  Fail("Unexpected Break or Continue statement");
}

TZuCompiledStatement& TZuScript::CompileAt(int32_t index) {
  if (compiled_.size() < static_cast<size_t>(StatementCount))
    compiled_.resize(static_cast<size_t>(StatementCount));
  std::unique_ptr<TZuCompiledStatement>& slot = compiled_[static_cast<size_t>(index)];
  const TZuScriptStatementDef& record = Statements[static_cast<size_t>(index)];
  slot = CompileStatement(*this, record.Kind, record.Text);
  slot->Kind = record.Kind;
  slot->BlockEnd = record.BlockEnd;
  if (record.Kind == kStmtIf || record.Kind == kStmtElseIf || record.Kind == kStmtElse) {
    // The table never changes while the script exists: where a branch
    // ends and where its chain ends are read once.
    const int32_t first = index + 1;
    slot->OneStatementBranch = record.BlockEnd == first + 1 &&
                               Statements[static_cast<size_t>(first)].Kind == kStmtExpression;
    int32_t next = record.BlockEnd;
    while (next < StatementCount) {
      const TZuScriptStatementDef& r = Statements[static_cast<size_t>(next)];
      if (r.Kind != kStmtElseIf && r.Kind != kStmtElse) break;
      next = r.BlockEnd;
    }
    slot->ChainEnd = next;
  }
  return *slot;
}

int32_t TZuScript::ExecuteStatement(int32_t index) {
  try {
    return RunStatement(index);
  } catch (EZuScriptError& e) {
    if (e.Script == nullptr) e.Script = this;
    throw;
  }
}

[[gnu::noinline]] void TZuScript::AssignMember(TZuCompiledStatement& statement,
                                               const ScriptValue& value) {
  if (statement.TargetKind == TZuCompiledStatement::kElementTarget) {
    int32_t index = 0;
    ElementAt(*statement.Element, "Invalid index expression", index).SetItem(index, value);
    return;
  }
  ObjectAt(statement.Object, "\" not defined").SetProperty(statement.Property, value);
}

void TZuScript::ExecuteFor(int32_t index, TZuCompiledStatement& statement) {
  if (statement.Malformed != nullptr) Fail(statement.Malformed);
  TZuScriptVariable* variable = LookupVar(statement.Name);
  if (variable == nullptr)
    variable = static_cast<TZuScriptVariable*>(VarList.Add(
        std::make_unique<TZuScriptVariable>(statement.NameText, false, ScriptValue(), this)));
  variable->SetValue(Evaluate(statement.Expression));
  const ScriptValue limit = Evaluate(statement.Second);
  const int32_t blockEnd = StatementTable()[static_cast<size_t>(index)].BlockEnd;
  for (;;) {
    // The body moved CurrentStatement; a failure of the test or the step
    // belongs to the For statement itself. An Integer counter and limit
    // are compared and stepped here, as CompareValues and AddValues would.
    CurrentStatement = index;
    const ScriptValue& current = variable->Value;
    if (current.Kind() == ValueKind::Integer && limit.Kind() == ValueKind::Integer) {
      if (current.IntegerPayload() > limit.IntegerPayload()) break;
    } else if (CompareValues(current, limit) > 0) {
      break;
    }
    // The body runs here rather than through a call of ExecuteRange: the
    // same steps, once per turn.
    RunBlock(index + 1, blockEnd - 1);
    if (Signal != kSignalNone && Signal != kSignalContinue) break;
    CurrentStatement = index;
    const ScriptValue& now = variable->Value;
    if (now.Kind() == ValueKind::Integer && now.IntegerPayload() < INT32_MAX) {
      if (variable->IsConstant) variable->SetValue(now);  // raises the constant error
      variable->Value.AssignInteger(now.IntegerPayload() + 1);
    } else {
      variable->SetValue(AddValues(now, ScriptValue::Integer(1)));
    }
  }
  Signal = kSignalNone;
}

void TZuScript::ExecuteWhile(int32_t index, TZuCompiledStatement& statement) {
  const int32_t blockEnd = StatementTable()[static_cast<size_t>(index)].BlockEnd;
  for (;;) {
    CurrentStatement = index;
    if (!EvaluateCondition(statement.Expression)) break;
    RunBlock(index + 1, blockEnd - 1);
    if (Signal != kSignalNone && Signal != kSignalContinue) break;
  }
  Signal = kSignalNone;
}

}  // namespace zu
