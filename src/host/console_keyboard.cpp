// Console key events for the host and the -w key wait.
#include "host/console_keyboard.h"

namespace zu::host {

namespace {

constexpr uint16_t kKeyEvent = 1;

bool EndsWait(int c) { return c == 13 || c == 27 || c == 32; }

}  // namespace

TZuKeyboard::TZuKeyboard(ConsoleEventSource* source)
    : source_(source != nullptr ? source : &platformEvents_),
      inputHandle_(platform::StdInputHandle()) {}

bool TZuKeyboard::Read() {
  const int pending = source_->PendingEvents();
  if (pending <= 0) return false;
  // Only the events pending now are looked at, so Read never blocks.
  for (int i = 0; i < pending; ++i) {
    if (!source_->ReadEvent(lastEvent_)) return false;
    if (lastEvent_.EventType == kKeyEvent) return true;
  }
  return false;
}

void TZuKeyboard::Flush() { source_->FlushEvents(); }

WaitServices PlatformWaitServices() {
  WaitServices s;
  s.Write = [](const char* text) {
    platform::WriteStdout(text);
    platform::FlushStdout();
  };
  s.InputIsConsole = [] { return platform::StdinIsTerminal(); };
  s.ReadInputByte = [] { return platform::ReadStdinByte(); };
  s.Sleep = [](uint32_t ms) { platform::Sleep(ms); };
  return s;
}

void WaitForKey(TZuKeyboard& keyboard, const WaitServices& services) {
  services.Write(kWaitPrompt);
  if (!services.InputIsConsole()) {
    // A redirected input has no key events: its bytes stand in for keys.
    for (;;) {
      const int c = services.ReadInputByte();
      if (c < 0 || c == 10 || EndsWait(c)) return;
    }
  }
  keyboard.Flush();
  for (;;) {
    if (keyboard.Read() && EndsWait(static_cast<unsigned char>(keyboard.AsciiChar()))) return;
    services.Sleep(kWaitPollMilliseconds);
  }
}

}  // namespace zu::host
