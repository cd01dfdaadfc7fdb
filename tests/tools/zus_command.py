"""The command that starts the zus under test.

The Python tests are run as `test.py ZUS [--emulator CMD]`: a Windows build
passes CMD (a CMake list, ";"-separated) to start zus.exe under Wine.
"""
import os


def zus_command(argv):
    """The zus path and the command prefix ([] or the emulator) from argv."""
    zus = os.path.abspath(argv[1])
    emulator = []
    if "--emulator" in argv:
        emulator = [p for p in argv[argv.index("--emulator") + 1].split(";") if p]
    return zus, emulator


def is_windows_build(zus):
    return zus.endswith(".exe")


def can_start_as(zus, preexec):
    """Whether zus starts under preexec (another user): a checkout inside a
    folder only its owner may enter cannot be run by anybody else."""
    import subprocess
    try:
        subprocess.run([zus, "-q", "-c", "no such script.zus"], preexec_fn=preexec,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
    except PermissionError:
        return False
    return True
