#!/usr/bin/env python3
"""The -w key wait of zus.exe on a Windows console, with key records written
into the console input (Wine inside a pseudo-terminal; see
tools/console_keys.py). The golden scripts wait_pipe and wait_closed_input
cover a pipe and a closed input, where there is no console.

    wait_key_win32_test.py ZUS --emulator CMD

Keys other than Enter, Esc and space are consumed and the wait goes on;
each of those three ends it, the release of Enter alone too; a key pressed
before the prompt does not count; the exit code is the script's.
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import console_keys  # noqa: E402

PROMPT = "Press ENTER or ESC for terminate..."


def main():
    zus = os.path.abspath(sys.argv[1])
    if not zus.endswith(".exe"):
        print("Windows console records; wait_key_test.py covers POSIX terminals")
        return 77
    emulator = console_keys.emulator_of(sys.argv)
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-wait-") as tmp:
        with open(os.path.join(tmp, "five.zus"), "w") as f:
            f.write("result = 5;\n")
        with open(os.path.join(tmp, "late.zus"), "w") as f:
            f.write('Print "ready\\r\\n";\nSleep(300);\n')

        def run(steps, script):
            code, text = console_keys.run_with_keys(emulator, zus, steps, ["-w", script], tmp)
            if code == console_keys.NO_CONSOLE:
                print("no console here: " + text.decode(errors="replace"))
                sys.exit(77)
            return code, text

        for key in ("enter", "esc", "space", "up:enter"):
            code, text = run([(PROMPT, "x,left,pause:500,check," + key)], "five.zus")
            if code != 5 or b"Result = 5" not in text or b"[waiting]" not in text:
                problems.append("other keys, then %s: exit %d, %r" % (key, code, text))
        code, text = run([("ready", "enter"), (PROMPT, "pause:500,check,esc")], "late.zus")
        if code != 0 or b"[waiting]" not in text:
            problems.append("a key before the prompt ended the wait: %r" % text)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
