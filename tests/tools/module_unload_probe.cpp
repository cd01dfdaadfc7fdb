// A host that loads an extension module, polls a TKeyboard (which puts the
// terminal into raw mode), stops and unloads the module, checks that every
// signal handler now installed belongs to the program itself, prints
// "unloaded" and raises SIGTERM. Run on a pseudo-terminal by
// module_unload_signal_test.py: the process must end by that signal with the
// terminal's mode restored, not in a handler left behind by the module.
//
//     module_unload_probe MODULE
#include <dlfcn.h>
#include <signal.h>

#include <csignal>
#include <cstdio>

#include "platform/platform.h"
#include "zuscriptx.h"

namespace {

template <class Entry>
Entry Bind(const zu::platform::Library& library, const char* name) {
  return reinterpret_cast<Entry>(library.Symbol(name));
}

// The load address of the object (program or library) holding `address`.
const void* ObjectOf(const void* address) {
  Dl_info info{};
  return dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  zu::platform::Library library = zu::platform::Library::Load(argv[1]);
  if (!library.IsLoaded()) return 3;
  auto init = Bind<TZuScriptXInit>(library, "ZuScriptXInit");
  auto done = Bind<TZuScriptXDone>(library, "ZuScriptXDone");
  auto create = Bind<TZuScriptXCreateObject>(library, "ZuScriptXCreateObject");
  auto call = Bind<TZuScriptXCallFunction>(library, "ZuScriptXCallFunction");
  if (!init || !done || !create || !call || !init()) return 4;
  TZuScriptXValue result{};
  if (!create("TKEYBOARD", "k") || !call("k", "Read", 0, nullptr, &result)) return 5;
  done();
  library.Free();
  const void* program = ObjectOf(reinterpret_cast<const void*>(&ObjectOf));
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT}) {
    struct sigaction action {};
    sigaction(sig, nullptr, &action);
    if (action.sa_handler == SIG_DFL || action.sa_handler == SIG_IGN) continue;
    if (ObjectOf(reinterpret_cast<const void*>(action.sa_handler)) != program) {
      std::printf("signal %d has a handler outside the program\n", sig);
      return 6;
    }
  }
  std::puts("unloaded");
  std::fflush(stdout);
  std::raise(SIGTERM);
  return 0;
}
