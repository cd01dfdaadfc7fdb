"""Runs a Windows zus.exe on a console of its own and types keys into it.

Wine gives a program a console when its standard handles are a terminal,
so the program runs inside a pseudo-terminal, started by inject_keys.exe
(tools/keys/inject_keys.cpp, built beside zus.exe), which writes the key
records with WriteConsoleInputA when zus's output shows the markers.
"""
import os
import pty
import re
import select
import subprocess
import time

NO_CONSOLE = 77


def emulator_of(argv):
    """The emulator command given after --emulator (a CMake list), or []."""
    if "--emulator" in argv:
        return [p for p in argv[argv.index("--emulator") + 1].split(";") if p]
    return []


def run_with_keys(emulator, zus, steps, args, cwd, timeout=60):
    """Runs zus ARGS in cwd; steps are (marker, keys) pairs for inject_keys.
    Returns the exit code and the text the console showed, with the
    terminal's control sequences and doubled CRs taken out."""
    inject = os.path.join(os.path.dirname(zus), "inject_keys.exe")
    command = emulator + [inject]
    for marker, keys in steps:
        command += [marker, keys]
    command += ["--", zus] + list(args)
    master, slave = pty.openpty()
    proc = subprocess.Popen(command, stdin=slave, stdout=slave, stderr=slave, cwd=cwd,
                            close_fds=True)
    os.close(slave)
    out = b""
    deadline = time.time() + timeout
    while time.time() < deadline:
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            try:
                data = os.read(master, 4096)
            except OSError:
                data = b""
            if not data:
                break
            out += data
        elif proc.poll() is not None:
            break
    if proc.poll() is None:
        proc.kill()
    proc.wait()
    os.close(master)
    text = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", out).replace(b"\r\r\n", b"\r\n")
    return proc.returncode, text
