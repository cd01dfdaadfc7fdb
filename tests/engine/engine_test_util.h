// Helpers of the engine's unit tests: scripts made from source text and runs
// that report the script error they end with.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/expect_error.h"
#include "engine/script.h"
#include "engine/statement_dump.h"
#include "support/errors.h"
#include "support/text_utils.h"

namespace zu::testing {

// A main script whose source is the given text (no file).
inline std::unique_ptr<TZuScript> ScriptFromText(const std::string& source,
                                                 const std::string& name = "test") {
  auto script = std::make_unique<TZuScript>(name, nullptr);
  script->Source = SplitLines(source);
  return script;
}

// The statement table that parsing source gives, one line per record.
inline std::string ParseDump(const std::string& source) {
  auto script = ScriptFromText(source);
  script->Parse();
  return DumpStatements(*script);
}

// Parses and runs source, keeping the script for inspection afterwards.
struct RunOutcome {
  std::unique_ptr<TZuScript> Script;
  ScriptValue Result;
  bool Failed = false;
  std::string Message;
  std::string ErrorScript;  // Name of the script the error names
  int32_t Line = 0, Column = 0;
};

inline RunOutcome RunText(const std::string& source,
                          const std::vector<std::string>& arguments = {}) {
  RunOutcome out;
  out.Script = ScriptFromText(source);
  try {
    out.Script->Parse();
    out.Result = out.Script->Run(arguments);
  } catch (const EZuScriptError& e) {
    out.Failed = true;
    out.Message = e.what();
    if (e.Script != nullptr) {
      out.ErrorScript = e.Script->Name;
      e.Script->GetStatementLocation(e.Script->CurrentStatement, out.Line, out.Column);
    } else {
      out.ErrorScript = "<no script>";
    }
  }
  return out;
}

// The variable's value after a run, as text ("<none>" when missing).
inline std::string VarText(const RunOutcome& out, const char* name) {
  TZuScriptVariable* v = out.Script->FindVar(name);
  return v == nullptr ? "<none>" : ToText(v->Value);
}

// How the run of source ends: "LINE:COL MESSAGE" for a script error (0:0
// when it has no location), "no error" otherwise.
inline std::string RunError(const std::string& source) {
  const RunOutcome out = RunText(source);
  if (!out.Failed) return "no error";
  return std::to_string(out.Line) + ":" + std::to_string(out.Column) + " " + out.Message;
}

}  // namespace zu::testing
