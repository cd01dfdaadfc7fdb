#!/usr/bin/env python3
"""Runs the recorded corpus of random expressions and statements against zus.

    differential_test.py ZUS

differential_corpus.jsonl holds a prelude (variables, arrays and functions of
every kind) and 2,000 random cases: statement texts built from every operand
rule, operator, built-in and statement form, with mistakes of every kind
mixed in. Each case ran once through the evaluator that re-read expressions
from their text on every run; its standard output (banner line dropped) and
exit code were recorded then. Each case runs here as prelude + case in a
scratch folder and must give the same bytes: values, output order, and every
error report with its message, script name, line and column.
"""
import json
import os
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "differential_corpus.jsonl")


def run_case(zus, script, scratch):
    work = tempfile.mkdtemp(dir=scratch)
    with open(os.path.join(work, "case.zus"), "wb") as f:
        f.write(script.encode("latin-1"))
    env = dict(os.environ, LC_ALL="C", HOME=work, XDG_DATA_HOME=os.path.join(work, "data"))
    proc = subprocess.run([zus, "case.zus"], cwd=work, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, timeout=60)
    out = proc.stdout
    out = out.split(b"\r\n", 1)[1] if b"\r\n" in out else out  # the banner line
    out = out.replace((work + "/").encode(), b"{dir}/")
    exit_code = proc.returncode - 256 if proc.returncode > 127 else proc.returncode
    return out.decode("latin-1"), exit_code


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: the evaluator holds no platform code, and the corpus's 2,000 processes take many minutes under Wine: the Linux run compares it")
        return 77
    zus = os.path.abspath(sys.argv[1])
    with open(CORPUS, encoding="utf-8") as f:
        prelude = json.loads(f.readline())["prelude"]
        cases = [json.loads(line) for line in f]
    with tempfile.TemporaryDirectory(prefix="zus-diff-") as scratch:
        with ThreadPoolExecutor(max_workers=2) as pool:
            results = list(pool.map(lambda c: run_case(zus, prelude + c["body"], scratch), cases))
    failures = 0
    for number, (case, (out, exit_code)) in enumerate(zip(cases, results), 1):
        expected_exit = case["exit"] - 256 if case["exit"] > 127 else case["exit"]
        if out == case["out"] and exit_code == expected_exit:
            continue
        failures += 1
        if failures <= 5:
            print("case %d:\n%s--- expected (exit %d)\n%r\n--- actual (exit %d)\n%r\n"
                  % (number, case["body"], expected_exit, case["out"], exit_code, out))
    print("%d of %d cases differ" % (failures, len(cases)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
