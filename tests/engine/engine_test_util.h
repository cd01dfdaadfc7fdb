// Helpers of the engine's unit tests: scripts made from source text, runs
// that report the script error they end with, and the error assertion.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

inline RunOutcome RunText(const std::string& source, const std::string& arguments = "") {
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

inline ::testing::AssertionResult ScriptErrorIs(const std::string& source,
                                                const std::string& message, int32_t line,
                                                int32_t column) {
  const RunOutcome out = RunText(source);
  if (!out.Failed) return ::testing::AssertionFailure() << "no script error";
  if (out.Message != message || out.Line != line || out.Column != column)
    return ::testing::AssertionFailure()
           << "got \"" << out.Message << "\" at " << out.Line << ":" << out.Column
           << ", expected \"" << message << "\" at " << line << ":" << column;
  return ::testing::AssertionSuccess();
}

}  // namespace zu::testing

// The run of source ends with the script error message, located at line:pos
// (0:0 when the error has no location).
#define EXPECT_SCRIPT_ERROR(source, message, line, pos) \
  EXPECT_TRUE(::zu::testing::ScriptErrorIs((source), (message), (line), (pos)))
