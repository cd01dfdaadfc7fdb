// Fuzz target: the source loader on arbitrary bytes. The bytes are a
// script's source; it is parsed (never run), and a load error is located
// the way the host's report does it.
#include <memory>

#include "engine/statement_dump.h"
#include "engine/statement_location.h"
#include "fuzz_util.h"
#include "support/text_utils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zu;
  fuzz::EnterScratchFolder();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Import loads libraries: whatever a path names would run its code.
  if (fuzz::ContainsIgnoringCase(text, "import")) return 0;
  auto script = std::make_unique<TZuScript>("fuzz.zus", nullptr);
  fuzz::FitContext(*script);
  script->Source = SplitLines(text);
  TZuScript* failed = nullptr;
  fuzz::RunGuarded([&] {
    try {
      script->Parse();
      static_cast<void>(DumpStatements(*script));
    } catch (const EZuScriptError& e) {
      failed = e.Script;
      throw;
    }
  });
  if (failed != nullptr) static_cast<void>(LocateStatement(*failed, failed->CurrentStatement));
  return 0;
}
