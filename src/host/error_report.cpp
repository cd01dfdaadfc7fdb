// Script-error and last-resort failure reports of the zus host. Line and
// column are computed here, only when a report is written.
#include "host/error_report.h"

#include "support/numbers.h"

namespace zu::host {

namespace {

std::string LocationText(const StatementLocation& where) {
  if (where.Line == 0) return {};
  std::string text = "\r\n";
  if (!where.FileName.empty()) text += "in file " + where.FileName;
  text += ": line " + IntToText(where.Line) + ", pos " + IntToText(where.Column);
  return text;
}

// Depth-first search through the function definitions of script; bounded by
// the definitions that exist, which form a tree.
bool ContainsScript(const TZuScript& script, const TZuScript* candidate) {
  if (&script == candidate) return true;
  for (int i = 0; i < script.FuncList.Count(); ++i) {
    const auto* func = dynamic_cast<const TZuScript*>(script.FuncList.Get(i));
    if (func != nullptr && ContainsScript(*func, candidate)) return true;
  }
  return false;
}

}  // namespace

std::string FormatErrorReport(const std::string& scriptName, const std::string& message,
                              const std::string& fileName, int32_t line, int32_t column) {
  return "\r\nError in " + scriptName + ":\r\n" + message +
         LocationText(StatementLocation{fileName, line, column}) + "\r\n";
}

std::string FormatWarning(const std::string& scriptName, const std::string& message,
                          const std::string& fileName, int32_t line, int32_t column) {
  return "\r\nWarning in " + scriptName + ":\r\n" + message +
         LocationText(StatementLocation{fileName, line, column}) + "\r\n";
}

StatementLocation LocateCurrentStatement(const TZuScript& script) {
  StatementLocation where;
  const int32_t index = script.CurrentStatement;
  script.GetStatementLocation(index, where.Line, where.Column);
  // A load-time failure may name the pending record at StatementCount.
  if (index >= 0 && index <= script.StatementCount &&
      static_cast<size_t>(index) < script.Statements.size()) {
    where.FileName = script.Statements[static_cast<size_t>(index)].FileName;
  }
  return where;
}

std::string ScriptErrorReport(const TZuScript* script, const std::string& message) {
  if (script == nullptr) return FormatErrorReport("", message, "", 0, 0);
  const StatementLocation where = LocateCurrentStatement(*script);
  return FormatErrorReport(script->Name, message, where.FileName, where.Line, where.Column);
}

std::string FailureReport(const std::string& kind, const std::string& message,
                          const TZuScript* active) {
  std::string text = "\r\nFailure";
  StatementLocation where;
  if (active != nullptr) {
    text += " in " + active->Name;
    where = LocateCurrentStatement(*active);
  }
  text += ":\r\n" + kind + ": " + message + LocationText(where) + "\r\n";
  return text;
}

const TZuScript* FindLiveScript(TZuScript& main, const TZuScript* candidate) {
  if (candidate == nullptr) return nullptr;
  if (ContainsScript(main, candidate)) return candidate;
  for (const auto& abandoned : main.Context().Abandoned) {
    if (abandoned && ContainsScript(*abandoned, candidate)) return candidate;
  }
  return nullptr;
}

}  // namespace zu::host
