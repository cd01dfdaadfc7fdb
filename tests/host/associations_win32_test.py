#!/usr/bin/env python3
"""zus.exe -r and -u against the real registry of the Wine prefix, read back
with `wine reg query`, and zus.bat in its Windows directory.

    associations_win32_test.py ZUS --emulator CMD

Checks the open command stored as the default value of
HKEY_CLASSES_ROOT\\.zus\\shell\\open\\command, zus.bat, that registering
twice leaves one command in zus.bat, that -u removes the whole .zus key
(subkeys of other programs included) and zus.bat, the messages of every
case, and exit code 0 throughout.
"""
import os
import re
import subprocess
import sys

BANNER = rb"ZuScript Version [^\r]*\r\nCopyright[^\r]*\r\n"
COMMAND_KEY = r"HKCR\.zus\shell\open\command"


def main():
    zus = os.path.abspath(sys.argv[1])
    if not zus.endswith(".exe"):
        print("the Windows registry; associations_test.py covers the POSIX registry folder")
        return 77
    emulator = [p for p in sys.argv[sys.argv.index("--emulator") + 1].split(";") if p]
    # The prefix is the one wine-run uses: WINEPREFIX, else its argument.
    prefix = os.environ.get("WINEPREFIX") or emulator[1]
    batch = os.path.join(prefix, "drive_c", "windows", "zus.bat")
    program = ("Z:" + zus.replace("/", "\\")).encode()
    nine = b"".join(b' "%%%d"' % n for n in range(1, 10))
    problems = []

    def run(*args):
        proc = subprocess.run(emulator + list(args), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=120)
        return proc.returncode, proc.stdout

    def check(what, got, want):
        if got != want:
            problems.append("%s: %r, expected %r" % (what, got, want))

    def check_output(what, out, message):
        if not re.fullmatch(BANNER + re.escape(message) + rb"\r\n", out):
            problems.append("%s: %r" % (what, out))

    def stored_command():
        code, out = run("reg", "query", COMMAND_KEY, "/ve")
        m = re.search(rb"REG_SZ\s+(.*?)\r?\n", out)
        return m.group(1) if code == 0 and m else None

    def batch_text():
        if not os.path.exists(batch):
            return None
        with open(batch, "rb") as f:
            return f.read()

    # A clean start: no association from an earlier run.
    run(zus, "-q", "-u")
    code, out = run(zus, "-u")
    check("-u without association exit code", code, 0)
    check_output("-u without association", out, b"Remove file associations: failed")

    code, out = run(zus, "-r", "never-run.zus")
    check("-r exit code", code, 0)
    check_output("-r", out, b"Register file associations: successful")
    check("open command", stored_command(), program + b" -w" + nine)
    check("zus.bat", batch_text(), b"@" + program + nine)

    code, out = run(zus, "-q", "/R")
    check("second -r (quiet, written with '/')", out,
          b"Register file associations: successful\r\n")
    check("zus.bat after a second -r", batch_text(), b"@" + program + nine)

    run("reg", "add", r"HKCR\.zus\OpenWithProgids\other", "/f")
    code, out = run(zus, "-u")
    check("-u exit code", code, 0)
    check_output("-u", out, b"Remove file associations: successful")
    check(".zus key left", run("reg", "query", r"HKCR\.zus")[0] != 0, True)
    check("zus.bat left", os.path.exists(batch), False)

    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
