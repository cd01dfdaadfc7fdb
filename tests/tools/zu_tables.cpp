// zu_tables: prints the loader's keyword table and the built-in table, one
// entry a line ("keyword NAME", "builtin NAME ARGCOUNT"), in table order.
// The tests that hold the language reference and the editor grammars to
// the code read it.
#include <iostream>

#include "engine/builtins/builtins.h"
#include "engine/loader/loader.h"

int main() {
  for (std::string_view name : zu::KeywordNames()) std::cout << "keyword " << name << "\n";
  for (const zu::BuiltinSignature& b : zu::BuiltinSignatures())
    std::cout << "builtin " << b.Name << " " << b.ArgCount << "\n";
  return 0;
}
