// The console and file statements: Read, Write/Print/? (with ">>" and the
// stdout variable) and Delete.
#include "engine/script.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/text_utils.h"

namespace zu {

void TZuScript::ExecuteRead(const std::string& text) {
  std::string line;
  if (text.empty()) {
    platform::ReadStdinLine(line);
    return;
  }
  TZuScriptVariable* variable = FindVar(text);
  if (variable == nullptr) Fail("Variable \"" + text + "\" not found");
  // At the end of the input the line is empty; a closed input never blocks.
  platform::ReadStdinLine(line);
  variable->SetValue(ScriptValue());
  variable->SetValue(ScriptValue::Text(std::move(line)));
}

void TZuScript::ExecuteWrite(const std::string& text) {
  const std::string_view t = text;
  ScriptValue file;
  std::string_view valueText = t;
  // ">>" is sought anywhere, string literals included.
  const size_t redirect = t.find(">>");
  if (redirect != std::string_view::npos) {
    file = Evaluate(t.substr(redirect + 2, 9999));
    valueText = t.substr(0, redirect);
  } else if (TZuScriptVariable* out = FindVar("stdout")) {
    file = out->Value;
  }
  const ScriptValue value = Evaluate(valueText);
  const std::string fileName = file.IsEmpty() ? std::string() : Trim(ToText(file));
  AppendText(fileName, TextOf(value).View());
  // Output interleaves with started programs only when it leaves at once.
  platform::FlushStdout();
}

void TZuScript::ExecuteDelete(const std::string& text) {
  const std::string fileName = Trim(ToText(Evaluate(text)));
  if (fileName.empty()) Fail("Filename expected");
  // A failed deletion is not reported.
  if (platform::FileExists(fileName)) platform::RemoveFile(fileName);
}

}  // namespace zu
