#!/usr/bin/env python3
"""Tells in a few lines what the pet did in a pimblo-sim trace."""
import csv
import sys


def main(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f))
    if not rows:
        print("The trace is empty.")
        return
    num = lambda r, k: float(r[k])
    first, last = rows[0], rows[-1]
    print(f"{len(rows)} ticks ({len(rows) / 100:.1f} s at the nominal 10 ms tick).")
    print(f"Start: window at ({first['Left']}, {first['Top']}).")
    events = []
    was_blocked_y, direction, dragging = False, first["Direction"], first["Dragging"]
    landings = 0
    for r in rows:
        t = r["tick"]
        if r["BlockedY"] == "1" and not was_blocked_y:
            landings += 1
            if landings <= 3:
                events.append(f"tick {t}: touches down at y = {r['Top']} (box bottom {int(r['Top']) + 31}), "
                              f"bounces with VelY {num(r, 'VelY'):+.2f}")
        was_blocked_y = r["BlockedY"] == "1"
        if r["Direction"] != direction:
            side = "right" if r["Direction"] == "1" else "left"
            events.append(f"tick {t}: turns to walk {side} at x = {r['Left']}")
            direction = r["Direction"]
        if r["Dragging"] != dragging:
            events.append(f"tick {t}: {'picked up' if r['Dragging'] == '1' else 'let go'} at ({r['Left']}, {r['Top']})"
                          f", velocity ({num(r, 'VelX'):+.2f}, {num(r, 'VelY'):+.2f})")
            dragging = r["Dragging"]
        # A hop sets the vertical velocity to a whole -4 … -13 on a contact.
        if r["BlockedY"] == "1" and num(r, "VelY") <= -4 and num(r, "VelY") == int(num(r, "VelY")):
            events.append(f"tick {t}: hops (VelY {num(r, 'VelY'):+.1f})")
    if landings > 3:
        events.append(f"... {landings} touch-downs in all")
    for e in events[:40]:
        print("  " + e)
    if len(events) > 40:
        print(f"  ... and {len(events) - 40} more")
    walking = [num(r, "VelX") for r in rows[-100:] if r["BlockedY"] == "1"]
    if walking:
        print(f"Walking speed over the last 100 ticks: {sum(abs(v) for v in walking) / len(walking):.3f} px/tick.")
    print(f"End: window at ({last['Left']}, {last['Top']}), facing {'right' if last['Direction'] == '1' else 'left'}.")


if __name__ == "__main__":
    main(sys.argv[1])
