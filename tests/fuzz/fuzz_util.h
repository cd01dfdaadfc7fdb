// Shared pieces of the fuzz targets: a guarded run on an interpreter stack,
// the failures a script may raise (expected, not findings), a scratch
// working folder and the filter that keeps programs from being started.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>

#include "engine/script.h"
#include "platform/platform.h"
#include "support/errors.h"

namespace zu::fuzz {

// Stack of the thread each input runs on: the interpreter's guard leaves
// kStackReserveBytes of it unused. Smaller than the host's, so that thread
// start and end stay cheap under the sanitizers.
inline constexpr size_t kFuzzStackBytes = size_t{64} << 20;

// Runs fn on a thread with kFuzzStackBytes of stack. Script errors, value
// and I/O failures and refused allocations are the engine's answers to bad
// input; anything else (a crash, a sanitizer report, another exception)
// escapes and is a finding.
template <class Fn>
void RunGuarded(const Fn& fn) {
  platform::RunWithStack(kFuzzStackBytes, [&fn] {
    try {
      fn();
    } catch (const EZuScriptError&) {
    } catch (const EFailure&) {
    } catch (const std::bad_alloc&) {
    }
  });
}

// The stack budget that matches kFuzzStackBytes, for a script's run context.
inline void FitContext(TZuScript& script) {
  script.Context().StackBudget = kFuzzStackBytes - kStackReserveBytes;
}

// True when text holds word (given in lower case), ignoring the case of
// A-Z as the engine does for names and keywords.
inline bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && (text[i + k] | 0x20) == word[k]) ++k;
    if (k == word.size()) return true;
  }
  return false;
}

// True when text names a built-in that must not run under a fuzzer: Exec
// starts programs, Sleep waits, Beep rings. A call needs its name written
// out, so a text without these words cannot reach them.
inline bool NamesRiskyBuiltin(std::string_view text) {
  return ContainsIgnoringCase(text, "exec") || ContainsIgnoringCase(text, "sleep") ||
         ContainsIgnoringCase(text, "beep");
}

// Moves into a fresh empty folder once, so that files an input names are
// created, read and deleted there only.
inline void EnterScratchFolder() {
  static const bool done = [] {
    auto dir = std::filesystem::temp_directory_path() / "zus-fuzz";
    std::filesystem::create_directories(dir);
    dir /= std::to_string(platform::CurrentProcessId());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    return true;
  }();
  static_cast<void>(done);
}

}  // namespace zu::fuzz
