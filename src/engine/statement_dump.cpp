// The statement-table listing behind DumpStatements.
#include "engine/statement_dump.h"

#include "engine/script.h"

namespace zu {

namespace {

const char* KindName(uint8_t kind) {
  switch (kind) {
    case kStmtExpression:
      return "Expr";
    case kStmtConst:
      return "Const";
    case kStmtVar:
      return "Var";
    case kStmtArray:
      return "Array";
    case kStmtIf:
      return "If";
    case kStmtElse:
      return "Else";
    case kStmtElseIf:
      return "ElseIf";
    case kStmtFor:
      return "For";
    case kStmtWhile:
      return "While";
    case kStmtBreak:
      return "Break";
    case kStmtContinue:
      return "Continue";
    case kStmtExit:
      return "Exit";
    case kStmtStop:
      return "Stop";
    case kStmtRead:
      return "Read";
    case kStmtWrite:
      return "Write";
    case kStmtDelete:
      return "Delete";
    case kStmtObject:
      return "Object";
    default:
      return "?";
  }
}

}  // namespace

std::string DumpStatements(const TZuScript& script) {
  std::string out;
  for (int32_t i = 0; i < script.StatementCount; ++i) {
    const TZuScriptStatementDef& r = script.Statements[static_cast<size_t>(i)];
    int32_t line = 0;
    int32_t column = 0;
    script.GetStatementLocation(i, line, column);
    out += std::to_string(i) + " " + KindName(r.Kind) + " [end " + std::to_string(r.BlockEnd) +
           "] " + (r.FileName.empty() ? "-" : r.FileName) + " " +
           (line == 0 ? std::string("-") : std::to_string(line) + ":" + std::to_string(column)) +
           " " + r.Text + "\n";
  }
  return out;
}

}  // namespace zu
