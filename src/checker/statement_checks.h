// The checks of one statement record, by kind: which of its texts are
// evaluated as expressions, what it assigns, and the traps in its form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "checker/expression_walk.h"

namespace zu {
class TZuScript;
}

namespace zu::checker {

// A statement of one script's table, as a place to report.
struct StatementRef {
  const TZuScript* Script = nullptr;
  int32_t Index = 0;
};

// What the statements of a program reveal, gathered over all of them.
struct ProgramFacts {
  ExpressionFacts Expressions;  // reads of every statement
  // Plain variables given a value (assignment, Var with an initial
  // expression): upper-cased name, name as written, first place.
  struct Assignment {
    std::string Key;
    std::string Name;
    StatementRef Where;
  };
  std::vector<Assignment> Assignments;
  struct Trap {
    StatementRef Where;
    std::string Message;
  };
  std::vector<Trap> Traps;
};

// Checks the record at index of script and adds what it finds to facts.
void CheckStatement(const TZuScript& script, int32_t index, ProgramFacts& facts);

}  // namespace zu::checker
