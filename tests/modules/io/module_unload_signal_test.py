#!/usr/bin/env python3
"""Process-wide console state lives in the program, not in the module: a
host that used TKeyboard (raw terminal mode) and then unloaded io.zux still
ends by a signal it takes afterwards, with the terminal's mode restored. A
handler left in the unloaded module would crash the process instead.

    module_unload_signal_test.py ZUS
"""
import os
import pty
import signal
import subprocess
import sys
import termios

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from pty_io import read_until  # noqa: E402


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: signal handlers and terminal modes are POSIX")
        return 77
    bindir = os.path.dirname(os.path.abspath(sys.argv[1]))
    probe = os.path.join(bindir, "module_unload_probe")
    master, slave = pty.openpty()
    before = termios.tcgetattr(slave)
    proc = subprocess.Popen([probe, os.path.join(bindir, "io.zux")], stdin=slave, stdout=slave,
                            stderr=subprocess.PIPE, close_fds=True)
    output = read_until(master, b"unloaded", 30)
    try:
        proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    after = termios.tcgetattr(slave)
    os.close(slave)
    os.close(master)
    failures = []
    if b"unloaded" not in output:
        failures.append("no 'unloaded' line: %r (exit %d)" % (output, proc.returncode))
    if proc.returncode != -signal.SIGTERM:
        failures.append("ended with %d, not by SIGTERM; stderr %r"
                        % (proc.returncode, proc.stderr.read()))
    if after[3] != before[3]:  # the local modes: echo and line editing back
        failures.append("terminal mode not restored: lflag %#x, was %#x" % (after[3], before[3]))
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
