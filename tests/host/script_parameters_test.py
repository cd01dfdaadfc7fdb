#!/usr/bin/env python3
"""Script parameters and the script's path reach argv as plain texts.

    script_parameters_test.py ZUS [--emulator CMD]

No parameter is ever run as code; a double quote, a line break or a
backslash escape in a parameter, and a double quote in the script's folder
name, arrive as themselves (escapes decoded). Windows file names cannot
hold a double quote: there the folder is named with a space.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from zus_command import is_windows_build, zus_command  # noqa: E402

SCRIPT = (b'For i = 0 to argc - 1 { Print "[" + argv[i] + "]\\n"; }\r\n'
          b'result = argc;\r\n')


def main():
    zus, emulator = zus_command(sys.argv)
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-params-") as tmp:
        folder = os.path.join(tmp, "odd name" if is_windows_build(zus) else 'odd"name')
        os.mkdir(folder)
        script = os.path.join(folder, "show.zus")
        with open(script, "wb") as f:
            f.write(SCRIPT)
        params = ['x"+Exec("touch","pwned",1)+"y', "two\nlines", 'a"b', "tab\\tA\\65", "end\\"]
        named = script
        if is_windows_build(zus):
            # A path starting with "/" would be an option there, and the
            # script's name arrives upper-cased.
            named = os.path.relpath(script, tmp)
            script = named.upper()
        proc = subprocess.run(emulator + [zus, "-q", named] + params, cwd=tmp,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=60)
        want = b"".join(b"[" + a.encode() + b"]\n" for a in
                        [script, params[0], "two\nlines", 'a"b', "tab\tAA", "end\\"])
        if proc.stdout != want:
            problems.append("output %r, expected %r" % (proc.stdout, want))
        if proc.returncode != len(params) + 1:
            problems.append("exit code %d" % proc.returncode)
        if os.path.exists(os.path.join(tmp, "pwned")):
            problems.append("a parameter was run as code")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
