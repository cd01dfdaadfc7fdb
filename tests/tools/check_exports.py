#!/usr/bin/env python3
"""Checks the export table of Windows extension modules with objdump -p:
each must export the ten entry points by their plain names, the way the
host looks them up, and nothing else (no stdcall-decorated "Name@8"
beside them on 32-bit Windows).

    check_exports.py OBJDUMP MODULE.zux...
"""
import re
import subprocess
import sys

ENTRY_POINTS = sorted([
    "ZuScriptXGetVersion", "ZuScriptXInit", "ZuScriptXDone", "ZuScriptXGetClassesList",
    "ZuScriptXGetFunctionsList", "ZuScriptXCreateObject", "ZuScriptXCallFunction",
    "ZuScriptXGetProperty", "ZuScriptXSetProperty", "ZuScriptXGetLastError"])


def exported_names(objdump, path):
    text = subprocess.run([objdump, "-p", path], capture_output=True, text=True,
                          check=True).stdout
    # The name table follows "[Ordinal/Name Pointer] Table" up to an empty line.
    table = text.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return []
    names = []
    for line in table[1].splitlines()[1:]:
        m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
        if not m:
            break
        names.append(m.group(1))
    return sorted(names)


def main():
    objdump, modules = sys.argv[1], sys.argv[2:]
    failures = []
    for path in modules:
        names = exported_names(objdump, path)
        if names != ENTRY_POINTS:
            failures.append("%s exports %s" % (path, names))
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
