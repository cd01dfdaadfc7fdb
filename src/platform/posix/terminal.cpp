// The terminal's raw mode, the signal handlers that restore it, and the one
// copy of the console state that serves the whole process.
//
// This layer is linked into the program and into every extension module.
// Terminal mode and signal handlers are process-wide, and a module is
// unloaded while the process goes on: handlers installed by a module's copy
// would point into unmapped code, and two copies would each save and restore
// the terminal. So the program exports its console operations (ZuProcessConsole)
// and every copy, the program's own included, goes through the table found
// there; only a host that exports none leaves a library its own copy.
#include <dlfcn.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/posix/terminal.h"

namespace zu::platform {
namespace posix {
namespace {

// Raw-mode state. It lives outside any object because the signal handlers
// read it; they only call async-signal-safe functions.
struct termios g_savedMode;
volatile sig_atomic_t g_rawActive = 0;
bool g_handlersInstalled = false;
struct sigaction g_oldActions[NSIG];
const int kRestoreSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT};

void RestoreFromSignal(int sig) {
  if (g_rawActive) {
    tcsetattr(0, TCSANOW, &g_savedMode);
    g_rawActive = 0;
  }
  // Hand the signal on to whoever had it before (or the default action).
  sigaction(sig, &g_oldActions[sig], nullptr);
  raise(sig);
}

void RestoreAtExit() {
  if (g_rawActive) {
    tcsetattr(0, TCSANOW, &g_savedMode);
    g_rawActive = 0;
  }
}

void InstallHandlers() {
  if (g_handlersInstalled) return;
  g_handlersInstalled = true;
  atexit(RestoreAtExit);
  for (int sig : kRestoreSignals) {
    struct sigaction action {};
    action.sa_handler = RestoreFromSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    struct sigaction old {};
    sigaction(sig, nullptr, &old);
    // A signal the process ignores stays ignored.
    if (old.sa_handler == SIG_IGN) continue;
    g_oldActions[sig] = old;
    sigaction(sig, &action, nullptr);
  }
}

void LocalLeaveRawMode() {
  if (!g_rawActive) return;
  tcsetattr(0, TCSANOW, &g_savedMode);
  g_rawActive = 0;
}

// The console operations of one copy of this layer, as the program exports
// them. Version and Size let a copy from another build refuse a table it
// does not know.
struct ConsoleTable {
  uint32_t Size;
  uint32_t Version;
  int (*PendingEvents)();
  bool (*ReadEvent)(InputRecord&);
  bool (*FlushInput)();
  void (*LeaveRawMode)();
};
constexpr uint32_t kConsoleTableVersion = 1;
constexpr const char* kConsoleExport = "ZuProcessConsole";

const ConsoleTable kThisCopy = {sizeof(ConsoleTable), kConsoleTableVersion, LocalPendingEvents,
                                LocalReadEvent,       LocalFlushInput,      LocalLeaveRawMode};

// The process's copy: the one the program exports, found once. The program
// finds its own; a module finds the program's.
const ConsoleTable& ProcessConsole() {
  static const ConsoleTable* const table = [] {
    using Export = const void* (*)();
    void* address = dlsym(RTLD_DEFAULT, kConsoleExport);
    const auto* found = address != nullptr
                            ? static_cast<const ConsoleTable*>(reinterpret_cast<Export>(address)())
                            : nullptr;
    if (found == nullptr || found->Version != kConsoleTableVersion ||
        found->Size < sizeof(ConsoleTable))
      found = &kThisCopy;
    return found;
  }();
  return *table;
}

}  // namespace

bool EnterRawMode() {
  if (isatty(0) != 1) return false;
  if (g_rawActive) return true;
  struct termios mode;
  if (tcgetattr(0, &mode) != 0) return false;
  g_savedMode = mode;
  InstallHandlers();
  // Enter arrives as CR and no flow-control key is swallowed; ISIG stays so
  // Ctrl+C still ends the program (and the handler restores the mode).
  mode.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON);
  mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  mode.c_cc[VMIN] = 0;
  mode.c_cc[VTIME] = 0;
  g_rawActive = 1;
  if (tcsetattr(0, TCSANOW, &mode) != 0) {
    g_rawActive = 0;
    return false;
  }
  return true;
}

void LeaveRawMode() { ProcessConsole().LeaveRawMode(); }

}  // namespace posix

int PendingConsoleEvents() { return posix::ProcessConsole().PendingEvents(); }

bool ReadConsoleEvent(InputRecord& record) { return posix::ProcessConsole().ReadEvent(record); }

bool FlushConsoleInput() { return posix::ProcessConsole().FlushInput(); }

}  // namespace zu::platform

// The program's export: the table of its copy. Executables linked with this
// layer export it (see src/platform/CMakeLists.txt); in a module it stays
// hidden.
extern "C" __attribute__((visibility("default"))) const void* ZuProcessConsole() {
  return &zu::platform::posix::kThisCopy;
}
