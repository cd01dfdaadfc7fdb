// A readable listing of a script's statement table, for tests and for a
// person debugging the loader.
#pragma once

#include <string>

namespace zu {

class TZuScript;

// One line per record: "INDEX KIND [end BLOCKEND] FILE LINE:COL TEXT", the
// kind by its keyword ("Expr" for kind 0), LINE:COL "-" without position.
std::string DumpStatements(const TZuScript& script);

}  // namespace zu
