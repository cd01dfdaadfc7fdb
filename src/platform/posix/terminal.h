// Private to the POSIX layer: the terminal's raw mode and the console state
// that exists once per process. Key events (console_input.cpp) enter raw
// mode; line input needs the normal mode back.
#pragma once

#include "platform/platform.h"

namespace zu::platform::posix {

// Puts standard input's terminal into raw mode (no echo, no line editing,
// reads that never wait) once, installing the handlers that restore the old
// mode on every exit path. This copy's state: only the process's copy of
// the console calls it. False when standard input is no terminal.
bool EnterRawMode();
// Restores the mode the process's console saved, if raw mode is active.
void LeaveRawMode();

// This copy's key-event operations behind PendingConsoleEvents,
// ReadConsoleEvent and FlushConsoleInput; they serve the process when this
// copy is the program's.
int LocalPendingEvents();
bool LocalReadEvent(InputRecord& record);
bool LocalFlushInput();

}  // namespace zu::platform::posix
