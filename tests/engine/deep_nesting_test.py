#!/usr/bin/env python3
"""Deeply nested expressions run in time linear in their length.

    deep_nesting_test.py ZUS [--emulator CMD]

100,000 nested parentheses and 25,000 nested calls, each in a statement
without "=" (an assigned text is cut at 99,999 characters). Reading such a
text anew at every level took minutes; now each level costs its own
characters only, and freeing the compiled tree takes no stack frame per
level. The time limit only tells a hang from a run.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from zus_command import zus_command  # noqa: E402

PRELUDE = 'Func P(v) { Print Str(v) + "|"; result = v; }\r\n'
CASES = [
    ("(" * 100000 + "P(1)" + ")" * 100000 + ";", b"1|"),
    ("P(" + "(1 + " * 100000 + "1" + ")" * 100000 + ");", b"100001|"),
    ("P(" + "StrLen(Str(" * 25000 + "77" + "))" * 25000 + ");", b"1|"),
]


def main():
    zus, emulator = zus_command(sys.argv)
    failures = 0
    with tempfile.TemporaryDirectory(prefix="zus-deep-") as work:
        for number, (statement, expected) in enumerate(CASES, 1):
            with open(os.path.join(work, "deep.zus"), "w") as f:
                f.write(PRELUDE + statement + "\r\n")
            proc = subprocess.run(emulator + [zus, "-q", "deep.zus"], cwd=work, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, timeout=100)
            if proc.stdout != expected or proc.returncode != 0:
                failures += 1
                print("case %d: exit %d, output %r" % (number, proc.returncode, proc.stdout[:300]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
