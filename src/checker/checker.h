// The check mode (zus -c): loads a script and its includes without running
// anything and finds the language's silent traps. It works from what the
// loader records (statement records, function definitions, the things the
// loader drops) and the evaluator's tokenizer, never from the evaluator's
// internals, and reports only what is certain.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zu {
class TZuScript;
}

namespace zu::checker {

// One trap, located like a statement in the error report.
struct TZuFinding {
  std::string FileName;  // file name part; empty when the source has no file
  int32_t Line = 0;      // 0: no location
  int32_t Column = 0;
  std::string Message;
};

// Parses script (which must not have been parsed yet) with Import statements
// left undone, so no module is loaded or started, then checks the program it
// makes: the statements of the script and its includes and every function
// definition. A load error is raised as the EZuScriptError it is in a run.
// The findings come in file order (the script's own file first), each once.
std::vector<TZuFinding> CheckScript(TZuScript& script);

}  // namespace zu::checker
