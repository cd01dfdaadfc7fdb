// Script-error and last-resort failure reports of the zus host. Line and
// column are computed (LocateStatement) only when a report is written.
#include "host/error_report.h"

#include "engine/statement_location.h"
#include "support/numbers.h"

namespace zu::host {

namespace {

// The location part of both reports, for loader and executor errors alike:
// "in file FILE" (only with a file name) + ": line L, pos P".
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

std::string ScriptErrorReport(const TZuScript* script, const std::string& message) {
  if (script == nullptr) return FormatErrorReport("", message, "", 0, 0);
  const StatementLocation where = LocateStatement(*script, script->CurrentStatement);
  return FormatErrorReport(script->Name, message, where.FileName, where.Line, where.Column);
}

std::string FailureReport(const std::string& kind, const std::string& message,
                          const TZuScript* active) {
  std::string text = "\r\nFailure";
  StatementLocation where;
  if (active != nullptr) {
    text += " in " + active->Name;
    where = LocateStatement(*active, active->CurrentStatement);
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
