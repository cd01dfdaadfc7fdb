#!/usr/bin/env python3
"""Stress scripts: very long lines, very many statements, a gigabyte file,
texts of hundreds of megabytes and arrays of ten million elements.

    tests/stress/run.py [ZUS] [CASE...]

Without ZUS a Release zus is built into build-stress/. Each case makes its
input in a scratch folder, runs zus and reports whether it worked or failed
with a clear message, its time and its peak memory. The run fails when a
case crashes, gives another answer than expected, or uses more memory than
its bound. Slow (a few minutes) and greedy (a 1 GB file, up to 3 GB of
memory), so it is not part of the normal test run.
"""
import os
import subprocess
import sys
import tempfile
import time

MB = 1024 * 1024
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def write_repeated(path, head, unit, count, tail=b""):
    with open(path, "wb") as f:
        f.write(head)
        chunk = unit * max(1, (4 * MB) // len(unit))
        per_chunk = len(chunk) // len(unit)
        left = count
        while left >= per_chunk:
            f.write(chunk)
            left -= per_chunk
        f.write(unit * left)
        f.write(tail)


# name: (setup(folder) -> None, script, stdin file or None, expected output,
#        memory bound in MB). The expected output is matched exactly, after
#        the banner line.
def long_data_line(d):
    write_repeated(os.path.join(d, "line.txt"), b"", b"x", 100 * MB, b"\r\nend\r\n")


def long_script_comment(d):
    write_repeated(os.path.join(d, "comment.zus"), b"x = 1; // ", b"c", 100 * MB,
                   b"\r\nPrint Str(x) + \"\\r\\n\";\r\n")


def long_script_literal(d):
    write_repeated(os.path.join(d, "literal.zus"), b"Print \"", b"s", 100 * MB, b"\";\r\n")


def many_statements(d):
    write_repeated(os.path.join(d, "many.zus"), b"", b"x = 1;\r\n", 10 * 1000 * 1000)


def gigabyte_file(d):
    write_repeated(os.path.join(d, "big.txt"), b"", b"y" * 65534 + b"\r\n", 16 * 1024)


CASES = {
    "long_data_line": (long_data_line, b"""Import io.zux; Object f : TFile;
f.Open("line.txt", 0); s = f.ReadString(); t = f.ReadString();
Print Str(StrLen(s)) + " " + t + "\\r\\n";""", None, b"104857600 end\r\n", 700),
    "long_stdin_line": (long_data_line, b"""Var s, t; Read s; Read t;
Print Str(StrLen(s)) + " " + t + "\\r\\n";""", "line.txt", b"104857600 end\r\n", 700),
    "long_script_comment": (long_script_comment, None, None, b"1\r\n", 700),
    "long_script_literal": (long_script_literal, None, None,
                            b"\r\nError in literal.zus:\r\nUnexpected end of string\r\n"
                            b"in file literal.zus: line 1, pos 1\r\n", 900),
    "ten_million_statements": (many_statements, None, None,
                               b"\r\nError in many.zus:\r\nToo many statements (more than 1000000)"
                               b"\r\nin file many.zus: line 1000001, pos 1\r\n", 700),
    "gigabyte_file": (gigabyte_file, b"""Import io.zux; Object f : TFile;
f.Open("big.txt", 0); n = 0; total = 0;
While (Not(f.EOF)) { s = f.ReadString(); n = n + 1; total = total + StrLen(s); }
Print Str(n) + " " + Str(total) + "\\r\\n";""", None, b"16385 1073709056\r\n", 200),
    "texts_of_hundreds_of_mb": (None, b"""s = StrPad("", 300000000, "x");
t = s + s; u = StrRepl(s, "x", "ab");
Print Str(StrLen(t)) + " " + Str(StrLen(u)) + " " + Hex(Crc32Str(s, 0), 8) + " ";
Print Str(StrPos(t + "!", "!")) + "\\r\\n";""", None, b"600000000 600000000 0AD4AC9C 600000001\r\n",
                                4000),
    "ten_million_element_array": (None, b"""Array a[10000000];
For i = 0 to 9999999 { a[i] = i; }
Print Str(a[9999999] + a[0]) + "\\r\\n";""", None, b"9999999\r\n", 1500),
    "array_beyond_memory": (None, b"""Array a[2000000000];""", None,
                            b"\r\nFailure in huge.zus:\r\nEOutOfMemory: Out of memory\r\n"
                            b"in file huge.zus: line 1, pos 1\r\n", 100),
}


def build():
    build_dir = os.path.join(ROOT, "build-stress")
    subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DZU_BUILD_TESTS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j2", "--target", "zus", "io"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build_dir, "bin", "zus")


SCRIPT_NAMES = {"long_script_comment": "comment.zus", "long_script_literal": "literal.zus",
                "ten_million_statements": "many.zus", "array_beyond_memory": "huge.zus"}


def run_case(zus, name, case):
    """Runs one case; (exit code, output, error output, seconds, peak MB)."""
    setup, script, stdin_name, _, _ = case
    with tempfile.TemporaryDirectory(prefix="zus-stress-") as d:
        if setup:
            setup(d)
        script_name = SCRIPT_NAMES.get(name, "stress.zus")
        if script is not None:
            with open(os.path.join(d, script_name), "wb") as f:
                f.write(script)
        stdin_path = os.path.join(d, stdin_name) if stdin_name else os.devnull
        out_path, err_path = os.path.join(d, "out"), os.path.join(d, "err")
        with open(stdin_path, "rb") as i, open(out_path, "wb") as o, open(err_path, "wb") as e:
            start = time.monotonic()
            proc = subprocess.Popen([zus, script_name], cwd=d, stdin=i, stdout=o, stderr=e)
            # wait4 gives this child's own peak memory.
            _, status, usage = os.wait4(proc.pid, 0)
            seconds = time.monotonic() - start
        with open(out_path, "rb") as o, open(err_path, "rb") as e:
            out, err = o.read(), e.read()
        out = out.split(b"\r\n", 1)[-1]  # the banner
    return os.waitstatus_to_exitcode(status), out, err, seconds, usage.ru_maxrss / 1024


def main():
    args = sys.argv[1:]
    zus = os.path.abspath(args.pop(0)) if args and os.path.isfile(args[0]) else build()
    names = args or list(CASES)
    failed = False
    print("%-28s %-7s %8s %8s  %s" % ("case", "result", "seconds", "peak MB", "answer"))
    for name in names:
        expected, bound = CASES[name][3], CASES[name][4]
        code, out, err, seconds, peak = run_case(zus, name, CASES[name])
        ok = out == expected and code >= 0 and peak <= bound
        failed |= not ok
        answer = out.decode("latin-1").strip().replace("\r\n", " / ")
        print("%-28s %-7s %8.1f %8.0f  %s" % (name, "ok" if ok else "FAILED", seconds, peak,
                                             answer[:90]), flush=True)
        if not ok:
            print("    exit %d, expected %r (memory bound %d MB), stderr %r"
                  % (code, expected, bound, err[-300:]), flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
