#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (tests/fuzz/corpus/TARGET/).

    make_seeds.py

The seeds come from the golden scripts and the regular expression tests:
small scripts for the loader, the expressions of Print statements for the
evaluator, literal and number texts for the values, patterns with inputs,
formats of the date tests, and a few call sequences of the io module. Each
corpus is kept small (a few dozen files of a few hundred bytes); the fuzzer
grows its own working copy outside the tree.
"""
import glob
import hashlib
import os
import re
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(HERE)
LIMIT = 60


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    unique = []
    for s in seeds:
        if s not in unique:
            unique.append(s)
    for s in unique[:LIMIT]:
        with open(os.path.join(folder, hashlib.sha1(s).hexdigest()[:16]), "wb") as f:
            f.write(s)


def scripts():
    paths = sorted(glob.glob(os.path.join(TESTS, "scripts", "**", "*.zus"), recursive=True))
    texts = []
    for p in paths:
        if "/io/" in p or ".files/" in p or ".expect/" in p:
            continue
        with open(p, "rb") as f:
            data = f.read()
        if len(data) < 600 and b"mport" not in data.lower()[1:] and b"exec" not in data.lower():
            texts.append(data)
    return texts


def main():
    sources = scripts()
    write("loader", sources[::max(1, len(sources) // LIMIT)])

    expressions = []
    for s in sources:
        expressions += re.findall(rb"(?:Print|\?|Write)\s+([^;>]{1,120});", s)
    expressions += [b"t[n - 6] + s", b"Fact(5) + Twice(f)", b"d + 1", b"(1 + (2 * (3)))",
                    b"StrPad(s, c, \"*\")", b"Substr(s, 0 - 1, 3)"]
    write("evaluate", expressions[::max(1, len(expressions) // LIMIT)])

    literals = [b"0x7FFFFFFF", b"4294967296", b"-12", b"1.2.3", b".5", b"\"a\\x41\\65\\-1\"",
                b"'it\\'s'", b"2147483648", b"0xG", b"\"open"]
    numbers = [b" 1.5E3 ", b"1e500", b"$1F", b"-2147483648", b"0x10", b"+", b"1.5x"]
    texts = [b"(5)", b"5-", b"&HFFFFFFFF", b"1,000.5", b"12/6/2026 6:00:00 PM", b"#TRUE#",
             b"5\0x", b" \t5\r\n", b"\xa05\xa0", b"Dec 6, 2026", b"8 PM", b"2026-12-06"]
    values = [b"\0" + t for t in literals] + [b"\1" + t for t in numbers]
    values += [b"\2" + t for t in numbers] + [b"\3" + t for t in texts]
    values += [b"\4" + struct.pack("<d", d) for d in (46362.75, -1.25, 1e300, 0.1)]
    values += [bytes([5 + 7 * k]) + b"7\xff-3" for k in range(19)]
    values += [b"\6\\x414\\1-", b"\6-12", b"\6 42 "]
    write("values", values)

    patterns = []
    call = re.compile(rb'(?:Matches|Match|Find|Replace)\("((?:[^"\\]|\\.){1,40})", '
                      rb'"((?:[^"\\]|\\.){0,40})"')
    for p in glob.glob(os.path.join(TESTS, "regexpr", "*_test.cpp")):
        with open(p, "rb") as f:
            for m in call.finditer(f.read()):
                patterns.append(b"\6" + m.group(1).replace(b"\\\\", b"\\") + b"\0" + m.group(2))
    patterns += [b"\6(a|b)*c\0ababc", b"\7(?i)x{2,3}\0XXxx", b"\6^(\\d+)-(\\w+)$\0" + b"12-ab",
                 b"\6(x{0,2}|ab)*\0abab", b"\4[^\\s]+\\b\0a b\nc"]
    write("regexpr", patterns)

    formats = [b"c", b"dddddd", b"yyyy-mm-dd hh:nn:ss.zzz", b"h:mm am/pm", b"d/m/yy",
               b"\"quoted\" 'x' tt", b"mmmm ddd e gg", b"hh:mm a/p ampm", b""]
    write("format_date_time",
          [struct.pack("<d", w) + bytes([k % 2]) + f
           for k, (w, f) in enumerate(zip([46362.75, 0.5, -1.25, 2958465.5, 1.0] * 2, formats))])

    def call(op, obj, member, args=b""):
        return bytes([op, obj, member]) + args
    text = lambda s: bytes([5, len(s)]) + s
    module = [b"\1" + struct.pack("<I", k) + payload for k, payload in
              ((1, b"\1\0\0\0\0\0\0\0"), (2, b"\xff\xff\xff\xff\0\0\0\0"),
               (3, struct.pack("<d", 2.5)), (4, struct.pack("<d", 46362.75)),
               (5, b"\1\0\0\0\0\0\0\0hello"), (9, b"\0" * 8))]
    module.append(b"\0" + call(0, 0, 0) + b"\0" + call(1, 0, 0) + b"\2" + text(b"a.txt") +
                  bytes([2]) + struct.pack("<d", 0)[:4] + b"\0\0\0\0" + call(1, 0, 5) + b"\1" +
                  text(b"line\r\n") + call(3, 0, 13) + call(1, 0, 3))
    module.append(b"\0" + call(0, 1, 1) + b"\1" + call(4, 1, 19) + b"\1\1\1\0\0\0\0\0\0\0" +
                  call(1, 1, 6) + b"\1" + text(b"*") + call(3, 1, 22) + call(1, 1, 7) + b"\0")
    module.append(b"\0" + call(0, 2, 2) + b"\2" + call(1, 2, 9) + b"\0" + call(2, 0, 28) + b"\1" +
                  text(b"gone.txt") + call(5, 0, 0) + b"\x10")
    write("module", module)


if __name__ == "__main__":
    main()
