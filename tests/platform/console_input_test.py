#!/usr/bin/env python3
"""Console input through a pseudo terminal and a pipe.

Runs the platform test program (platform_tests, beside zus) in its helper
modes: "keys" prints every key record read from the terminal, "lines" echoes
the lines of standard input. Checks the key records of typed bytes and escape
sequences, that the terminal mode comes back after a normal end and after
SIGTERM, and the line reading of a pipe (CR LF, last line without LF).

Usage: console_input_test.py PATH_TO_ZUS
"""
import os
import pty
import signal
import subprocess
import sys
import termios
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from pty_io import read_until  # noqa: E402

FAILURES = []


def check(cond, what):
    if not cond:
        FAILURES.append(what)
        print("FAIL:", what)


def helper_command(zus):
    prog = os.path.join(os.path.dirname(os.path.abspath(zus)), "platform_tests")
    if not os.path.exists(prog):
        print("platform_tests not built; skipping")
        sys.exit(0)
    return prog


def start_keys(prog, hold=False):
    master, slave = pty.openpty()
    env = dict(os.environ, ZU_PLATFORM_HELPER="keys")
    if hold:
        env["ZU_HELPER_HOLD"] = "1"
    proc = subprocess.Popen([prog, "--gtest_filter=ConsoleHelper.Keys"], stdin=slave,
                            stdout=slave, stderr=subprocess.DEVNULL, env=env,
                            start_new_session=True)
    os.close(slave)
    return proc, master


def mode_is_cooked(master):
    lflag = termios.tcgetattr(master)[3]
    return bool(lflag & termios.ECHO) and bool(lflag & termios.ICANON)


def records(output):
    return [line for line in output.decode("latin-1").splitlines()
            if line.startswith("down") or line.startswith("up")]


def test_keys(prog):
    proc, master = start_keys(prog)
    out = read_until(master, b"ready")
    check(b"ready" in out, "keys helper starts with a terminal")
    check(not mode_is_cooked(master), "raw mode while reading keys")
    # A, Enter, Esc alone, up arrow, F5, Delete, Ctrl+C is not sent (ISIG);
    # Ctrl+A, Backspace (DEL), '1', ':' and Ctrl+] (punctuation keys keep
    # their scan code when shifted or with Ctrl), then q ends the helper.
    for chunk in [b"A", b"\r", b"\x1b", b"\x1b[A", b"\x1b[15~", b"\x1b[3~", b"\x01",
                  b"\x7f", b"1", b":", b"\x1d", b"q"]:
        os.write(master, chunk)
        time.sleep(0.15)
    out += read_until(master, b"done")
    proc.wait(timeout=10)
    recs = records(out)
    expected_down = [
        "down vk=65 scan=30 ch=65 state=16 rep=1",   # upper-case A: Shift
        "down vk=13 scan=28 ch=13 state=0 rep=1",    # Enter
        "down vk=27 scan=1 ch=27 state=0 rep=1",     # Esc
        "down vk=38 scan=72 ch=0 state=0 rep=1",     # up arrow
        "down vk=116 scan=63 ch=0 state=0 rep=1",    # F5
        "down vk=46 scan=83 ch=0 state=0 rep=1",     # Delete
        "down vk=65 scan=30 ch=1 state=8 rep=1",     # Ctrl+A
        "down vk=8 scan=14 ch=8 state=0 rep=1",      # Backspace
        "down vk=49 scan=2 ch=49 state=0 rep=1",     # 1
        "down vk=186 scan=39 ch=58 state=16 rep=1",  # ':': Shift+;
        "down vk=221 scan=27 ch=29 state=8 rep=1",   # Ctrl+]
        "down vk=81 scan=16 ch=113 state=0 rep=1",   # q
    ]
    check(recs[0::2] == expected_down, "key-down records: %r" % recs[0::2])
    check(recs[1::2] == [r.replace("down", "up", 1) for r in expected_down],
          "each key-down is followed by its key-up: %r" % recs[1::2])
    check(mode_is_cooked(master), "terminal mode restored after a normal end")
    os.close(master)


def test_signal_restores(prog):
    proc, master = start_keys(prog, hold=True)
    read_until(master, b"ready")
    os.write(master, b"q")
    read_until(master, b"done")
    check(not mode_is_cooked(master), "raw mode while holding")
    proc.send_signal(signal.SIGTERM)
    proc.wait(timeout=10)
    check(proc.returncode == -signal.SIGTERM, "SIGTERM still ends the program")
    check(mode_is_cooked(master), "terminal mode restored after SIGTERM")
    os.close(master)


def test_lines(prog):
    env = dict(os.environ, ZU_PLATFORM_HELPER="lines")
    run = subprocess.run([prog, "--gtest_filter=ConsoleHelper.Lines"],
                         input=b"first\r\nsecond\n\nlast", capture_output=True, env=env,
                         timeout=30)
    check(b"[first][second][][last]<end>" in run.stdout, "lines: %r" % run.stdout)
    run = subprocess.run([prog, "--gtest_filter=ConsoleHelper.Lines"],
                         stdin=subprocess.DEVNULL, capture_output=True, env=env, timeout=30)
    check(b"<end>" in run.stdout and b"[" not in run.stdout.split(b"<end>")[0][-2:],
          "closed input ends at once: %r" % run.stdout)


def main():
    if len(sys.argv) > 1 and sys.argv[1].endswith(".exe"):
        print("the POSIX console layer; wait_key_win32_test.py and keyboard_win32_test.py "
              "cover Windows")
        return 77
    prog = helper_command(sys.argv[1] if len(sys.argv) > 1 else "zus")
    test_keys(prog)
    test_signal_restores(prog)
    test_lines(prog)
    if FAILURES:
        sys.exit(1)
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
