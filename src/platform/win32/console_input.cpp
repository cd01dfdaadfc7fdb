// Console key events: the real input records of the console input buffer
// (GetNumberOfConsoleInputEvents, ReadConsoleInputA, FlushConsoleInputBuffer).
#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

HANDLE Input() { return ::GetStdHandle(STD_INPUT_HANDLE); }

}  // namespace

intptr_t StdInputHandle() {
  HANDLE h = Input();
  return h == INVALID_HANDLE_VALUE ? -1 : win32::FromHandle(h);
}

int PendingConsoleEvents() {
  DWORD count = 0;
  if (!::GetNumberOfConsoleInputEvents(Input(), &count)) return -1;
  return count > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(count);
}

bool ReadConsoleEvent(InputRecord& record) {
  INPUT_RECORD raw;
  DWORD read = 0;
  if (!::ReadConsoleInputA(Input(), &raw, 1, &read) || read != 1) return false;
  // The key-event view of the record, whatever its type: for other events
  // the fields hold their bytes.
  const KEY_EVENT_RECORD& key = raw.Event.KeyEvent;
  record.EventType = raw.EventType;
  record.KeyDown = key.bKeyDown != 0;
  record.RepeatCount = key.wRepeatCount;
  record.VirtualKeyCode = key.wVirtualKeyCode;
  record.VirtualScanCode = key.wVirtualScanCode;
  record.AsciiChar = key.uChar.AsciiChar;
  record.ControlKeyState = key.dwControlKeyState;
  return true;
}

bool FlushConsoleInput() { return ::FlushConsoleInputBuffer(Input()) != 0; }

}  // namespace zu::platform
