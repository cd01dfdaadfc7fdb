#!/usr/bin/env python3
"""Repeatable numbers beside the kit's wall times: instructions that zus and
python3 execute on reduced inputs of the data-driven workloads (callgrind;
the kit itself counts only loop and calls), and the peak memory of both on
every workload at full size. Writes RESULTS/probe.tsv.

    probe.py ZUS KIT RESULTS

Uses the kit's data folder (ZUSBENCH_WORK, default /tmp/zusbench), which the
kit's run.sh generates, and its sizes (N_LOOP, N_STRINGS, K_CALLS)."""
import os
import re
import shutil
import subprocess
import sys

# Reduced inputs for the instruction counts: prefixes of the kit's files.
TEXTPROC_BYTES = 2_000_000
REGEX_BYTES = 1_000_000
CRC_BYTES = 20_000_000


def prefix(source, target, size, whole_lines):
    if os.path.exists(target):
        return
    with open(source, "rb") as f:
        data = f.read(size)
    if whole_lines:
        data = data[: data.rfind(b"\n") + 1]
    with open(target, "wb") as f:
        f.write(data)


def instructions(cmd, cwd):
    """Instructions of the whole run of cmd, or None."""
    proc = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + cmd,
                          cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=600)
    found = re.findall(rb"Collected : (\d+)", proc.stderr)
    return int(found[-1]) if proc.returncode == 0 and found else None


def peak_kb(cmd, cwd, scratch):
    """Peak resident memory of one run of cmd in KiB, or None. GNU time
    measures it: a child of this Python would count the memory of the
    interpreter it was forked from."""
    if not os.path.exists("/usr/bin/time"):
        return None
    report = os.path.join(scratch, "time.txt")
    proc = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + cmd, cwd=cwd,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    if proc.returncode != 0:
        return None
    with open(report) as f:
        return int(f.read().split()[-1])


def main():
    zus, kit, results = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    work = os.environ.get("ZUSBENCH_WORK", "/tmp/zusbench")
    w = os.path.join(kit, "workloads")
    py = shutil.which("python3", path=os.defpath) or sys.executable
    n_loop = os.environ.get("N_LOOP", "1000000")
    n_strings = os.environ.get("N_STRINGS", "100000")
    k_calls = os.environ.get("K_CALLS", "24")
    tree = os.path.join(work, "tree")
    walk_script = os.path.relpath(os.path.join(w, "walk", "walk.zus"), tree)
    if not os.path.isdir(tree):
        print("probe: no kit data in %s (run the kit first)" % work, file=sys.stderr)
        return 1
    data = os.path.join(results, "probe-data")
    os.makedirs(data, exist_ok=True)
    prefix(os.path.join(work, "log.txt"), os.path.join(data, "log2m.txt"), TEXTPROC_BYTES, True)
    prefix(os.path.join(work, "text.txt"), os.path.join(data, "text1m.txt"), REGEX_BYTES, False)
    prefix(os.path.join(work, "crc.bin"), os.path.join(data, "crc20m.bin"), CRC_BYTES, False)

    def zus_cmd(name, *args):
        return [zus, "-q", name + ".zus"] + list(args), os.path.join(w, name)

    def py_cmd(name, *args):
        return [py, os.path.join(w, name, name + ".py")] + list(args), os.path.join(w, name)

    full = {
        "startup": ([zus, "-q", "empty.zus"], os.path.join(w, "startup"), [py, "-c", "pass"], w),
        "loop": zus_cmd("loop", n_loop) + py_cmd("loop", n_loop),
        "strings": zus_cmd("strings", n_strings) + py_cmd("strings", n_strings),
        "calls": zus_cmd("calls", k_calls) + py_cmd("calls", k_calls),
        "textproc": zus_cmd("textproc", os.path.join(work, "log.txt")) +
                    py_cmd("textproc", os.path.join(work, "log.txt")),
        "crc": zus_cmd("crc", os.path.join(work, "crc.bin")) +
               py_cmd("crc", os.path.join(work, "crc.bin")),
        "regex": zus_cmd("regex", os.path.join(work, "text.txt")) +
                 py_cmd("regex", os.path.join(work, "text.txt")),
        "walk": ([zus, "-q", walk_script, "*.txt"], tree,
                 [py, os.path.join(w, "walk", "walk.py"), "*.txt"], tree),
    }
    reduced = {
        "startup": (full["startup"], "empty script"),
        "textproc": (zus_cmd("textproc", os.path.join(data, "log2m.txt")) +
                     py_cmd("textproc", os.path.join(data, "log2m.txt")), "2 MB log"),
        "crc": (zus_cmd("crc", os.path.join(data, "crc20m.bin")) +
                py_cmd("crc", os.path.join(data, "crc20m.bin")), "20 MB file"),
        "regex": (zus_cmd("regex", os.path.join(data, "text1m.txt")) +
                  py_cmd("regex", os.path.join(data, "text1m.txt")), "1 MB text"),
        "walk": (full["walk"], "22,000 entries"),
    }
    wanted = os.environ.get("WORKLOADS", " ".join(full)).split()
    lines = ["workload\timpl\tmeasure\tvalue\tsize"]
    os.environ["LC_ALL"] = "C"  # as the kit runs everything
    for name in wanted:
        if name not in full:
            continue
        zcmd, zcwd, pcmd, pcwd = full[name]
        for impl, cmd, cwd in (("zus", zcmd, zcwd), ("python3", pcmd, pcwd)):
            kb = peak_kb(cmd, cwd, data)
            lines.append("%s\t%s\trss_kb\t%s\tfull" % (name, impl, kb if kb is not None else "NA"))
        if name in reduced and shutil.which("valgrind"):
            (zcmd, zcwd, pcmd, pcwd), size = reduced[name]
            for impl, cmd, cwd in (("zus", zcmd, zcwd), ("python3", pcmd, pcwd)):
                ir = instructions(cmd, cwd)
                lines.append("%s\t%s\tIr\t%s\t%s" % (name, impl, ir if ir is not None else "NA", size))
                print("probe: %s %s %s instructions (%s)" % (name, impl, ir, size), file=sys.stderr)
    with open(os.path.join(results, "probe.tsv"), "w") as f:
        f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
