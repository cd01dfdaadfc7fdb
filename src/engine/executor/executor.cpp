// Running a script: Run and Call set up the predefined variables, Execute
// walks the statement table, and ExecuteStatement gives each statement kind
// its meaning (assignments, conditions, loops and control flow).
#include "engine/run_scopes.h"
#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {

namespace {

// A run or call executes the statement indexes 0 .. kLastStatement only
// (the loader refuses more records).
constexpr int32_t kLastStatement = kMaxStatements - 1;
// Longest text taken after "=" in an assignment, and after " to " in For or
// "." in a property target.
constexpr size_t kMaxAssignedText = 99999;
constexpr size_t kMaxClauseText = 9999;

// Position of " to " in text, ignoring the case of the letters.
size_t FindTo(std::string_view text) {
  for (size_t i = 0; i + 4 <= text.size(); ++i) {
    if (text[i] == ' ' && (text[i + 1] == 't' || text[i + 1] == 'T') &&
        (text[i + 2] == 'o' || text[i + 2] == 'O') && text[i + 3] == ' ')
      return i;
  }
  return std::string_view::npos;
}

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

void TZuScript::ExecuteRange(int32_t first, int32_t last) {
  // Blocks nest through ExecuteRange -> ExecuteStatement -> ExecuteRange.
  CheckStack("Blocks");
  Signal = kSignalNone;
  CurrentStatement = first;
  while (CurrentStatement <= last && CurrentStatement < StatementCount) {
    const int32_t next = ExecuteStatement(CurrentStatement);
    if (Signal == kSignalNone) {
      CurrentStatement = next;
      continue;
    }
    if (Signal == kSignalBreak || Signal == kSignalContinue) {
      // Break and Continue need a loop of this script around them.
      bool inLoop = false;
      for (int32_t j = CurrentStatement; j >= 0; --j) {
        const TZuScriptStatementDef& r = Statements[static_cast<size_t>(j)];
        if ((r.Kind == kStmtFor || r.Kind == kStmtWhile) && r.BlockEnd > CurrentStatement) {
          inLoop = true;
          break;
        }
      }
      if (!inLoop) Fail("Unexpected Break or Continue statement");
    }
    return;
  }
}

int32_t TZuScript::ExecuteStatement(int32_t index) {
  // The table is not changed while it runs, so the record stays in place.
  const TZuScriptStatementDef& record = Statements[static_cast<size_t>(index)];
  int32_t next = record.BlockEnd;
  try {
    switch (record.Kind) {
      case kStmtExpression:
        ExecuteAssignment(record.Text);
        break;
      case kStmtConst:
      case kStmtVar:
        ExecuteVarConst(record.Text, record.Kind == kStmtConst);
        break;
      case kStmtArray:
        ExecuteArray(record.Text);
        break;
      case kStmtIf:
      case kStmtElseIf:
        if (ToBoolean(Evaluate(record.Text))) {
          ExecuteRange(index + 1, record.BlockEnd - 1);
          // The branch was taken: the rest of the chain is skipped.
          while (next < StatementCount) {
            const TZuScriptStatementDef& r = Statements[static_cast<size_t>(next)];
            if (r.Kind != kStmtElseIf && r.Kind != kStmtElse) break;
            next = r.BlockEnd;
          }
        }
        break;
      case kStmtElse:
        ExecuteRange(index + 1, record.BlockEnd - 1);
        break;
      case kStmtFor:
        ExecuteFor(index);
        break;
      case kStmtWhile:
        ExecuteWhile(index);
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
        ExecuteRead(record.Text);
        break;
      case kStmtWrite:
        ExecuteWrite(record.Text);
        break;
      case kStmtDelete:
        ExecuteDelete(record.Text);
        break;
      case kStmtObject:
        ExecuteObject(record.Text);
        break;
      default:
        Fail("Unknow keyword");
    }
  } catch (EZuScriptError& e) {
    // Errors raised below the engine carry no script: they belong to this one.
    if (e.Script == nullptr) e.Script = this;
    throw;
  }
  return next;
}

void TZuScript::ExecuteAssignment(const std::string& text) {
  const std::string_view t = text;
  std::string_view target;
  std::string_view expression = t;
  bool hasTarget = false;
  const size_t eq = t.find('=');
  if (eq != std::string_view::npos) {
    target = TrimView(t.substr(0, eq));
    // "f(a = b)" or a quoted "=" is no assignment.
    hasTarget = target.find_first_of("()") == std::string_view::npos &&
                CountChar(target, '"') % 2 == 0 && CountChar(target, '\'') % 2 == 0;
    if (hasTarget) expression = TrimView(t.substr(eq + 1, kMaxAssignedText));
  }
  ScriptValue value = Evaluate(expression);
  if (!hasTarget) return;

  const size_t bracket = target.find('[');
  if (bracket != std::string_view::npos) {
    int32_t index = 0;
    ElementOf(target, bracket, "Invalid index expression", index).SetItem(index, value);
    return;
  }
  const size_t dot = target.find('.');
  if (dot != std::string_view::npos) {
    ObjectOf(target, dot, "\" not defined")
        .SetProperty(std::string(target.substr(dot + 1, kMaxClauseText)), value);
    return;
  }
  // Assignment is also declaration: an unknown name becomes a variable of
  // this script; a known one is changed wherever in the chain it lives.
  if (TZuScriptVariable* variable = FindVar(target)) {
    variable->SetValue(value);
  } else {
    VarList.Add(
        std::make_unique<TZuScriptVariable>(std::string(target), false, std::move(value), this));
  }
}

void TZuScript::ExecuteFor(int32_t index) {
  const TZuScriptStatementDef& record = Statements[static_cast<size_t>(index)];
  const std::string_view t = record.Text;
  const size_t to = FindTo(t);
  if (to == std::string_view::npos) Fail("\"To\" keyword expected in \"For\" statement");
  const std::string_view head = TrimView(t.substr(0, to));
  const std::string_view limitText = TrimView(t.substr(to + 4, kMaxClauseText));
  const size_t eq = head.find('=');
  if (eq == std::string_view::npos) Fail("Initial expression expected");
  const std::string_view name = TrimView(head.substr(0, eq));
  TZuScriptVariable* variable = FindVar(name);
  if (variable == nullptr)
    variable = static_cast<TZuScriptVariable*>(VarList.Add(
        std::make_unique<TZuScriptVariable>(std::string(name), false, ScriptValue(), this)));
  variable->SetValue(Evaluate(head.substr(eq + 1)));
  const ScriptValue limit = Evaluate(limitText);
  for (;;) {
    // The body moved CurrentStatement; a failure of the test or the step
    // belongs to the For statement itself.
    CurrentStatement = index;
    if (CompareValues(variable->Value, limit) > 0) break;
    ExecuteRange(index + 1, record.BlockEnd - 1);
    if (Signal != kSignalNone && Signal != kSignalContinue) break;
    CurrentStatement = index;
    variable->SetValue(AddValues(variable->Value, ScriptValue::Integer(1)));
  }
  Signal = kSignalNone;
}

void TZuScript::ExecuteWhile(int32_t index) {
  const TZuScriptStatementDef& record = Statements[static_cast<size_t>(index)];
  for (;;) {
    CurrentStatement = index;
    if (!ToBoolean(Evaluate(record.Text))) break;
    ExecuteRange(index + 1, record.BlockEnd - 1);
    if (Signal != kSignalNone && Signal != kSignalContinue) break;
  }
  Signal = kSignalNone;
}

}  // namespace zu
