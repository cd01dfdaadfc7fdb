#!/usr/bin/env python3
"""Runs one golden script test against the built zus.

    run_script_test.py [--emulator CMD] [--banner TEXT] ZUS path/to/name.zus

Sidecar files beside name.zus (all optional):
  name.out     expected standard output, byte for byte (CR LF included);
               the scratch folder's path in the output is written {dir}/
               and the folder of zus as {bin}/. Missing: no output expected.
  name.exit    expected exit code in decimal (-1 and 255 are the same); default 0.
  name.args    the command line after zus, one argument per line; {script}
               stands for name.zus. Default: a single line {script}.
  name.stdin   bytes for standard input (default: empty input).
  name.ini     a zus.ini: zus and the *.zux modules beside it are then
               copied into a private folder that holds this file.
  name.files/  copied into the scratch folder before the run.
  name.expect/ every file in it must exist afterwards in the scratch folder
               with the same bytes.
  name.only    "posix" or "windows": the test runs on that system only
               (exit code 77, which CTest counts as skipped, elsewhere).
The script runs with the scratch folder as working directory; HOME and
XDG_DATA_HOME point into it, so nothing outside is touched.

A Windows zus (ZUS ends in .exe) runs through the emulator CMD (a CMake
list: program and arguments, e.g. cmake/wine-run and its prefix). Where
the system makes its output differ, name.win.out and name.win.exit take
the place of name.out and name.exit; {dir}/ and {bin}/ stand for the two
folders as Windows names them, with their trailing separator. Two
differences hold for every script and are undone before comparing: the
banner of zus.exe's version resource (TEXT, with "\n" for CR LF) is
replaced by the fallback banner of a program without one, and, against the
shared name.out only, the script name, which zus.exe upper-cases, is put
back in the letter case it was given in.

With ZU_UPDATE_GOLDEN=1 in the environment the actual output is written to
the expected file instead of being compared (name.win.out for a Windows
zus; keep it only where it differs from name.out; check the diff before
committing).
"""
import os
import shutil
import subprocess
import sys
import tempfile


def read_optional(path, mode="rb"):
    if os.path.exists(path):
        with open(path, mode) as f:
            return f.read()
    return None


# The banner of a zus without a version resource, as the shared expected
# files hold it.
FALLBACK_BANNER = b"ZuScript 2.10 - console script interpreter\r\n"
SKIPPED = 77


def parse_command_line(argv):
    emulator, banner, rest = [], None, []
    i = 0
    while i < len(argv):
        if argv[i] == "--emulator":
            emulator = [part for part in argv[i + 1].split(";") if part]
            i += 2
        elif argv[i] == "--banner":
            banner = argv[i + 1].replace("\\n", "\r\n").encode() + b"\r\n"
            i += 2
        else:
            rest.append(argv[i])
            i += 1
    return emulator, banner, os.path.abspath(rest[0]), os.path.abspath(rest[1])


def windows_name(path):
    """How a Windows program under Wine names a POSIX path: drive Z:."""
    return "Z:" + path.replace("/", "\\")


def script_argument(args):
    """The argument zus takes as the script name: the first non-option."""
    for a in args:
        if not a.startswith("-") and not a.startswith("/"):
            return a
    return None


def main():
    emulator, banner, zus, script = parse_command_line(sys.argv[1:])
    windows = zus.endswith(".exe")
    base = script[:-len(".zus")]
    name = os.path.basename(script)
    only = read_optional(base + ".only", "r")
    if only is not None and only.strip() != ("windows" if windows else "posix"):
        print("runs on %s only" % only.strip())
        return SKIPPED
    out_file = base + ".out"
    exit_file = base + ".exit"
    if windows and (os.path.exists(base + ".win.out") or
                    os.environ.get("ZU_UPDATE_GOLDEN") == "1"):
        out_file = base + ".win.out"
    if windows and os.path.exists(base + ".win.exit"):
        exit_file = base + ".win.exit"
    failures = []
    with tempfile.TemporaryDirectory(prefix="zus-test-") as scratch:
        scratch = os.path.realpath(scratch)
        work = os.path.join(scratch, "work")
        os.mkdir(work)
        shutil.copy(script, os.path.join(work, name))
        if os.path.isdir(base + ".files"):
            shutil.copytree(base + ".files", work, dirs_exist_ok=True)
        ini = read_optional(base + ".ini")
        if ini is not None:
            bindir = os.path.join(scratch, "bin")
            os.mkdir(bindir)
            program = os.path.basename(zus)
            for f in os.listdir(os.path.dirname(zus)):
                if f == program or f.endswith(".zux"):
                    shutil.copy(os.path.join(os.path.dirname(zus), f), bindir)
            with open(os.path.join(bindir, "zus.ini"), "wb") as f:
                f.write(ini)
            zus = os.path.join(bindir, program)
        args_text = read_optional(base + ".args", "r")
        args = args_text.splitlines() if args_text is not None else ["{script}"]
        args = [a.replace("{script}", name) for a in args]
        stdin = read_optional(base + ".stdin") or b""
        env = dict(os.environ)
        env["HOME"] = scratch
        env["XDG_DATA_HOME"] = os.path.join(scratch, "data")
        proc = subprocess.run(emulator + [zus] + args, cwd=work, input=stdin,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                              timeout=280 if emulator else 100)
        out = proc.stdout
        if windows:
            out = out.replace((windows_name(work) + "\\").encode(), b"{dir}/")
            out = out.replace((windows_name(os.path.dirname(zus)) + "\\").encode(), b"{bin}/")
            if banner is not None and out.startswith(banner):
                out = FALLBACK_BANNER + out[len(banner):]
            given = script_argument(args)
            if out_file == base + ".out" and given and given.upper() != given:
                out = out.replace(given.upper().encode(), given.encode())
        out = out.replace((work + "/").encode(), b"{dir}/")
        out = out.replace((os.path.dirname(zus) + "/").encode(), b"{bin}/")
        expected = read_optional(out_file) or b""
        if os.environ.get("ZU_UPDATE_GOLDEN") == "1" and out != expected:
            with open(out_file, "wb") as f:
                f.write(out)
            expected = out
        if out != expected:
            failures.append("standard output differs\n--- expected\n%r\n--- actual\n%r"
                            % (expected, out))
        exit_text = read_optional(exit_file, "r")
        want = int(exit_text.strip()) if exit_text else 0
        if (proc.returncode & 0xFF) != (want & 0xFF):
            failures.append("exit code %d, expected %d" % (proc.returncode, want))
        expect_dir = base + ".expect"
        if os.path.isdir(expect_dir):
            for root, _, files in os.walk(expect_dir):
                for f in files:
                    rel = os.path.relpath(os.path.join(root, f), expect_dir)
                    got = read_optional(os.path.join(work, rel))
                    if got is None:
                        failures.append("file %s was not written" % rel)
                    elif got != read_optional(os.path.join(root, f)):
                        failures.append("file %s differs: %r" % (rel, got))
        if failures:
            sys.stderr.write(proc.stderr.decode(errors="replace"))
    if failures:
        print("\n".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
