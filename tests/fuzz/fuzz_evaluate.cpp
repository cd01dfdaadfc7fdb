// Fuzz target: Evaluate on arbitrary expression text, in a script that has
// variables of every kind, a constant, arrays and user functions (one of
// them recursive), as a statement would evaluate it while the script runs.
#include <memory>

#include "engine/run_scopes.h"
#include "fuzz_util.h"
#include "support/text_utils.h"

namespace {

constexpr const char* kPrelude =
    "Var n = 7, f = 2.5, s = \"Hello, World\", e, b = true;\r\n"
    "Const c = 42;\r\n"
    "d = AsDateTime(\"12/6/2026 6:00:00 PM\");\r\n"
    "Array t[4] = (1, \"two\", 3.5, false);\r\n"
    "Array m[2];\r\n"
    "Func Twice(x) { result = x + x; }\r\n"
    "Func Fact(k) { If (k <= 1) { result = 1; } Else { result = k * Fact(k - 1); } }\r\n"
    "Func Noop() { }\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zu;
  fuzz::EnterScratchFolder();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (fuzz::NamesRiskyBuiltin(text)) return 0;
  auto script = std::make_unique<TZuScript>("fuzz.zus", nullptr);
  fuzz::FitContext(*script);
  script->Source = SplitLines(kPrelude);
  script->Parse();
  script->Run({"fuzz.zus", "a", "b"});
  fuzz::RunGuarded([&] {
    char top = 0;
    StackBaseScope base(script->Context(), &top);
    static_cast<void>(script->Evaluate(text));
  });
  return 0;
}
