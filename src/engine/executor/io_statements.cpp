// The console and file statements: Read, Write/Print/? (with ">>" and the
// stdout variable) and Delete.
#include "engine/evaluator/hot_paths.h"
#include "engine/executor/compiled_statement.h"
#include "engine/script.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/text_utils.h"

namespace zu {

void TZuScript::ExecuteRead(TZuCompiledStatement& statement, const std::string& text) {
  std::string line;
  if (text.empty()) {
    platform::ReadStdinLine(line);
    return;
  }
  TZuScriptVariable* variable = LookupVar(statement.Name);
  if (variable == nullptr) Fail("Variable \"" + text + "\" not found");
  // At the end of the input the line is empty; a closed input never blocks.
  platform::ReadStdinLine(line);
  variable->SetValue(ScriptValue());
  variable->SetValue(ScriptValue::Text(line));
}

void TZuScript::ExecuteWrite(TZuCompiledStatement& statement) {
  ScriptValue file;
  // With ">>" the file expression is evaluated first, then the value.
  if (statement.Redirected) {
    file = Evaluate(statement.Second);
  } else if (TZuScriptVariable* out = LookupVar(statement.Name)) {
    file = out->Value;
  }
  const ScriptValue value = Evaluate(statement.Expression);
  const std::string fileName = file.IsEmpty() ? std::string() : Trim(ToText(file));
  AppendText(fileName, TextOf(value).View());
  // Output interleaves with started programs only when it leaves at once.
  platform::FlushStdout();
}

void TZuScript::ExecuteDelete(TZuCompiledStatement& statement) {
  const std::string fileName = Trim(ToText(Evaluate(statement.Expression)));
  if (fileName.empty()) Fail("Filename expected");
  // A failed deletion is not reported.
  if (platform::FileExists(fileName)) platform::RemoveFile(fileName);
}

}  // namespace zu
