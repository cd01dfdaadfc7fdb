// Where a statement stands in its source file: the one place that turns a
// statement record into file name, line and column, for the error reports
// of the host and for the statement dump.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

class TZuScript;

// File name (without directory; empty when the record has none), line and
// column (0 when unknown) of one statement record.
struct StatementLocation {
  std::string FileName;
  int32_t Line = 0;
  int32_t Column = 0;
};

// The location of the record at index in script's table. The pending record
// at StatementCount is located too: a load-time failure before a
// statement's record exists names it. Line and column are counted from the
// source only here, so the normal run pays nothing for them.
StatementLocation LocateStatement(const TZuScript& script, int32_t index);

}  // namespace zu
