#!/usr/bin/env python3
"""The results table of one kit run: zus against its peers on each workload,
with the project's targets met or missed, the instruction counts (the kit's
per-iteration counts for loop and calls, probe.py's counts on reduced
inputs for the others) and peak memory. Prints Markdown.

    table.py RESULTS"""
import csv
import json
import os
import sys

WORKLOADS = ["startup", "loop", "strings", "calls", "textproc", "crc", "regex", "walk"]
# The targets: (what is compared, the reference, the factor allowed).
TARGETS = {
    "startup": ("min", "lua5.4", 1.0),
    "strings": ("median", "python3", 1.0),
    "textproc": ("median", "python3", 1.0),
    "regex": ("median", "python3", 1.0),
    "crc": ("median", "python3", 1.0),
    "walk": ("median", "find", 1.5),
}
PER_UNIT_TARGETS = {"loop": 300, "calls": 500}  # instructions per iteration / call
MEMORY_FACTOR = 1.2  # peak memory against python3's


def fmt_t(sec):
    if sec is None:
        return "-"
    if sec < 0.01:
        return "%.2f ms" % (sec * 1000)
    if sec < 1:
        return "%.0f ms" % (sec * 1000)
    return "%.2f s" % sec


def load_times(results):
    times = {}
    for w in WORKLOADS:
        path = os.path.join(results, w + ".json")
        if not os.path.exists(path):
            continue
        with open(path) as f:
            for r in json.load(f)["results"]:
                ok = r.get("check", "OK") in ("OK", "UNCHECKED", "SKIP", None)
                times[(w, r["command"])] = (r.get("median"), r.get("min"), ok)
    return times


def load_tsv(path):
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return list(csv.DictReader(f, delimiter="\t"))


def number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return None


def main():
    results = sys.argv[1]
    times = load_times(results)
    out = ["## zus against its peers (one kit run)", "",
           "Wall times: hyperfine median (startup: minimum). Target: zus against the reference.",
           "", "| workload | zus | python3 | lua5.4 | find | zus / reference | target | |",
           "|---|---|---|---|---|---|---|---|"]
    misses = 0
    for w in WORKLOADS:
        if (w, "zus") not in times:
            continue
        stat, ref, factor = TARGETS.get(w, ("median", "python3", None))
        index = 1 if stat == "min" else 0
        cells = [fmt_t(times.get((w, impl), (None, None, True))[index])
                 for impl in ("zus", "python3", "lua5.4", "find")]
        zus_t = times[(w, "zus")][index]
        ref_t = times.get((w, ref), (None, None, True))[index]
        ratio = "%.2f (%s)" % (zus_t / ref_t, ref) if zus_t and ref_t else "-"
        verdict, target = "", "-"
        if factor is not None:
            target = "<= %g x %s" % (factor, ref)
            if zus_t and ref_t:
                met = zus_t <= factor * ref_t and times[(w, "zus")][2]
                verdict = "met" if met else "MISSED"
                misses += 0 if met else 1
        out.append("| %s | %s | %s | %s |" % (w, " | ".join(cells), ratio, target + " | " + verdict))

    rows = load_tsv(os.path.join(results, "callgrind.tsv"))
    probe = load_tsv(os.path.join(results, "probe.tsv"))
    if rows or probe:
        out += ["", "## Instructions (callgrind; repeatable, unlike wall times)", "",
                "| workload | size | zus | python3 | zus / python3 | target | |", "|---|---|---|---|---|---|---|"]
        for r in rows:
            if r["impl"] != "zus":
                continue
            per = number(r["Ir_per_unit"])
            py = next((number(p["Ir_per_unit"]) for p in rows
                       if p["workload"] == r["workload"] and p["impl"] == "python3"), None)
            limit = PER_UNIT_TARGETS.get(r["workload"])
            verdict = ""
            if limit is not None and per is not None:
                verdict = "met" if per <= limit else "MISSED"
                misses += 0 if per <= limit else 1
            out.append("| %s | %s | %s per %s | %s | %s | <= %s | %s |" % (
                r["workload"], r["size"], "%.0f" % per if per else "NA", r["unit"],
                "%.0f" % py if py else "-", "%.2f" % (per / py) if per and py else "-",
                limit, verdict))
        counts = {(p["workload"], p["impl"]): p for p in probe if p["measure"] == "Ir"}
        for w in WORKLOADS:
            z, p = counts.get((w, "zus")), counts.get((w, "python3"))
            if not z:
                continue
            zi, pi = number(z["value"]), number(p["value"]) if p else None
            out.append("| %s | %s | %s | %s | %s | - | |" % (
                w, z["size"], "{:,.0f}".format(zi) if zi else "NA",
                "{:,.0f}".format(pi) if pi else "-", "%.2f" % (zi / pi) if zi and pi else "-"))

    memory = {(p["workload"], p["impl"]): number(p["value"]) for p in probe
              if p["measure"] == "rss_kb"}
    if memory:
        out += ["", "## Peak memory (one run each, full size)", "",
                "| workload | zus | python3 | zus / python3 | target | |", "|---|---|---|---|---|---|"]
        for w in WORKLOADS:
            z, p = memory.get((w, "zus")), memory.get((w, "python3"))
            if z is None:
                continue
            met = p is not None and z <= MEMORY_FACTOR * p
            misses += 0 if met or p is None else 1
            out.append("| %s | %.1f MB | %s | %s | <= %g x python3 | %s |" % (
                w, z / 1024, "%.1f MB" % (p / 1024) if p else "-", "%.2f" % (z / p) if p else "-",
                MEMORY_FACTOR, ("met" if met else "MISSED") if p else ""))
    out += ["", "%d target(s) missed." % misses if misses else "Every target measured was met."]
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
