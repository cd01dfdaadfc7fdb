#!/usr/bin/env python3
"""Runs one golden script test against the built zus.

    run_script_test.py ZUS path/to/name.zus

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
The script runs with the scratch folder as working directory; HOME and
XDG_DATA_HOME point into it, so nothing outside is touched.
With ZU_UPDATE_GOLDEN=1 in the environment the actual output is written to
name.out instead of being compared (check the diff before committing).
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


def main():
    zus, script = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    base = script[:-len(".zus")]
    name = os.path.basename(script)
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
            for f in os.listdir(os.path.dirname(zus)):
                if f == "zus" or f.endswith(".zux"):
                    shutil.copy(os.path.join(os.path.dirname(zus), f), bindir)
            with open(os.path.join(bindir, "zus.ini"), "wb") as f:
                f.write(ini)
            zus = os.path.join(bindir, "zus")
        args_text = read_optional(base + ".args", "r")
        args = args_text.splitlines() if args_text is not None else ["{script}"]
        args = [a.replace("{script}", name) for a in args]
        stdin = read_optional(base + ".stdin") or b""
        env = dict(os.environ)
        env["HOME"] = scratch
        env["XDG_DATA_HOME"] = os.path.join(scratch, "data")
        proc = subprocess.run([zus] + args, cwd=work, input=stdin,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                              timeout=100)
        out = proc.stdout.replace((work + "/").encode(), b"{dir}/")
        out = out.replace((os.path.dirname(zus) + "/").encode(), b"{bin}/")
        expected = read_optional(base + ".out") or b""
        if os.environ.get("ZU_UPDATE_GOLDEN") == "1" and out != expected:
            with open(base + ".out", "wb") as f:
                f.write(out)
            expected = out
        if out != expected:
            failures.append("standard output differs\n--- expected\n%r\n--- actual\n%r"
                            % (expected, out))
        exit_text = read_optional(base + ".exit", "r")
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
