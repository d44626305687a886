#!/usr/bin/env python3
"""Prints the benchmark results of bench/run as tables.

  table.py RESULTS.json
"""
import json
import sys

TICK_COLUMNS = [("probes/tick", "hit"), ("rects/tick", "rect"), ("metrics/tick", "metric"), ("top/tick", "top"),
                ("cursor/tick", "cursor"), ("moves/tick", "move"), ("raises/tick", "raise"),
                ("redraws/tick", "redraw"), ("allocs/tick", "alloc"), ("px/tick", "px")]


def time_text(b):
    ns = b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    if ns < 1e4:
        return f"{ns:,.0f} ns"
    if ns < 1e7:
        return f"{ns / 1e3:,.1f} µs"
    return f"{ns / 1e6:,.2f} ms"


def number(v):
    if v == int(v) and abs(v) < 1e6:
        return f"{int(v)}"
    return f"{v:.3f}" if abs(v) < 100 else f"{v:,.0f}"


def main(path):
    with open(path) as f:
        data = json.load(f)
    ctx = data.get("context", {})
    print(f"{ctx.get('date', '')}  {ctx.get('num_cpus', '?')} CPUs at {ctx.get('mhz_per_cpu', '?')} MHz,"
          f" load {', '.join(f'{x:.2f}' for x in ctx.get('load_avg', []))}")
    benches = [b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"]
    errors = [b for b in benches if b.get("error_occurred")]
    ticks = [b for b in benches if "probes/tick" in b and not b.get("error_occurred")]
    others = [b for b in benches if b not in ticks and not b.get("error_occurred")]

    if ticks:
        print("\nThe tick (CPU time per tick; platform calls and allocations per tick)")
        head = f"{'benchmark':<22} {'time/tick':>11}" + "".join(f" {short:>7}" for _, short in TICK_COLUMNS)
        print(head)
        print("-" * len(head))
        for b in ticks:
            per = 100 if b["name"].startswith("BM_HundredPets") else 1
            row = dict(b)
            row["cpu_time"] = b["cpu_time"] / per
            line = f"{b['name']:<22} {time_text(row):>11}"
            for key, _ in TICK_COLUMNS:
                line += f" {number(b[key]) if key in b else '':>7}"
            print(line)
        print("(BM_HundredPets: per pet tick; hit = WindowFromPoint, rect = GetWindowRect, metric = GetSystemMetrics,"
              " top = GetTopWindow)")

    if others:
        print("\nThe pose, the skin and the menu (CPU time per iteration)")
        head = f"{'benchmark':<26} {'time':>11} {'throughput':>11}  counters"
        print(head)
        print("-" * 80)
        for b in others:
            rate = f"{b['bytes_per_second'] / 1e6:.1f} MB/s" if "bytes_per_second" in b else ""
            skip = {"name", "run_name", "run_type", "repetitions", "repetition_index", "threads", "iterations",
                    "real_time", "cpu_time", "time_unit", "bytes_per_second", "family_index",
                    "per_family_instance_index", "aggregate_name", "aggregate_unit"}
            counters = ", ".join(f"{k} {number(v)}" for k, v in b.items() if k not in skip and isinstance(v, (int, float)))
            print(f"{b['name']:<26} {time_text(b):>11} {rate:>11}  {counters}")

    if errors:
        print("\nFailed")
        for b in errors:
            print(f"  {b['name']}: {b.get('error_message', '')}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
