#!/usr/bin/env python3
"""docs/language.md describes the language as zus runs it.

    language_reference_test.py ZUS

The table of built-in functions must list exactly the built-ins of the
interpreter's table (names and argument counts, as zu_tables prints them),
and each example with a result in backquotes (or "Empty") must give that
result through Str(). Every ```zuscript example followed by an ```output
block is run as example.zus (banner left out, line ends as LF) and must
print exactly that output. Runs use the C locale, whose forms are US
English, in a scratch folder holding data.txt ("123456789").
"""
import os
import re
import subprocess
import sys
import tempfile
import textwrap

DOC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs", "language.md")
BANNER = "ZuScript 2.10 - console script interpreter\n"


def table_builtins(zus):
    out = subprocess.run([os.path.join(os.path.dirname(zus), "zu_tables")],
                         stdout=subprocess.PIPE, check=True, timeout=60).stdout.decode()
    return sorted((l.split()[1], int(l.split()[2])) for l in out.splitlines()
                  if l.startswith("builtin "))


def builtin_rows(text):
    section = text.split("\n## Built-in functions\n", 1)[1].split("\n## ", 1)[0]
    rows = []
    for line in section.splitlines():
        cells = [c.strip() for c in re.split(r"(?<!\\)\|", line)[1:-1]]
        if len(cells) != 4 or not cells[0].startswith("`"):
            continue
        m = re.fullmatch(r"`(\w+)\(([^)]*)\)`", cells[0])
        if not m:
            raise ValueError("bad signature cell: " + cells[0])
        count = len([a for a in m.group(2).split(",") if a.strip()])
        rows.append((m.group(1), count, cells[2].strip("`"), cells[3]))
    return rows


def examples(text):
    # ```zuscript blocks, each with the ```output block right after it
    # (indented alike inside a list item).
    blocks = [(kind, textwrap.dedent(body)) for _, kind, body in
              re.findall(r"^([ \t]*)```(\w+)\n(.*?)^\1```", text, re.S | re.M)]
    for (kind, body), (next_kind, next_body) in zip(blocks, blocks[1:]):
        if kind == "zuscript" and next_kind == "output":
            yield body, next_body


def run(zus, work, source):
    with open(os.path.join(work, "example.zus"), "wb") as f:
        f.write(source.encode())
    env = dict(os.environ, LC_ALL="C", LANG="C", HOME=work, XDG_DATA_HOME=work)
    proc = subprocess.run([zus, "example.zus"], cwd=work, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=60)
    out = proc.stdout.decode(errors="replace").replace("\r\n", "\n")
    return out[len(BANNER):] if out.startswith(BANNER) else out


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: the reference's outputs are compared with the Linux build; the examples"
              " folder runs under Wine in the examples test")
        return 77
    zus = os.path.abspath(sys.argv[1])
    with open(DOC, encoding="utf-8") as f:
        text = f.read()
    problems = []
    rows = builtin_rows(text)
    documented = sorted((name, count) for name, count, _, _ in rows)
    if documented != table_builtins(zus):
        problems.append("built-ins of the reference %r\ndiffer from the table %r"
                        % (documented, table_builtins(zus)))
    with tempfile.TemporaryDirectory(prefix="zus-doc-") as work:
        with open(os.path.join(work, "data.txt"), "wb") as f:
            f.write(b"123456789")
        for name, _, example, result in rows:
            if result == "Empty":
                want = ""
            elif result.startswith("`") and result.endswith("`"):
                want = result[1:-1]
                if len(want) >= 2 and want[0] == want[-1] == '"':
                    want = want[1:-1]
            else:
                continue  # a result that changes (dates, random numbers)
            got = run(zus, work, "Print Str(%s) + \"\\r\\n\";\n" % example)
            if got != want + "\n":
                problems.append("%s: %s gives %r, documented %r" % (name, example, got, want))
        count = 0
        for source, output in examples(text):
            count += 1
            got = run(zus, work, source).strip("\n")
            if got != output.strip("\n"):
                problems.append("example\n%s--- gives\n%s\n--- documented\n%s"
                                % (source, got, output.strip("\n")))
        if count < 10:
            problems.append("only %d examples with output found" % count)
    if problems:
        print("\n\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
