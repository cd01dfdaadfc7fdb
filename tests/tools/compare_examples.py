#!/usr/bin/env python3
"""Runs every example script with a POSIX zus and with a Windows zus.exe
(under the emulator) and compares what they print and their exit codes.

    compare_examples.py ZUS ZUS.EXE EMULATOR BANNER

EMULATOR is a CMake list (program and arguments), BANNER the banner of
zus.exe's version resource ("\\n" for CR LF). Two differences the system
makes are taken out before comparing: that banner stands for the fallback
banner, and zus.exe upper-cases the script name it is given (so argv[0]
and HomeDir come out upper-cased).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(HERE, "..", "..", "examples")
FALLBACK_BANNER = b"ZuScript 2.10 - console script interpreter\r\n"

# Each example with the arguments it is run with (paths relative to a
# scratch folder holding a copy of examples/: a Windows zus takes an
# argument starting with "/" for an option).
RUNS = [
    ("tour.zus", []),
    ("tour.zus", ["Ada"]),
    ("list_file.zus", []),
    ("list_file.zus", ["examples/tour.zus"]),
    ("file_crc.zus", []),
    ("file_crc.zus", ["examples/tour.zus", "examples/missing.txt"]),
    ("log_line.zus", []),
    ("log_line.zus", ["build.log", "nightly", "build"]),
    ("tidy_names.bat", ["My File (2).TXT", "  a\tb  "]),
    ("tidy_names.bat", []),
]


def run(command, cwd):
    proc = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=120)
    # tour.zus names its scratch file with Rnd.
    out = re.sub(rb"tour-[0-9A-F]{6}\.tmp", b"tour-XXXXXX.tmp", proc.stdout)
    return proc.returncode & 0xFF, out


def main():
    zus, zus_exe, emulator, banner = sys.argv[1:5]
    emulator = [p for p in emulator.split(";") if p]
    banner = banner.replace("\\n", "\r\n").encode() + b"\r\n"
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-examples-") as tmp:
        shutil.copytree(EXAMPLES, os.path.join(tmp, "examples"))
        for name, args in RUNS:
            script = "examples/" + name
            # log_line.zus appends a time-stamped line: each run its own log.
            for f in ("build.log",):
                if os.path.exists(os.path.join(tmp, f)):
                    os.remove(os.path.join(tmp, f))
            posix = run([os.path.abspath(zus), script] + args, tmp)
            if os.path.exists(os.path.join(tmp, "build.log")):
                os.remove(os.path.join(tmp, "build.log"))
            code, out = run(emulator + [os.path.abspath(zus_exe), script] + args, tmp)
            if out.startswith(banner):
                out = FALLBACK_BANNER + out[len(banner):]
            for part in (script, os.path.dirname(script) + "/"):
                out = out.replace(part.upper().encode(), part.encode())
            if (code, out) != posix:
                problems.append("%s %s:\n  POSIX   %r\n  Windows %r" % (name, args, posix,
                                                                      (code, out)))
            else:
                print("same: %s %s" % (name, " ".join(args)))
    for p in problems:
        print("differs: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
