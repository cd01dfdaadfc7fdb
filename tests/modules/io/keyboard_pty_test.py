#!/usr/bin/env python3
"""TKeyboard in a pseudo-terminal: a key press gives a key-down and a key-up
event, every property describes the event (an arrow key has an empty
AsciiChar and its virtual-key and scan codes), and Flush empties the queue
so that the next Read answers false.

    keyboard_pty_test.py ZUS
"""
import os
import pty
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from pty_io import read_until  # noqa: E402

SCRIPT = r'''Import io.zux;
Object k : TKeyboard;
Var n = 0;
k.Flush();
Print "ready\r\n";
While (n < 4) {
  If (k.Read()) {
    Print "down=" + Str(k.KeyDown) + " vk=" + Str(k.VirtualKeyCode) + " scan=" + Str(k.VirtualScanCode) + " ch=[" + k.AsciiChar + "] state=" + Str(k.CtrlState) + " rep=" + Str(k.RepeatCount) + "\r\n";
    n = n + 1;
  } Else {
    Sleep(5);
  }
}
Print "flush?\r\n";
Sleep(700);
Print "flush=" + Str(k.Flush()) + " read=" + Str(k.Read()) + "\r\n";
result = 0;
'''

EXPECTED = [
    "ready",
    "down=true vk=65 scan=30 ch=[a] state=0 rep=1",
    "down=false vk=65 scan=30 ch=[a] state=0 rep=1",
    "down=true vk=38 scan=72 ch=[] state=0 rep=1",
    "down=false vk=38 scan=72 ch=[] state=0 rep=1",
    "flush?",
    "flush=true read=false",
]


def main():
    zus = sys.argv[1]
    if zus.endswith(".exe"):
        print("key events decoded from a POSIX terminal; keyboard_win32_test.py covers Windows")
        return 77
    with tempfile.TemporaryDirectory(prefix="zus-kbd-") as work:
        script = os.path.join(work, "keys.zus")
        with open(script, "w") as f:
            f.write(SCRIPT)
        master, slave = pty.openpty()
        proc = subprocess.Popen([zus, "-q", script], stdin=slave, stdout=slave,
                                stderr=subprocess.PIPE, cwd=work, close_fds=True)
        os.close(slave)
        # Keys go out once the script is polling, more once it waits to flush.
        output = read_until(master, b"ready", 30)
        os.write(master, b"a")
        time.sleep(0.2)
        os.write(master, b"\x1b[A")
        output += read_until(master, b"flush?", 30)
        os.write(master, b"zzz")
        output += read_until(master, None, 30)
        try:
            proc.wait(timeout=30)  # a sanitizer build takes a while to exit
        except subprocess.TimeoutExpired:
            pass
        if proc.poll() is None:
            proc.kill()
            proc.wait()
            print("zus did not finish; output so far:", output)
            return 1
        os.close(master)
        lines = [l for l in output.replace(b"\r", b"").decode("latin-1").split("\n") if l]
        if lines != EXPECTED or proc.returncode != 0:
            print("expected:", EXPECTED)
            print("actual:  ", lines, "exit", proc.returncode, proc.stderr.read())
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
