#!/usr/bin/env python3
"""zus -c finds nothing in the example scripts.

    examples_test.py ZUS [--emulator CMD]

Every file of examples/ is checked quietly: no output, exit code 0.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from zus_command import zus_command  # noqa: E402


def main():
    zus, emulator = zus_command(sys.argv)
    examples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples")
    problems = []
    names = sorted(os.listdir(examples))
    with tempfile.TemporaryDirectory(prefix="zus-check-") as tmp:
        env = dict(os.environ, HOME=tmp, XDG_DATA_HOME=tmp)
        for name in names:
            # Named from their folder: on Windows a path starting with "/"
            # would be read as an option. A check runs nothing.
            proc = subprocess.run(emulator + [zus, "-q", "-c", name],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                                  cwd=examples, timeout=60, stdin=subprocess.DEVNULL)
            if proc.returncode != 0 or proc.stdout:
                problems.append("%s: exit %d\n%s" % (name, proc.returncode,
                                                     proc.stdout.decode(errors="replace")))
    if not names:
        problems.append("no examples found in " + examples)
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
