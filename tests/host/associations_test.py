#!/usr/bin/env python3
"""zus -r and -u against a private registry folder (XDG_DATA_HOME).

    associations_test.py ZUS

Checks the open command stored under .zus\\shell\\open\\command, zus.bat,
that registering twice leaves one command in zus.bat, that concurrent runs
all succeed and leave one command, that -u removes the whole .zus key tree
(subkeys of other programs and temporary files of a run that died included)
and zus.bat, the messages of every case (an unwritable data folder too), and
exit code 0 throughout.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from zus_command import can_start_as  # noqa: E402

BANNER = b"ZuScript 2.10 - console script interpreter\r\n"


NOBODY = 65534


def as_nobody():
    # Root writes every folder; an unwritable one needs another user.
    if os.geteuid() == 0:
        os.setgid(NOBODY)
        os.setgroups([])
        os.setuid(NOBODY)


def run(zus, env, *args, preexec=None):
    proc = subprocess.run([zus] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          env=env, timeout=60, stdin=subprocess.DEVNULL, preexec_fn=preexec)
    return proc.returncode, proc.stdout


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    zus = os.path.abspath(sys.argv[1])
    if zus.endswith(".exe"):
        print("the POSIX registry folder; associations_win32_test.py covers Windows")
        return 77
    program = os.path.realpath(zus).encode()
    nine = b"".join(b' "%%%d"' % n for n in range(1, 10))
    problems = []

    def check(what, got, want):
        if got != want:
            problems.append("%s: %r, expected %r" % (what, got, want))

    with tempfile.TemporaryDirectory(prefix="zus-assoc-") as tmp:
        env = dict(os.environ, XDG_DATA_HOME=tmp, HOME=tmp)
        home = os.path.join(tmp, "zus")
        key = os.path.join(home, "registry", ".zus")
        command = os.path.join(key, "shell", "open", "command", "@")
        batch = os.path.join(home, "zus.bat")

        code, out = run(zus, env, "-r", "never-run.zus")
        check("-r exit code", code, 0)
        check("-r output", out, BANNER + b"Register file associations: successful\r\n")
        if os.path.exists(command):
            check("open command", read(command), program + b" -w" + nine)
        else:
            problems.append("open command not stored")
        check("zus.bat", read(batch) if os.path.exists(batch) else None, b"@" + program + nine)

        code, out = run(zus, env, "-q", "-R")
        check("second -r output (quiet)", out, b"Register file associations: successful\r\n")
        check("zus.bat after a second -r", read(batch) if os.path.exists(batch) else None,
              b"@" + program + nine)

        # Concurrent runs: each writes through a file of its own.
        runs = [subprocess.Popen([zus, "-q", "-r"], stdout=subprocess.PIPE, env=env,
                                 stdin=subprocess.DEVNULL) for _ in range(8)]
        outs = [(r.communicate(timeout=60)[0], r.returncode) for r in runs]
        check("concurrent -r", outs, [(b"Register file associations: successful\r\n", 0)] * 8)
        check("open command after concurrent -r", read(command), program + b" -w" + nine)
        check("zus.bat after concurrent -r", read(batch), b"@" + program + nine)
        check("temporary files left", sorted(os.listdir(home)), ["registry", "zus.bat"])

        os.makedirs(os.path.join(key, "OpenWithProgids", "other"))
        with open(os.path.join(os.path.dirname(command), "@.99999.tmp"), "wb") as f:
            f.write(b"left by a run that died")
        code, out = run(zus, env, "-u")
        check("-u exit code", code, 0)
        check("-u output", out, BANNER + b"Remove file associations: successful\r\n")
        check(".zus key left", os.path.exists(key), False)
        check("zus.bat left", os.path.exists(batch), False)

        code, out = run(zus, env, "-u")
        check("-u without association", out, BANNER + b"Remove file associations: failed\r\n")
        check("-u without association exit code", code, 0)

        # A registry that cannot be written: the key fails, zus.bat is still written.
        shutil.rmtree(os.path.join(home, "registry"), ignore_errors=True)
        with open(os.path.join(home, "registry"), "wb") as f:
            f.write(b"not a folder")
        code, out = run(zus, env, "-r")
        check("-r on a broken registry exit code", code, 0)
        if not re.fullmatch(rb"ZuScript 2\.10 - console script interpreter\r\n"
                            rb"Open registry key failed\. Error [1-9][0-9]*\r\n", out):
            problems.append("-r on a broken registry: %r" % out)
        check("zus.bat with a broken registry",
              read(batch) if os.path.exists(batch) else None, b"@" + program + nine)

    # A data folder that cannot be written: both failures in the message.
    if not can_start_as(zus, as_nobody):
        print("unwritable data folder not checked: another user cannot reach " + zus)
    else:
        with tempfile.TemporaryDirectory(prefix="zus-assoc-") as tmp:
            os.chmod(tmp, 0o555)
            env = dict(os.environ, XDG_DATA_HOME=tmp, HOME=tmp)
            code, out = run(zus, env, "-r", preexec=as_nobody)
            check("-r on an unwritable data folder", (code, out),
                  (0, BANNER + b"Open registry key failed. Error 5\r\nWrite batch file \"" +
                   tmp.encode() + b"/zus/zus.bat\" failed. Error 13\r\n"))
            os.chmod(tmp, 0o755)

    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
