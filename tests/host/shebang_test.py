#!/usr/bin/env python3
"""An executable script with a "#!/usr/bin/env zus" line runs by its own name.

    shebang_test.py ZUS

The script is marked executable and started directly, with the folder of
the built zus on PATH; its arguments arrive in argv, its result is the exit
code, and a runtime error names the line as counted in the file.
"""
import os
import stat
import subprocess
import sys
import tempfile

SCRIPT = (b"#!/usr/bin/env zus\n"
          b"Print \"args \" + Str(argc) + \": \" + argv[1] + \"\\r\\n\";\n"
          b"If (argv[1] == \"fail\") {\n"
          b"  Print missing;\n"
          b"}\n"
          b"result = 7;\n")


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: a #! line is how a POSIX shell starts a script; Windows starts .zus files through the association")
        return 77
    zus = os.path.abspath(sys.argv[1])
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-shebang-") as tmp:
        script = os.path.join(tmp, "hello")
        with open(script, "wb") as f:
            f.write(SCRIPT)
        os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
        env = dict(os.environ, PATH=os.path.dirname(zus) + os.pathsep + os.environ.get("PATH", ""),
                   HOME=tmp, XDG_DATA_HOME=tmp)

        def run(*args):
            return subprocess.run([script] + list(args), stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, env=env, cwd=tmp, timeout=60,
                                  stdin=subprocess.DEVNULL)

        proc = run("world")
        if proc.returncode != 7 or not proc.stdout.endswith(b"args 2: world\r\n"):
            problems.append("plain run: exit %d, output %r" % (proc.returncode, proc.stdout))
        proc = run("fail")
        want = (b"Constant or variable \"missing\" not defined\r\n"
                b"in file hello: line 4, pos 3\r\n")
        if proc.returncode != 255 or not proc.stdout.endswith(want):
            problems.append("error run: exit %d, output %r" % (proc.returncode, proc.stdout))
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
