#!/bin/bash
# Builds the native preset, runs orvalis-bench and prints each benchmark as a ratio to the
# reference measured in the same run.
#   scripts/bench.sh [extra Google Benchmark flags]
# The JSON results go to <build>/bench.json. Times are medians of the repetitions (wall time).
# BUILD_DIR=... picks another build folder of the native preset (default build/native).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build/native}

cmake --preset native -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target orvalis-bench -j "$(nproc)" >/dev/null

OUT=$BUILD/bench.json
"$BUILD"/orvalis-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$OUT" --benchmark_out_format=json "$@" >/dev/null

python3 - "$OUT" <<'PY'
import json, sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {b["run_name"]: b for b in runs if b.get("aggregate_name") == "median"}
if not median:  # run without repetitions
    median = {b["run_name"]: b for b in runs}

# (benchmark, reference, goal or None)
rows = [("BM_LogAdd10000", "BM_RawWrite10000", 1.5)]
for n in (4, 64, 1024):
    rows.append((f"BM_SnapshotLoad/{n}", f"BM_JsonParse/{n}", 2.0))
for n in (4, 64, 1024):
    rows.append((f"BM_SnapshotFileOnly/{n}", f"BM_JsonParse/{n}", None))
rows += [
    ("BM_GetManufacturerName", "BM_CopyMaker", None),
    ("BM_GetMemoryTypeLabel", "BM_CopyShort", None),
    ("BM_FormatSize", "BM_CopyShort", None),
    ("BM_FormatSizeUserSeparator", "BM_CopyShort", None),
    ("BM_UrlEncode", "BM_CopyKeyword", None),
]

def ns(b):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return b["real_time"] * scale

def show(t):
    for unit, div in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if t >= div:
            return f"{t / div:.3g} {unit}"
    return f"{t:.3g} ns"

failed = False
print(f"{'benchmark':<28} {'time':>10} {'reference':>20} {'ref time':>10} {'ratio':>7} {'goal':>6}  met?")
for name, ref, goal in rows:
    if name not in median or ref not in median:
        continue
    t, r = ns(median[name]), ns(median[ref])
    ratio = t / r
    met = "-" if goal is None else ("yes" if ratio <= goal else "NO")
    failed |= met == "NO"
    print(f"{name:<28} {show(t):>10} {ref:>20} {show(r):>10} {ratio:>7.2f} "
          f"{'' if goal is None else goal:>6}  {met}")

# Linear growth: time per module instance at 1024 against 64 (1.0 is perfectly linear).
load = {n: median.get(f"BM_SnapshotLoad/{n}") for n in (64, 1024)}
if all(load.values()):
    growth = (ns(load[1024]) / 1024) / (ns(load[64]) / 64)
    met = "yes" if growth <= 1.5 else "NO"
    failed |= met == "NO"
    print(f"{'SnapshotLoad per instance':<28} {show(ns(load[1024]) / 1024):>10} "
          f"{'same at 64':>20} {show(ns(load[64]) / 64):>10} {growth:>7.2f} {1.5:>6}  {met}")
sys.exit(0)  # the table is the result; misses are read from it, not from the exit code
PY
