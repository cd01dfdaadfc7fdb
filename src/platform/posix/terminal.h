// Private to the POSIX layer: the terminal's raw mode, shared by the key
// events (which enter it) and line input (which needs the normal mode back).
#pragma once

namespace zu::platform::posix {

// Puts standard input's terminal into raw mode (no echo, no line editing,
// reads that never wait) once; the old mode is restored on every exit path.
// False when standard input is no terminal.
bool EnterRawMode();
// Restores the mode saved by EnterRawMode, if it is active.
void LeaveRawMode();

}  // namespace zu::platform::posix
