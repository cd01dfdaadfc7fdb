#!/usr/bin/env python3
"""The -w key wait of zus on a real terminal (the golden scripts
wait_pipe and wait_closed_input cover a pipe and a closed input).

    wait_key_test.py ZUS

On a pseudo-terminal a key other than Enter, Esc or space does not end the
wait, each of those three does, and the terminal mode is the same afterwards
as before.
"""
import os
import pty
import subprocess
import sys
import tempfile
import termios
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from pty_io import drain, read_until  # noqa: E402

PROMPT = b"Press ENTER or ESC for terminate..."


def run_on_terminal(zus, script, key):
    """Runs zus -w script on a pty; types 'x' first, then key. Returns problems."""
    problems = []
    master, slave = pty.openpty()
    before = termios.tcgetattr(slave)
    proc = subprocess.Popen([zus, "-w", script], stdin=slave, stdout=slave, stderr=slave,
                            close_fds=True, cwd=os.path.dirname(script))
    try:
        out = read_until(master, PROMPT, 30)
        if PROMPT not in out:
            problems.append("no prompt on the terminal: %r" % out)
            return problems
        # The terminal's output processing turns each LF into CR LF.
        if b"\r\n--\r\nResult = 5\r\n" not in out.replace(b"\r\r\n", b"\r\n"):
            problems.append("no result line before the prompt: %r" % out)
        time.sleep(0.5)  # let the wait put the terminal into raw mode
        os.write(master, b"x")
        time.sleep(0.6)
        drain(master)
        if proc.poll() is not None:
            problems.append("key 'x' ended the wait")
            return problems
        # Enter, Esc or space ends it; a key typed while the terminal was
        # still being switched may be flushed, so it is sent again.
        deadline = time.time() + 20
        while proc.poll() is None and time.time() < deadline:
            os.write(master, key)
            time.sleep(0.4)
            drain(master)
        if proc.poll() is None:
            problems.append("key %r did not end the wait" % key)
            return problems
        if proc.returncode != 5:
            problems.append("exit code %d, expected 5" % proc.returncode)
        after = termios.tcgetattr(slave)
        if after != before:
            problems.append("terminal mode not restored after key %r" % key)
    finally:
        if proc.poll() is None:
            proc.kill()
        proc.wait()
        os.close(master)
        os.close(slave)
    return problems


def main():
    zus = os.path.abspath(sys.argv[1])
    if zus.endswith(".exe"):
        print("a POSIX terminal's raw mode; wait_key_win32_test.py covers Windows")
        return 77
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-wait-") as tmp:
        script = os.path.join(tmp, "five.zus")
        with open(script, "wb") as f:
            f.write(b"result = 5;\r\n")
        for key in (b"\r", b"\x1b", b" "):
            problems += run_on_terminal(zus, script, key)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
