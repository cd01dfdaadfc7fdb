#!/usr/bin/env python3
"""Input/output failures end the run with a clear message, never silently.

    io_errors_test.py ZUS

Scripts and included files that cannot be read, files that cannot be read
by TFile and Crc32File, standard output on a full disk (/dev/full), Print
appending to /dev/full or beyond RLIMIT_FSIZE, and a reader that closes
the pipe early. Run as root, the cases that need an unreadable file run zus
as the user nobody, since root reads every file.
"""
import os
import resource
import signal
import subprocess
import sys
import tempfile

BANNER = b"ZuScript 2.10 - console script interpreter\r\n"
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
from zus_command import can_start_as  # noqa: E402

NOBODY = 65534


def as_nobody():
    if os.geteuid() == 0:
        os.setgid(NOBODY)
        os.setgroups([])
        os.setuid(NOBODY)


class Case:
    def __init__(self, zus, folder):
        self.zus, self.folder, self.problems = zus, folder, []

    def write(self, name, data, mode=0o644):
        path = os.path.join(self.folder, name)
        with open(path, "wb") as f:
            f.write(data)
        os.chmod(path, mode)
        return path

    def run(self, args, stdout=subprocess.PIPE, preexec=None, **kw):
        return subprocess.run([self.zus] + args, cwd=self.folder, stdin=subprocess.DEVNULL,
                              stdout=stdout, stderr=subprocess.PIPE, timeout=60,
                              preexec_fn=preexec, **kw)

    def check(self, what, got, want):
        if got != want:
            self.problems.append("%s: %r, expected %r" % (what, got, want))


def unreadable_sources(c):
    if not can_start_as(c.zus, as_nobody):
        print("unreadable files not checked: another user cannot reach " + c.zus)
        return
    c.write("secret.zus", b'Print "never";\r\n', 0o000)
    p = c.run(["secret.zus"], preexec=as_nobody)
    c.check("unreadable script", (p.returncode, p.stdout),
            (255, BANNER + b"\r\nError in secret.zus:\r\n"
                           b"File \"secret.zus\" can't be read. Error 13\r\n"))
    c.write("inc.zus", b'Print "never";\r\n', 0o000)
    c.write("main.zus", b'x = 1;\r\n  Include inc.zus;\r\nPrint "never";\r\n')
    p = c.run(["main.zus"], preexec=as_nobody)
    c.check("unreadable include", (p.returncode, p.stdout),
            (255, BANNER + b"\r\nError in main.zus:\r\n"
                           b"File \"inc.zus\" can't be read. Error 13\r\n"
                           b"in file main.zus: line 2, pos 3\r\n"))
    c.write("data.txt", b"abc", 0o000)
    c.write("read.zus", b'Import io.zux; Object f : TFile;\r\n'
                        b'Print Str(Crc32File("data.txt", 0)) + "\\r\\n";\r\n'
                        b'f.Open("data.txt", 0);\r\n')
    p = c.run(["read.zus"], preexec=as_nobody)
    c.check("unreadable data", (p.returncode, p.stdout),
            (255, BANNER + b"0\r\n\r\nError in read.zus:\r\nCan't open file \"data.txt\". Error 13\r\n"
                  b"in file read.zus: line 3, pos 1\r\n"))
    if b"data.txt" not in p.stderr:
        c.problems.append("Crc32File reported no failure: %r" % p.stderr)


def full_outputs(c):
    c.write("print.zus", b'Print "one\\r\\n";\r\nx = 5;\r\nresult = 3;\r\n')
    with open("/dev/full", "wb") as full:
        p = c.run(["-q", "print.zus"], stdout=full)
    c.check("stdout on a full disk", (p.returncode, p.stderr),
            (1, b"\r\nFailure in print.zus:\r\nEInOutError: Disk full\r\n"
                b"in file print.zus: line 1, pos 1\r\n"))
    with open("/dev/full", "wb") as full:  # only the banner is lost
        p = c.run(["silent.zus"], stdout=full)
    c.check("banner on a full disk", p.returncode, 1)
    c.write("tfile.zus", b'Import io.zux; Object f : TFile; f.Open("/dev/full", 1);\r\n'
                         b'Print Str(f.WriteString("abc")) + "\\r\\n";\r\n')
    p = c.run(["-q", "tfile.zus"])
    c.check("TFile.WriteString on a full disk", (p.returncode, p.stdout), (0, b"-1\r\n"))
    c.write("append.zus", b'Print "x" >> "/dev/full";\r\n')
    p = c.run(["-q", "append.zus"])
    c.check("append to /dev/full", (p.returncode, p.stdout),
            (1, b"\r\nFailure in append.zus:\r\nEInOutError: Disk full\r\n"
                b"in file append.zus: line 1, pos 1\r\n"))

    def small_files():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (1000, 1000))
    c.write("grow.zus", b'For i = 1 to 100 { Print "0123456789abcdef" >> "log.txt"; }\r\n')
    p = c.run(["-q", "grow.zus"], preexec=small_files)
    c.check("append beyond RLIMIT_FSIZE", (p.returncode, p.stdout),
            (1, b"\r\nFailure in grow.zus:\r\nEInOutError: Disk full\r\n"
                b"in file grow.zus: line 1, pos 20\r\n"))
    c.check("file at the limit", os.path.getsize(os.path.join(c.folder, "log.txt")), 1000)


def closed_pipe(c):
    c.write("many.zus", b'For i = 1 to 100000 { Print "line\\r\\n"; }\r\n'
                        b'Print "done" >> "finished.txt";\r\n')
    for restore in (True, False):  # SIGPIPE as the shell leaves it, then ignored
        reader = subprocess.Popen(["head", "-c", "5"], stdin=subprocess.PIPE,
                                  stdout=subprocess.DEVNULL)
        p = c.run(["-q", "many.zus"], stdout=reader.stdin, restore_signals=restore)
        reader.stdin.close()
        reader.wait()
        c.check("closed pipe (SIGPIPE %s) stderr" % ("default" if restore else "ignored"),
                p.stderr, b"")
        c.check("closed pipe exit code", p.returncode, -signal.SIGPIPE if restore else 1)
    c.check("run stopped at the closed pipe",
            os.path.exists(os.path.join(c.folder, "finished.txt")), False)


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: /dev/full, file modes and SIGPIPE are POSIX; the Windows build reports its own codes through the same paths")
        return 77
    zus = os.path.abspath(sys.argv[1])
    problems = []
    for test in (unreadable_sources, full_outputs, closed_pipe):
        with tempfile.TemporaryDirectory(prefix="zus-io-") as tmp:
            os.chmod(tmp, 0o777)
            case = Case(zus, tmp)
            case.write("silent.zus", b"x = 1;\r\n")
            test(case)
            problems += ["%s: %s" % (test.__name__, p) for p in case.problems]
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
