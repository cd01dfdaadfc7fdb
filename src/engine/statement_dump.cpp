// The statement-table listing behind DumpStatements.
#include "engine/statement_dump.h"

#include "engine/script.h"
#include "engine/statement_location.h"

namespace zu {

namespace {

const char* KindName(uint8_t kind) {
  switch (kind) {
    case kStmtExpression:
      return "Expr";
#define ZU_KIND_NAME(name, value, bits) \
  case kStmt##name:                     \
    return #name;
      ZU_STATEMENT_KINDS(ZU_KIND_NAME, ZU_STATEMENT_NO_ALSO)
#undef ZU_KIND_NAME
    default:
      return "?";
  }
}

}  // namespace

std::string DumpStatements(const TZuScript& script) {
  std::string out;
  for (int32_t i = 0; i < script.StatementCount; ++i) {
    const TZuScriptStatementDef& r = script.StatementTable()[static_cast<size_t>(i)];
    const StatementLocation where = LocateStatement(script, i);
    out += std::to_string(i) + " " + KindName(r.Kind) + " [end " + std::to_string(r.BlockEnd) +
           "] " + (where.FileName.empty() ? "-" : where.FileName) + " " +
           (where.Line == 0 ? std::string("-")
                            : std::to_string(where.Line) + ":" + std::to_string(where.Column)) +
           " " + r.Text + "\n";
  }
  return out;
}

}  // namespace zu
