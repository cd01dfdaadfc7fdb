#!/usr/bin/env python3
"""Runs zus against every misbehaviour of the full test module, and every
variant that lacks an export with a normal and a failing start: zus must end with a script error report (exit code
-1) or a clean run (0), never with a signal, and must stop the module it
started exactly once.

    misbehaving_module_test.py ZUS [--emulator CMD]

A Windows zus.exe runs through CMD (a CMake list: program and arguments).
"""
import os
import subprocess
import sys
import tempfile

MODES = ["", "initfail", "longerror", "lasterrfalse", "blankclass", "dupclass",
         "funcblanks", "dupfunc", "longclasses", "longfuncs", "unterminated",
         "classesfail", "funcsfail"]
VARIANTS = ["testmod", "testmod_nodone", "testmod_noinit", "testmod_noversion",
            "testmod_nolasterror", "testmod_noclasses", "testmod_nofunctions",
            "testmod_nocreate", "testmod_nocall", "testmod_nogetprop", "testmod_nosetprop"]
# Uses what the module offers when the import succeeds.
SCRIPT = b"""Import MODULE;
Object c : TCounter;
c.Value = 1;
Print Str(c.Inc()) + Str(c.Value) + "\\r\\n";
Print Str(Add(1, 2)) + "\\r\\n";
"""


def main():
    zus = os.path.abspath(sys.argv[1])
    emulator = []
    if "--emulator" in sys.argv:
        emulator = [p for p in sys.argv[sys.argv.index("--emulator") + 1].split(";") if p]
    bindir = os.path.dirname(zus)
    failures = []
    with tempfile.TemporaryDirectory(prefix="zus-exthost-") as work:
        log = os.path.join(work, "calls.log")
        runs = [("testmod", mode) for mode in MODES]
        runs += [(variant, mode) for variant in VARIANTS[1:] for mode in ("", "initfail")]
        for variant, mode in runs:
            module = os.path.join(bindir, variant + ".zux")
            if not os.path.exists(module):
                failures.append("missing module " + module)
                continue
            script = os.path.join(work, "run.zus")
            with open(script, "wb") as f:
                f.write(SCRIPT.replace(b"MODULE", variant.encode() + b".zux"))
            if os.path.exists(log):
                os.remove(log)
            env = dict(os.environ, ZUS_TESTMOD_MODE=mode, ZUS_TESTMOD_LOG=log,
                       HOME=work, XDG_DATA_HOME=os.path.join(work, "data"))
            # A name, not a path: "/..." would be an option to a Windows zus.
            proc = subprocess.run(emulator + [zus, "run.zus"], cwd=work, env=env,
                                  stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, timeout=60)
            what = "%s mode %r" % (variant, mode)
            code = proc.returncode
            if code < 0 or (code & 0xFF) not in (0, 255):
                failures.append("%s: exit code %d\n%r\n%r" % (what, code, proc.stdout,
                                                              proc.stderr))
                continue
            if (code & 0xFF) == 255 and b"\r\nError in " not in proc.stdout:
                failures.append("%s: no error report: %r" % (what, proc.stdout))
            calls = open(log).read().split() if os.path.exists(log) else []
            if variant != "testmod_nodone" and calls and calls.count("done") != 1:
                failures.append("%s: module stopped %d times" % (what, calls.count("done")))
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
