#!/usr/bin/env python3
"""The clocks of a Wine desktop's processes, from /proc, for bench/desktop.

  procstat.py pid PREFIX COMM              the process of that Wine prefix with that name (15 characters)
  procstat.py snap LOG RUN PHASE PREFIX COMM XVFB_PID
                                           appends the CPU time (ns) of the program COMM, of the prefix's
                                           wineserver, of its explorer processes (the desktop), of its other
                                           processes and of Xvfb, with the program's peak resident memory
  procstat.py note LOG RUN KEY VALUE       appends a value of a run
  procstat.py report LOG JSON              prints the table and the ratios, writes them to JSON
  procstat.py native LOG JSON              the same for bench/native: rounds of runs named RUN#ROUND,
                                           with ticks or frames per second from notes, and its targets
  procstat.py requests SERVER_LOG FIRST LAST TICKS JSON
                                           a debugging wineserver's requests between two lines of its log,
                                           per process and kind, per tick
"""
import json
import os
import statistics
import sys
import time

CLOCK_HZ = os.sysconf("SC_CLK_TCK")


def read(path, mode="r"):
    try:
        with open(path, mode) as f:
            return f.read()
    except OSError:
        return None


def prefix_processes(prefix):
    """(pid, comm) of every process whose environment names the Wine prefix."""
    wanted = ("WINEPREFIX=" + prefix).encode()
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        env = read(f"/proc/{name}/environ", "rb")
        if env is None or wanted not in env.split(b"\0"):
            continue
        comm = (read(f"/proc/{name}/comm") or "").strip()
        found.append((int(name), comm))
    return found


def cpu_ns(pid):
    """CPU time of a process: its live threads' run time in nanoseconds, or
    utime + stime of the whole process where that is larger (threads that ended)."""
    threads = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            s = read(f"/proc/{pid}/task/{task}/schedstat")
            if s:
                threads += int(s.split()[0])
    except OSError:
        pass
    stat = read(f"/proc/{pid}/stat")
    ticks = 0
    if stat:
        fields = stat[stat.rindex(")") + 2:].split()
        ticks = int(fields[11]) + int(fields[12])
    return max(threads, ticks * 1_000_000_000 // CLOCK_HZ)


def switches(pid, kinds=("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
    """Context switches of all the process's live threads: how often it woke up or was put aside
    (kinds: the voluntary ones alone count how often it slept and woke)."""
    n = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            for line in (read(f"/proc/{pid}/task/{task}/status") or "").splitlines():
                if line.startswith(kinds):
                    n += int(line.split()[1])
    except OSError:
        pass
    return n


def peak_kb(pid):
    status = read(f"/proc/{pid}/status") or ""
    for line in status.splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    return 0


def all_processes():
    found = []
    for name in os.listdir("/proc"):
        if name.isdigit():
            found.append((int(name), (read(f"/proc/{name}/comm") or "").strip()))
    return found


def find(prefix, comm):
    """The process named COMM of the Wine prefix, or of the machine when the prefix is "-";
    "pid:N" names the process N itself (a machine may run more than one of a name)."""
    if comm.startswith("pid:"):
        pid = int(comm[4:])
        return pid if os.path.exists(f"/proc/{pid}") else None
    processes = all_processes() if prefix == "-" else prefix_processes(prefix)
    pids = [pid for pid, c in processes if c == comm[:15]]
    # The largest one: a launcher of the same name, if any, is small.
    return max(pids, key=peak_kb) if pids else None


def snap(log, run, phase, prefix, comm, xvfb):
    groups = {"program": 0, "wineserver": 0, "desktop": 0, "other": 0, "xvfb": 0}
    program = find(prefix, comm) if comm != "-" else None
    # Who is who first; then all the clocks at once, the time taken as the middle.
    members = [(program, "program")] if program and prefix == "-" else []
    for pid, c in prefix_processes(prefix) if prefix != "-" else []:
        if pid == program:
            key = "program"
        elif c.startswith("wineserver"):
            key = "wineserver"
        elif c == "explorer.exe":
            key = "desktop"
        else:
            key = "other"
        members.append((pid, key))
    if xvfb and xvfb != "-":
        # "XVFB[,PID…]": the X server, then the window manager and its tray, counted with the others
        pids = [int(p) for p in xvfb.split(",")]
        members.append((pids[0], "xvfb"))
        members += [(p, "other") for p in pids[1:]]
    before = time.monotonic()
    for pid, key in members:
        groups[key] += cpu_ns(pid)
    after = time.monotonic()
    line = {"run": run, "phase": phase, "t": (before + after) / 2, "read_s": after - before, "cpu": groups,
            "switches": switches(program) if program else 0,
            "voluntary": switches(program, ("voluntary_ctxt_switches:",)) if program else 0,
            "peak_kb": peak_kb(program) if program else 0, "pid": program}
    with open(log, "a") as f:
        f.write(json.dumps(line) + "\n")


def maps(log, run, prefix, comm):
    """The program's resident memory by what is mapped (file name, or the kind of anonymous memory)."""
    pid = find(prefix, comm)
    if not pid:
        return
    by = {}
    current = None
    for line in (read(f"/proc/{pid}/smaps") or "").splitlines():
        fields = line.split()
        if fields and "-" in fields[0] and len(fields) >= 5 and not fields[0].endswith(":"):
            current = os.path.basename(fields[5]) if len(fields) > 5 else "[anonymous]"
        elif fields and fields[0] == "Rss:" and current is not None:
            by[current] = by.get(current, 0) + int(fields[1])
    with open(log, "a") as f:
        f.write(json.dumps({"run": run, "key": "maps", "value": by}) + "\n")


def requests(server_log, first, last, ticks, out):
    """The wineserver requests of lines FIRST to LAST of a debugging server's log,
    per process (named from /proc while the processes live) and kind, per tick."""
    threads = {}  # server thread id → unix process id
    per = {}
    with open(server_log, errors="replace") as f:
        for number, line in enumerate(f, 1):
            if number > int(last):
                break
            tid, _, rest = line.partition(": ")
            if rest.startswith(("init_first_thread( unix_pid=", "init_thread( unix_pid=")):
                threads[tid] = int(rest.split("unix_pid=")[1].split(",")[0])
                continue
            if number < int(first) or "(" not in rest:
                continue
            kind = rest.split("(")[0]
            if not kind.isidentifier() or rest.startswith(kind + "() ="):  # a reply
                continue
            pid = threads.get(tid)
            comm = (read(f"/proc/{pid}/comm") or "?").strip() if pid else "?"
            per.setdefault(comm, {}).setdefault(kind, 0)
            per[comm][kind] += 1
    ticks = float(ticks)
    result = {comm: {k: n / ticks for k, n in kinds.items()} for comm, kinds in per.items()}
    with open(out, "w") as f:
        json.dump(result, f, indent=1)
    for comm, kinds in sorted(result.items(), key=lambda c: -sum(c[1].values())):
        total = sum(kinds.values())
        if total < 0.5:
            continue
        top = sorted(kinds.items(), key=lambda k: -k[1])[:6]
        print(f"  {comm:<16} {total:7.1f} requests/tick: " + ", ".join(f"{k} {v:.1f}" for k, v in top))


def note(log, run, key, value):
    try:
        value = float(value)
    except ValueError:
        pass
    with open(log, "a") as f:
        f.write(json.dumps({"run": run, "key": key, "value": value}) + "\n")


def load(log):
    runs = {}
    with open(log) as f:
        for line in f:
            e = json.loads(line)
            r = runs.setdefault(e["run"], {"notes": {}})
            if "phase" in e:
                r[e["phase"]] = e
            else:
                r["notes"].setdefault(e["key"], []).append(e["value"])
    return runs


CENSUS = {"3": "ticks", "4": "hit", "5": "rect", "6": "metric", "7": "top", "8": "move", "9": "raise", "10": "redraw",
          "11": "cursor", "12": "metric_read"}


def census(r):
    """What a run's program counted between its two census answers, and the ticks per second."""
    n = r["notes"]
    got = {}
    for k, name in CENSUS.items():
        if f"start.{k}" in n and f"end.{k}" in n:
            got[name] = n[f"end.{k}"][-1] - n[f"start.{k}"][-1]
    if "ticks" in got and "start.time" in n and "end.time" in n:
        got["ticks_per_s"] = got["ticks"] / (n["end.time"][-1] - n["start.time"][-1])
    return got


def rates(log, kept=False):
    """Floor C's rates: the platform calls of the walking pet per tick; kept: with the
    screen metrics the program read from the system instead of those the engine asked for."""
    c = census(load(log).get("walking", {"notes": {}}))
    if not c.get("ticks"):
        return 1
    if kept:
        c["metric"] = c.get("metric_read", 0)
    print(" ".join(f"{k}={c[k] / c['ticks']:.4f}" for k in ["hit", "rect", "metric", "top", "cursor", "move", "raise", "redraw"]
                   if k in c))
    return 0


def summarise(r):
    if "start" not in r or "end" not in r:
        return None
    wall = r["end"]["t"] - r["start"]["t"]
    cpu = {k: (r["end"]["cpu"][k] - r["start"]["cpu"][k]) / 1e9 for k in r["start"]["cpu"]}
    result = {"wall_s": wall, "cpu_s": cpu, "total_s": sum(cpu.values()),
              "total_pct": 100 * sum(cpu.values()) / wall,
              "program_server_pct": 100 * (cpu["program"] + cpu["wineserver"]) / wall,
              "peak_kb": max(r["start"]["peak_kb"], r["end"]["peak_kb"]),
              "wakeups_per_s": (r["end"].get("switches", 0) - r["start"].get("switches", 0)) / wall,
              "voluntary_per_s": (r["end"].get("voluntary", 0) - r["start"].get("voluntary", 0)) / wall}
    c = census(r)
    if c.get("ticks_per_s"):
        result["ticks_per_s"] = c["ticks_per_s"]
        result["total_us_per_tick"] = 1e6 * result["total_s"] / (c["ticks_per_s"] * wall)
    return result


def first(r, key, default=None):
    v = r["notes"].get(key)
    return v[-1] if v else default


def report(log, out):
    runs = load(log)
    s = {name: summarise(r) for name, r in runs.items()}
    s = {k: v for k, v in s.items() if v}
    order = ["walking", "stopped", "floor-a", "floor-b", "floor-b2", "floor-c", "floor-bare", "floor-c-tray",
             "floor-c-tray-nc", "floor-c-kept", "xpenguins"]
    print("\nCPU over each run, seconds (and % of one core)")
    head = (f"{'run':<15} {'wall':>6} {'program':>15} {'wineserver':>15} {'desktop':>14} {'other':>6} {'Xvfb':>14}"
            f" {'total':>15} {'peak RSS':>9} {'wakes/s':>8} {'ticks/s':>8} {'µs/tick':>8}")
    print(head)
    print("-" * len(head))
    for name in order:
        v = s.get(name)
        if not v:
            continue
        c, w = v["cpu_s"], v["wall_s"]
        cell = lambda x, width: f"{x:6.2f} {100 * x / w:6.2f}%".rjust(width)
        print(f"{name:<15} {w:6.1f} {cell(c['program'], 15)} {cell(c['wineserver'], 15)} {cell(c['desktop'], 14)}"
              f" {c['other']:6.2f} {cell(c['xvfb'], 14)} {cell(v['total_s'], 15)} {v['peak_kb'] / 1024:7.1f}MB"
              f" {v['wakeups_per_s']:8.1f}"
              + (f" {v['ticks_per_s']:8.1f} {v['total_us_per_tick']:8.0f}" if "ticks_per_s" in v else ""))

    result = {"runs": s, "notes": {k: r["notes"] for k, r in runs.items() if r["notes"]}}
    for name in ["walking", "stopped"]:
        c = census(runs.get(name, {"notes": {}}))
        if c.get("ticks"):
            calls = {k: c[k] / c["ticks"] for k in ["hit", "rect", "metric", "metric_read", "top", "move", "raise",
                                                     "redraw", "cursor"] if k in c}
            print(f"\nPimblo {name}: {c['ticks']:.0f} pet ticks ({c.get('ticks_per_s', 0):.1f}/s); the engine's platform"
                  " calls per tick: " + ", ".join(f"{k} {v:.3f}" for k, v in calls.items()))
            result[f"{name}_calls_per_tick"] = calls
        elif name in runs and c:
            print(f"\nPimblo {name}: no tick in the census stretch")
    for name in ["floor-c", "floor-c-tray", "floor-c-tray-nc", "floor-c-kept"]:
        c = census(runs.get(name, {"notes": {}}))
        if c.get("ticks"):
            print(f"{name}: {c['ticks']:.0f} ticks ({c.get('ticks_per_s', 0):.1f}/s); its window's moves"
                  f" {c.get('move', 0) / c['ticks']:.3f} and redraws {c.get('redraw', 0) / c['ticks']:.3f} per tick")

    costs = sorted(name for name in runs if name.startswith("callcost-") and name in s)
    if costs:
        print("\nOne platform call under Wine (our micro-benchmark), µs per call: wall time, and CPU time of the"
              " caller, wineserver, the desktop, Xvfb and all")
        table = {}
        for name in costs:
            calls = first(runs[name], "calls")
            if not calls:
                continue
            v = s[name]
            row = {"wall": first(runs[name], "wall_us", 0)}
            for part in ["program", "wineserver", "desktop", "xvfb"]:
                row[part] = v["cpu_s"][part] / calls * 1e6
            row["total"] = v["total_s"] / calls * 1e6
            table[name[len("callcost-"):]] = row
            print(f"  {name[len('callcost-'):]:<15}" + "".join(f" {k} {row[k]:7.2f}" for k in row))
        result["call_cost_us"] = table

    print("\nTargets")
    def ratio(a, b, what):
        if a not in s or b not in s or s[b]["total_pct"] <= 0:
            return None
        r = s[a]["total_pct"] / s[b]["total_pct"]
        line = (f"  {what}: {r:.3f} of the CPU per second (all processes: {s[a]['total_pct']:.2f}% vs"
                f" {s[b]['total_pct']:.2f}% of a core, {s[a]['total_pct'] - s[b]['total_pct']:+.2f} points;"
                f" program + wineserver {s[a]['program_server_pct']:.2f}% vs {s[b]['program_server_pct']:.2f}%)")
        if s[a].get("total_us_per_tick") and s[b].get("total_us_per_tick"):
            line += (f"; per tick {s[a]['total_us_per_tick'] / s[b]['total_us_per_tick']:.3f}"
                     f" ({s[a]['total_us_per_tick']:.0f} vs {s[b]['total_us_per_tick']:.0f} µs)")
        print(line)
        return r
    result["stopped_over_floor_a"] = ratio("stopped", "floor-a", "stopped ÷ floor A (target: within noise)")
    result["walking_over_floor_c"] = ratio("walking", "floor-c", "walking ÷ floor C (target ≤ 0.60)")
    result["walking_over_floor_bare"] = ratio("walking", "floor-bare", "walking ÷ the bare floor (target ≤ 1.00)")
    if "floor-c-tray" in s:
        ratio("walking", "floor-c-tray", "walking ÷ floor C with a notification icon")
    if "floor-c-tray-nc" in s:
        ratio("walking", "floor-c-tray-nc", "walking ÷ floor C with a notification icon and the system's non-client painting")
        ratio("floor-c-tray-nc", "floor-c-tray", "  the system's non-client painting with a notification icon, on the floor")
    if "floor-c-kept" in s:
        ratio("walking", "floor-c-kept", "walking ÷ floor C asking for the metrics as the program now does")

    starts = runs.get("startup", {"notes": {}})["notes"]
    if starts.get("pimblo") and starts.get("floor-b"):
        p, f = statistics.median(starts["pimblo"]), statistics.median(starts["floor-b"])
        print(f"  start to the pet's first frame ÷ floor B's start to its window (target ≤ 1.5): {p / f:.2f}"
              f"  (medians {p:.0f} ms vs {f:.0f} ms of {len(starts['pimblo'])} starts each;"
              f" all: {', '.join(f'{x:.0f}' for x in starts['pimblo'])} vs {', '.join(f'{x:.0f}' for x in starts['floor-b'])})")
        result["startup_ms"] = {"pimblo": starts["pimblo"], "floor_b": starts["floor-b"], "ratio": p / f}
    if starts.get("pimblo") and starts.get("floor-b2"):
        p, f = statistics.median(starts["pimblo"]), statistics.median(starts["floor-b2"])
        print(f"  start to the pet's first frame ÷ floor B' to its window (target ≤ 1.3): {p / f:.2f}"
              f"  (medians {p:.0f} ms vs {f:.0f} ms; all: {', '.join(f'{x:.0f}' for x in starts['floor-b2'])})")
        result["startup_ms"]["floor_b2"] = starts["floor-b2"]
        result["startup_ms"]["ratio_b2"] = p / f
    if "walking" in s and "floor-b" in s:
        pk, fb = max(s["walking"]["peak_kb"], s.get("stopped", s["walking"])["peak_kb"]), s["floor-b"]["peak_kb"]
        verdict = "met" if pk <= fb + 4096 else "missed"
        print(f"  peak memory (target ≤ floor B + 4 MB): {pk / 1024:.1f} MB vs {fb / 1024:.1f} MB + 4 MB: {verdict}")
        if "floor-b2" in s:
            f2 = s["floor-b2"]["peak_kb"]
            verdict = "met" if pk <= f2 + 1536 else "missed"
            print(f"  peak memory (target ≤ floor B' + 1.5 MB): {pk / 1024:.1f} MB vs {f2 / 1024:.1f} MB + 1.5 MB: {verdict}")
    base = "floor-b2" if "floor-b2" in s else "floor-b"
    mp, mf = first(runs.get("walking", {"notes": {}}), "maps"), first(runs.get(base, {"notes": {}}), "maps")
    if mp and mf:
        diff = sorted(((mp.get(k, 0) - mf.get(k, 0), k) for k in set(mp) | set(mf)), reverse=True)
        print(f"    resident now, Pimblo vs {base}: " + f"{sum(mp.values()) / 1024:.1f} MB vs {sum(mf.values()) / 1024:.1f} MB;"
              " the largest differences: " + ", ".join(f"{k} {d / 1024:+.1f}" for d, k in diff[:8] if d > 0))
        result["resident_by_mapping_kb"] = {"pimblo": mp, "floor_b": mf}
    sizes = runs.get("sizes", {"notes": {}})["notes"]
    for arch in ["win64", "win32"]:
        if sizes.get(arch):
            b = sizes[arch][-1]
            print(f"  Pimblo.exe {arch}: {b / 1048576:.2f} MB (target < 1.5 MB): {'met' if b < 1.5 * 1048576 else 'missed'}")
    skin = runs.get("skin", {"notes": {}})["notes"]
    for where in ["wine", "native"]:
        if skin.get(where):
            ms = skin[where][-1]
            print(f"  skin decode + load, {where}: {ms:.2f} ms (target < 5 ms): {'met' if ms < 5 else 'missed'}")
    xp = runs.get("xpenguins", {"notes": {}})
    if "xpenguins" in s and s.get("walking", {}).get("total_us_per_tick"):
        delay = first(xp, "delay_ms", 60)
        frames = s["xpenguins"]["wall_s"] * 1000 / delay
        per_frame = s["xpenguins"]["total_s"] / frames * 1e6
        w = s["walking"]
        per_tick = w["total_us_per_tick"]
        extra = ""
        if "floor-b" in s:
            extra = (f"; less floor B's idle ticking {1e4 * (w['total_pct'] - s['floor-b']['total_pct']) / w['ticks_per_s']:.0f}"
                     " µs")
        print(f"  XPenguins: {per_frame:.0f} µs of CPU per animation frame (about {frames:.0f} frames of {delay:.0f} ms, XPenguins"
              f" + Xvfb); Pimblo: {per_tick:.0f} µs per tick (all processes){extra}")
        result["xpenguins_us_per_frame"] = per_frame
        result["pimblo_us_per_tick"] = per_tick
    with open(out, "w") as f:
        json.dump(result, f, indent=1)


def native_report(log, out):
    """bench/native's rounds: each run's row, the median of each figure over the
    rounds with its spread, and the targets."""
    runs = load(log)
    rows = {}
    for name, r in runs.items():
        v = summarise(r)
        if not v or "#" not in name:
            continue
        n = r["notes"]
        if "ticks_start" in n and "ticks_end" in n:
            # Over the times the counters were asked for, which frame the run's clocks.
            v["ticks_per_s"] = (n["ticks_end"][-1] - n["ticks_start"][-1]) / (n["asked_end"][-1] - n["asked_start"][-1])
        elif "delay_ms" in n:
            v["ticks_per_s"] = 1000 / n["delay_ms"][-1]
        if v.get("ticks_per_s"):
            v["total_us_per_tick"] = 1e6 * v["total_s"] / (v["ticks_per_s"] * v["wall_s"])
        if "trips_start" in n and "trips_end" in n and v.get("ticks_per_s"):
            v["round_trips_per_tick"] = (n["trips_end"][-1] - n["trips_start"][-1]) / (v["ticks_per_s"] * v["wall_s"])
        rows[name] = v
    order = ["walking", "stopped", "floor", "xpenguins"]
    print("\nCPU over each run (the program and Xvfb, % of one core), µs per tick or frame, wake-ups, peak RSS")
    head = (f"{'run':<13} {'wall':>5} {'program':>8} {'Xvfb':>7} {'total':>7} {'ticks/s':>8} {'µs/tick':>8}"
            f" {'wakes/s':>8} {'peak RSS':>9}")
    print(head)
    print("-" * len(head))
    for kind in order:
        for name in sorted(k for k in rows if k.split("#")[0] == kind):
            v, w = rows[name], rows[name]["wall_s"]
            print(f"{name:<13} {w:5.1f} {100 * v['cpu_s']['program'] / w:7.3f}% {100 * v['cpu_s']['xvfb'] / w:6.3f}%"
                  f" {v['total_pct']:6.3f}% {v.get('ticks_per_s', 0):8.1f} {v.get('total_us_per_tick', 0):8.1f}"
                  f" {v['voluntary_per_s']:8.2f} {v['peak_kb'] / 1024:7.1f}MB")

    def spread(kind, key):
        values = [v[key] for name, v in rows.items() if name.split("#")[0] == kind and key in v]
        return (statistics.median(values), min(values), max(values)) if values else None
    med = {kind: {key: spread(kind, key) for key in ["total_pct", "total_us_per_tick", "voluntary_per_s", "peak_kb",
                                                     "round_trips_per_tick", "ticks_per_s"]} for kind in order}
    result = {"runs": rows, "medians": med}
    fmt = lambda m, unit="", scale=1, digits=2: f"{m[0] * scale:.{digits}f}{unit} ({m[1] * scale:.{digits}f}–{m[2] * scale:.{digits}f})"
    print("\nMedians over the rounds (min–max)")
    for kind in order:
        m = med[kind]
        if not m["total_pct"]:
            continue
        line = f"  {kind:<10} {fmt(m['total_pct'], '% of a core', digits=3)}"
        if m["total_us_per_tick"]:
            line += f", {fmt(m['total_us_per_tick'], ' µs/tick', digits=1)}"
        line += f", {fmt(m['voluntary_per_s'], ' wake-ups/s')}, peak RSS {fmt(m['peak_kb'], ' MB', 1 / 1024, 1)}"
        if m["round_trips_per_tick"]:
            line += f", {fmt(m['round_trips_per_tick'], ' round trips/tick', digits=4)}"
        print(line)

    print("\nTargets")
    targets = {}
    def verdict(name, ok, text):
        targets[name] = {"met": ok, "text": text}
        print(f"  {text}: {'met' if ok else 'missed'}")
    w, f, x, st = med["walking"], med["floor"], med["xpenguins"], med["stopped"]
    if w["total_us_per_tick"] and x["total_us_per_tick"]:
        r = w["total_us_per_tick"][0] / x["total_us_per_tick"][0]
        verdict("walking_per_tick_over_xpenguins_per_frame", r <= 0.5,
                f"walking per tick ÷ XPenguins per frame (≤ 0.5): {r:.3f} ({w['total_us_per_tick'][0]:.1f} vs"
                f" {x['total_us_per_tick'][0]:.1f} µs)")
    pairs = [rows[n]["total_pct"] / rows["floor#" + n.split("#")[1]]["total_pct"] for n in rows
             if n.startswith("walking#") and rows.get("floor#" + n.split("#")[1], {}).get("total_pct")]
    if pairs:
        r = statistics.median(pairs)
        result["walking_over_floor_by_round"] = pairs
        verdict("walking_over_floor", r <= 1.2,
                f"walking per second ÷ the bare floor run just before it (≤ 1.2): median {r:.3f} of {len(pairs)} rounds"
                f" ({', '.join(f'{p:.3f}' for p in pairs)}; medians of the runs {w['total_pct'][0]:.3f}% vs {f['total_pct'][0]:.3f}%)")
    if st["total_pct"]:
        prog = [v["cpu_s"]["program"] / v["wall_s"] * 100 for n, v in rows.items() if n.startswith("stopped#")]
        wakes = st["voluntary_per_s"]
        verdict("stopped_idle", max(prog) < 0.01 and wakes[2] == 0,
                f"stopped: program CPU at most {max(prog):.4f}% of a core, wake-ups {wakes[2]:.2f}/s at most (0 within noise, none)")
    starts = [v for name, r in runs.items() if name.startswith("startup#") for v in r["notes"].get("ms", [])]
    if starts:
        m = statistics.median(starts)
        result["startup_ms"] = starts
        verdict("startup", m < 100, f"start-up to the first frame (< 100 ms): median {m:.1f} ms of {len(starts)} starts"
                f" ({min(starts):.1f}–{max(starts):.1f})")
    if w["peak_kb"] and x["peak_kb"]:
        limit = x["peak_kb"][0] + 2048
        pk = w["peak_kb"][2]
        verdict("memory", pk < limit, f"peak resident memory of the walking pet (< XPenguins' + 2 MB): {pk / 1024:.1f} MB"
                f" vs {x['peak_kb'][0] / 1024:.1f} MB + 2 MB")
        # The stopped run opened the menu (立正): its font was mapped while it was open, and let go after.
        after = [sum(first(r, "maps").values()) for name, r in runs.items() if name.startswith("stopped#") and first(r, "maps")]
        if after and st["peak_kb"]:
            verdict("memory_after_menu", max(after) < limit,
                    f"resident once the menu has been open and closed (< the same): {max(after) / 1024:.1f} MB at most;"
                    f" {st['peak_kb'][2] / 1024:.1f} MB at its peak, while the menu's face was mapped")
    result["targets"] = targets
    for kind in ["walking", "stopped", "xpenguins"]:
        mp = next((first(r, "maps") for name, r in sorted(runs.items()) if name.startswith(kind + "#") and first(r, "maps")), None)
        if mp:
            top = sorted(mp.items(), key=lambda m: -m[1])[:8]
            print(f"    resident at the end of {kind}: {sum(mp.values()) / 1024:.1f} MB; the largest: "
                  + ", ".join(f"{k} {kb / 1024:.1f}" for k, kb in top))
            result.setdefault("resident_by_mapping_kb", {})[kind] = mp
    with open(out, "w") as fh:
        json.dump(result, fh, indent=1)


def call_medians(log):
    """Runs named KIND/ROUND, each with its calls and wall_us notes: the median µs of CPU per call by
    process group, and of wall time, for each kind against the first."""
    per = {}
    for name, r in load(log).items():
        calls = first(r, "calls")
        if "start" not in r or "end" not in r or not calls:
            continue
        cpu = {k: (r["end"]["cpu"][k] - r["start"]["cpu"][k]) / 1e3 / calls for k in r["start"]["cpu"]}
        cpu["all"] = sum(cpu.values())
        cpu["wall"] = first(r, "wall_us", 0)
        per.setdefault(name.split("/")[0], []).append(cpu)
    base = None
    for kind, rows in per.items():
        med = {k: statistics.median(row[k] for row in rows) for k in rows[0]}
        base = base or med["all"]
        print(f"  {kind:<20} program {med['program']:7.1f} wineserver {med['wineserver']:7.1f} desktop {med['desktop']:7.1f}"
              f" xvfb {med['xvfb']:6.1f} other {med['other']:6.1f} all {med['all']:7.1f} ({med['all'] / base - 1:+.0%})"
              f" wall {med['wall']:7.1f}")
    return 0


def main(argv):
    cmd = argv[1] if len(argv) > 1 else ""
    if cmd == "pid" and len(argv) == 4:
        pid = find(argv[2], argv[3])
        print(pid or "")
        return 0 if pid else 1
    if cmd == "snap" and len(argv) == 8:
        snap(*argv[2:8])
        return 0
    if cmd == "maps" and len(argv) == 6:
        maps(*argv[2:6])
        return 0
    if cmd == "requests" and len(argv) == 7:
        requests(*argv[2:7])
        return 0
    if cmd == "note" and len(argv) == 6:
        note(*argv[2:6])
        return 0
    if cmd == "rates" and len(argv) == 3:
        return rates(argv[2])
    if cmd == "rates" and len(argv) == 4 and argv[3] == "kept":
        return rates(argv[2], kept=True)
    if cmd == "medians" and len(argv) == 3:
        return call_medians(argv[2])
    if cmd == "native" and len(argv) == 4:
        native_report(argv[2], argv[3])
        return 0
    if cmd == "report" and len(argv) == 4:
        report(argv[2], argv[3])
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
