#!/usr/bin/env python3
"""The editor syntax files parse and name exactly the code's keywords and built-ins.

    grammar_test.py ZUS

The keyword and built-in tables come from zu_tables, built beside ZUS. The
VS Code grammar must be valid JSON whose regular expressions compile; its
keyword rule must list the loader's keyword table and its built-in rule the
built-in table, and so must the Vim syntax file. Where vim is installed the
syntax file is loaded and one line is checked for comments, a string with an
escaped quote, keywords and numbers.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

EDITORS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "editors")


def tables(zus):
    out = subprocess.run([os.path.join(os.path.dirname(zus), "zu_tables")],
                         stdout=subprocess.PIPE, check=True, timeout=60).stdout.decode()
    keywords = [l.split()[1] for l in out.splitlines() if l.startswith("keyword ")]
    builtins = [l.split()[1] for l in out.splitlines() if l.startswith("builtin ")]
    return keywords, builtins


def regexes(node):
    if isinstance(node, dict):
        for key, value in node.items():
            if key in ("match", "begin", "end") and isinstance(value, str):
                yield value
            else:
                yield from regexes(value)
    elif isinstance(node, list):
        for item in node:
            yield from regexes(item)


def alternation(pattern):
    # The names of the first group: (?i)\b(A|B|C)\b...
    return re.search(r"\(((?:[A-Za-z0-9]+\|)+[A-Za-z0-9]+)\)", pattern).group(1).split("|")


def vim_words(text, group):
    words = []
    for line in text.splitlines():
        parts = line.split()
        if parts[:3] == ["syn", "keyword", group]:
            words += parts[3:]
    return words


def check_vim(problems):
    vim = shutil.which("vim")
    if not vim:
        return
    line = '/*/ Print "a\\"b"; ? 0x1F @ c'
    want = "CCC KKKKK SSEESS  K NNNN CCC"
    with tempfile.TemporaryDirectory(prefix="zus-vim-") as tmp:
        sample, result = os.path.join(tmp, "t.zus"), os.path.join(tmp, "out")
        with open(sample, "w") as f:
            f.write(line + "\n")
        script = ("let s = '' | for c in range(1, len(getline(1))) | "
                  "let n = synIDattr(synID(1, c, 1), 'name') | "
                  "let s .= n == '' ? ' ' : n[2] | endfor | call writefile([s], '%s')" % result)
        proc = subprocess.run([vim, "-Nu", "NONE", "-es", "-c", "set rtp^=" + os.path.join(EDITORS, "vim"),
                               "-c", "syntax on", "-c", "filetype on", "-c", "e " + sample,
                               "-c", script, "-c", "qa!"],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60,
                              stdin=subprocess.DEVNULL)
        got = open(result).read().rstrip("\n") if os.path.exists(result) else None
        if proc.returncode != 0 or got != want:
            problems.append("vim highlights %r as %r, expected %r (exit %d)"
                            % (line, got, want, proc.returncode))


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: the editor grammars are held to the tables by the Linux build; the tables are the same on every platform")
        return 77
    zus = os.path.abspath(sys.argv[1])
    keywords, builtins = tables(zus)
    problems = []
    vscode = os.path.join(EDITORS, "vscode")
    for name in ("package.json", "language-configuration.json"):
        with open(os.path.join(vscode, name)) as f:
            json.load(f)
    with open(os.path.join(vscode, "syntaxes", "zuscript.tmLanguage.json")) as f:
        grammar = json.load(f)
    for pattern in regexes(grammar):
        try:
            re.compile(pattern)
        except re.error as e:
            problems.append("grammar pattern %r: %s" % (pattern, e))
    repo = grammar["repository"]
    names = alternation(repo["keywords"]["match"])
    if "(\\?)" in repo["keywords"]["match"]:
        names.append("?")
    if sorted(names) != sorted(keywords):
        problems.append("grammar keywords %r, table %r" % (names, keywords))
    if sorted(alternation(repo["builtins"]["match"])) != sorted(builtins):
        problems.append("grammar built-ins differ from the table")

    with open(os.path.join(EDITORS, "vim", "syntax", "zuscript.vim")) as f:
        vim = f.read()
    names = vim_words(vim, "zuKeyword") + (["?"] if 'syn match zuKeyword "?"' in vim else [])
    if sorted(names) != sorted(keywords):
        problems.append("vim keywords %r, table %r" % (names, keywords))
    if sorted(vim_words(vim, "zuBuiltin")) != sorted(builtins):
        problems.append("vim built-ins differ from the table")
    check_vim(problems)
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
