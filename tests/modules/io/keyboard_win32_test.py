#!/usr/bin/env python3
"""TKeyboard on a Windows console: the records written into the console input
(tools/console_keys.py) come back as they are, a key press as a key-down
and a key-up event, a cursor key with an empty AsciiChar and its
virtual-key code, a mouse event is consumed with Read answering false, and
after Flush the next Read answers false.

    keyboard_win32_test.py ZUS --emulator CMD
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import console_keys  # noqa: E402

SCRIPT = r"""Import io.zux;
Object k : TKeyboard;
Print "empty " + Str(k.Read()) + "\r\n";
Print "ready\r\n";
n = 0;
idle = 0;
While ((n < 6) && (idle < 3000)) {
  If (k.Read()) {
    Print Str(k.KeyDown) + " " + Str(k.VirtualKeyCode) + " " + Str(k.VirtualScanCode) + " [" +
          k.AsciiChar + "] " + Str(k.RepeatCount) + " " + Str(k.CtrlState) + "\r\n";
    n = n + 1;
  } Else {
    idle = idle + 1;
    Sleep(10);
  }
}
Print "mouse\r\n";
While (k.Read() == false) { Sleep(10); }
Print "flush " + Str(k.Flush()) + " read " + Str(k.Read()) + "\r\n";
"""

# The records inject_keys writes: character, virtual-key and scan code.
EXPECTED = (b"empty false\r\n"
            b"ready\r\n"
            b"true 65 30 [a] 1 0\r\n"
            b"false 65 30 [a] 1 0\r\n"
            b"true 37 75 [] 1 0\r\n"
            b"false 37 75 [] 1 0\r\n"
            b"true 81 16 [Q] 1 0\r\n"
            b"false 81 16 [Q] 1 0\r\n"
            b"mouse\r\n"
            b"flush true read false\r\n")


def main():
    zus = os.path.abspath(sys.argv[1])
    if not zus.endswith(".exe"):
        print("Windows console records; keyboard_pty_test.py covers POSIX terminals")
        return 77
    emulator = console_keys.emulator_of(sys.argv)
    with tempfile.TemporaryDirectory(prefix="zus-kbd-") as tmp:
        with open(os.path.join(tmp, "keys.zus"), "w") as f:
            f.write(SCRIPT)
        # The mouse event sits between the keys: Read consumes it and answers
        # false, the keys after it still come. The last key ends the wait for
        # a key event; more keys then wait for Flush.
        steps = [("ready", "a,left,mouse,Q"), ("mouse", "z,z,z")]
        code, text = console_keys.run_with_keys(emulator, zus, steps, ["-q", "keys.zus"], tmp)
    if code == console_keys.NO_CONSOLE:
        print("no console here: " + text.decode(errors="replace"))
        return 77
    if code != 0 or text != EXPECTED:
        print("exit %d\n--- expected\n%r\n--- actual\n%r" % (code, EXPECTED, text))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
