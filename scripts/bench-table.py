#!/usr/bin/env python3
"""Runs tarnwick_bench with JSON output and prints one table: the median
time of each row at 100, 10,000 and 100,000 items, its ratio to the
baseline it is measured against (same run, same size), and the goal.

  scripts/bench-table.py BUILD_DIR [--repetitions N] [--json FILE] [--from FILE]
                         [--runner PROGRAM]

--from formats a saved JSON run instead of running the benchmark. --runner
starts the benchmark through PROGRAM (scripts/wine-run for the Windows
build, whose program is tarnwick_bench.exe). With the substitute host built
in BUILD_DIR, the host-session row runs it too (scripts/bench-session.sh).
"""
import argparse
import json
import os
import statistics
import subprocess
import sys

SIZES = [100, 10000, 100000]

# (label, benchmark, baseline benchmark or None, goal text, goal ratio or
# None, absolute goal in ns at 100,000 or None)
ROWS = [
    ("EE_REDRAW of a tracked editor", "BM_Redraw", None, "< 1 us, no heap allocation", None, 1000),
    ("EE_READ, file unchanged, with an item", "BM_ReadWithItem", "BM_BaseOpenTimeSize", "<= 3x open+time+size+close", 3, None),
    ("EE_READ, file unchanged, no item", "BM_ReadWithoutItem", "BM_BaseOpenTimeSize", "<= 3x open+time+size+close", 3, None),
    ("EE_SAVE", "BM_Save", "BM_BaseWriteBytes", "<= 1.5x writing the bytes", 1.5, None),
    ("EE_CLOSE", "BM_Close", "BM_BaseWriteBytes", "<= 1.5x writing the bytes", 1.5, None),
    ("menu: store position", "BM_MenuStore", "BM_BaseWriteBytes", "<= 1.5x writing the bytes", 1.5, None),
    ("EE_READ restoring ten bookmarks and a table", "BM_ReadRestoringMarks", "BM_BaseOpenTimeSize", "<= 3x open+time+size+close", 3, None),
    ("EE_READ, 100,000-line file unchanged, item with its text's fingerprint", "BM_ReadUnchangedText", "BM_BaseOpenTimeSize", "<= 3x open+time+size+close, no line read", 3, None),
    ("EE_READ, 100,000-line file changed, the line moved to the far end", "BM_ReadMovedFar", "BM_BaseReadLinesThroughHost", "<= 1x the lines read once in order through the host + hashed", 1, None),
    ("VE_READ, file unchanged, with an item", "BM_ViewerRead", "BM_BaseOpenTimeSize", "<= 3x open+time+size+close", 3, None),
    ("VE_CLOSE of a moved viewer", "BM_ViewerClose", "BM_BaseWriteBytes", "<= 1.5x writing the bytes", 1.5, None),
    ("Load after another host's change", "BM_LoadChanged", "BM_LoadFresh", "<= 1.5x fresh Load", 1.5, None),
    ("fresh Load", "BM_LoadFresh", "BM_BaseReadBytes", "<= 8x reading the bytes", 8, None),
    ("PurgeMissing (every item missing)", "BM_PurgeMissing", "BM_BaseWriteBytes", "(no goal)", None, None),
    ("(part of a save: the document's text, no disk)", "BM_WriteDocumentText", "BM_BaseWriteBytes", "", None, None),
    ("baseline: open+time+size+close", "BM_BaseOpenTimeSize", None, "", None, None),
    ("baseline: read the file's bytes", "BM_BaseReadBytes", None, "", None, None),
    ("baseline: write the bytes (temp, flush, replace)", "BM_BaseWriteBytes", None, "", None, None),
    ("baseline: 100,000 lines read once in order through ECTL_GETSTRING + hashed", "BM_BaseReadLinesThroughHost", None, "", None, None),
    ("baseline: 100,000 lines walked once in the host's own list + hashed", "BM_BaseReadLinesHashed", None, "", None, None),
]
# The rows that read the editor's text: the lines read (ECTL_GETSTRING) and
# the steps walked through the host's list of lines, per open.
WALK_ROWS = [("BM_ReadUnchangedText", "unchanged file"), ("BM_ReadMovedFar", "line moved to the far end"),
             ("BM_BaseReadLinesHashed", "baseline")]
EVENT_ROWS = {"BM_Redraw", "BM_ReadWithItem", "BM_ReadWithoutItem", "BM_Save", "BM_Close", "BM_MenuStore",
              "BM_ReadRestoringMarks", "BM_ViewerRead", "BM_ViewerClose"}


def run(build, repetitions, json_path, runner):
    binary = os.path.join(build, "bench", "tarnwick_bench")
    if not os.path.exists(binary) and os.path.exists(binary + ".exe"):
        binary += ".exe"
    out = json_path or os.path.join(build, "bench", "tarnwick_bench.json")
    subprocess.run(([runner] if runner else []) + [binary, "--benchmark_format=console", "--benchmark_out_format=json",
                    "--benchmark_out=" + out, "--benchmark_repetitions=%d" % repetitions,
                    "--benchmark_min_time=0.1"], check=True, stdout=sys.stderr)
    with open(out) as f:
        return json.load(f)


def medians(data):
    times = {}
    counters = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate":
            continue
        name = b["run_name"] if "run_name" in b else b["name"]
        parts = name.split("/")
        key = (parts[0], int(parts[1]))
        factor = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        times.setdefault(key, []).append(b["real_time"] * factor)
        for c in ("bytes", "bytes32", "blocks", "file", "measured32", "reads", "steps"):
            if c in b:
                counters.setdefault(key, {}).setdefault(c, []).append(b[c])
    return ({k: statistics.median(v) for k, v in times.items()},
            {k: {c: statistics.median(v) for c, v in d.items()} for k, d in counters.items()})


def fmt(ns):
    if ns is None:
        return "-"
    if ns < 1e3:
        return "%.0f ns" % ns
    if ns < 1e6:
        return "%.1f us" % (ns / 1e3)
    if ns < 1e9:
        return "%.1f ms" % (ns / 1e6)
    return "%.2f s" % (ns / 1e9)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--json")
    parser.add_argument("--from", dest="source")
    parser.add_argument("--runner", help="program that starts the benchmark (e.g. scripts/wine-run)")
    parser.add_argument("--session", help="file with the host-session figures (bench-session.sh)")
    args = parser.parse_args()
    if args.source:
        with open(args.source) as f:
            data = json.load(f)
    else:
        data = run(args.build, args.repetitions, args.json, args.runner)
    times, counters = medians(data)

    print("| work | 100 items | 10,000 items | 100,000 items | goal (at 100,000) | met |")
    print("|---|---|---|---|---|---|")
    for label, name, base, goal, ratio_goal, absolute in ROWS:
        cells = []
        met = ""
        for n in SIZES:
            t = times.get((name, n))
            cell = fmt(t)
            if base is not None and t is not None and times.get((base, n)):
                r = t / times[(base, n)]
                cell += " (%.2fx)" % r
                if n == 100000 and ratio_goal is not None:
                    met = "yes" if r <= ratio_goal else "no"
            if n == 100000 and absolute is not None and t is not None:
                met = "yes" if t < absolute else "no"
            if n == 100 and name in EVENT_ROWS and t is not None and t >= 100e3:
                cell += " [>100 us]"
            cells.append(cell)
        print("| %s | %s | %s | %s | %s | %s |" % (label, cells[0], cells[1], cells[2], goal, met))

    walks = []
    for name, label in WALK_ROWS:
        c = counters.get((name, 100000))
        if c and "reads" in c:
            walks.append("%s: %d lines read, %d steps" % (label, c["reads"], c["steps"]))
    if walks:
        print("| the host's list of 100,000 lines, per open (at 100,000 items) | | | %s | reads and steps linear in the file | %s |"
              % ("; ".join(walks), "yes" if all(counters[(n, 100000)]["steps"] <= 4 * 100000
                                                 for n, _ in WALK_ROWS if (n, 100000) in counters) else "no"))

    mem = counters.get(("BM_DocumentMemory", 100000))
    if mem and mem.get("measured32"):
        # A 32-bit program: its own blocks, as asked for and as they lie on
        # the Windows heap.
        asked = mem["bytes"] / mem["file"]
        bits32 = mem["bytes32"] / mem["file"]
        print("| memory of a loaded document (file %.1f MB, %d heap blocks) | | | 32-bit, measured: %.1f MB (%.2fx) asked for, %.1f MB (%.2fx) on the heap | <= 4x file size, 32-bit | %s |"
              % (mem["file"] / 1e6, mem["blocks"], mem["bytes"] / 1e6, asked, mem["bytes32"] / 1e6, bits32,
                 "yes" if bits32 <= 4 else "no"))
    elif mem:
        native = mem["bytes"] / mem["file"]
        bits32 = mem["bytes32"] / mem["file"]
        print("| memory of a loaded document (file %.1f MB, %d heap blocks) | | | native %.1f MB (%.2fx); 32-bit %.1f MB (%.2fx) | <= 4x file size, 32-bit | %s |"
              % (mem["file"] / 1e6, mem["blocks"], mem["bytes"] / 1e6, native, mem["bytes32"] / 1e6, bits32,
                 "yes" if bits32 <= 4 else "no"))
    normal = times.get(("BM_ParseNormal", 100000))
    crafted = times.get(("BM_ParseCrafted", 100000))
    if normal and crafted:
        r = crafted / normal
        print("| parser: crafted worst case vs a normal file of the same size | | | %s vs %s (%.2fx) | <= 2x | %s |"
              % (fmt(crafted), fmt(normal), r, "yes" if r <= 2 else "no"))
    if args.session and os.path.exists(args.session):
        # The host's time for the session beside the same calls priced at
        # this run's medians at 100,000 items.
        host_ns = None
        bench_ns = 0.0
        with open(args.session) as f:
            for line in f:
                key, value = line.split()
                if key == "host_ns":
                    host_ns = float(value)
                else:
                    bench_ns += float(value) * times.get((key, 100000), 0.0)
        r = host_ns / bench_ns
        print("| 100,000-item session: substitute host vs the same events here | | | %s vs %s (%.2fx) | <= 1.5x | %s |"
              % (fmt(host_ns), fmt(bench_ns), r, "yes" if r <= 1.5 else "no"))
    print()
    print("Median of %d repetitions, real time; ratios to the baseline of the same size in the same run."
          % max(1, len([b for b in data["benchmarks"] if b.get("run_type") != "aggregate"
                        and b["name"].startswith("BM_Redraw/100/")])))


if __name__ == "__main__":
    main()
