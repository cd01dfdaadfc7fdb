// TZuKeyboard: raw key events from the console input, without echo and
// without waiting for a line end; and the final key wait of the -w option.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/platform.h"

namespace zu::host {

// Where console input events come from: the platform by default, a scripted
// source in tests.
class ConsoleEventSource {
 public:
  virtual ~ConsoleEventSource() = default;
  // Number of pending events; negative when the input is no console.
  virtual int PendingEvents() = 0;
  virtual bool ReadEvent(platform::InputRecord& record) = 0;
  virtual bool FlushEvents() = 0;
};

// The console input of this process.
class PlatformConsoleEvents : public ConsoleEventSource {
 public:
  int PendingEvents() override { return platform::PendingConsoleEvents(); }
  bool ReadEvent(platform::InputRecord& record) override {
    return platform::ReadConsoleEvent(record);
  }
  bool FlushEvents() override { return platform::FlushConsoleInput(); }
};

// Key events of the console input queue.
class TZuKeyboard {
 public:
  // Takes the standard input handle; events come from source (the platform's
  // console input when null). The source must outlive the keyboard.
  explicit TZuKeyboard(ConsoleEventSource* source = nullptr);

  // True when a key event (key down or key up) was read into the last event.
  // Never waits: with no pending event it answers false at once; other events
  // (mouse, focus, window size) are consumed and skipped.
  bool Read();
  // Discards all pending console input events.
  void Flush();
  // The character of the last event read.
  char AsciiChar() const { return lastEvent_.AsciiChar; }
  const platform::InputRecord& LastEvent() const { return lastEvent_; }
  intptr_t InputHandle() const { return inputHandle_; }

 private:
  PlatformConsoleEvents platformEvents_;
  ConsoleEventSource* source_;
  intptr_t inputHandle_;
  platform::InputRecord lastEvent_;
};

// The prompt of the -w wait, written without line end.
inline constexpr const char* kWaitPrompt = "\r\nPress ENTER or ESC for terminate...";
// Poll interval of the wait.
inline constexpr uint32_t kWaitPollMilliseconds = 100;

// How the wait reaches the world; the defaults use the platform.
struct WaitServices {
  std::function<void(const char*)> Write;  // writes and flushes the prompt
  std::function<bool()> InputIsConsole;    // standard input is a terminal
  std::function<int()> ReadInputByte;      // next byte, -1 at the end
  std::function<void(uint32_t)> Sleep;
};
WaitServices PlatformWaitServices();

// Writes the prompt, flushes pending keys and waits until Enter, Esc or space
// is pressed (or released). When standard input is no console, reads its
// bytes instead and also ends at LF or at the end of the input, so the wait
// never hangs on a pipe or a closed input.
void WaitForKey(TZuKeyboard& keyboard, const WaitServices& services);

}  // namespace zu::host
