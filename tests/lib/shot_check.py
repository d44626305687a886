#!/usr/bin/env python3
"""What a user sees in a screenshot, measured.

  shot_check.py menu SHOT.png L T R B
      L T R B: the open menu's rectangle on the screen. Prints
      "margin N rows K separators Y1 Y2 …": N is the least number of background
      pixels between the last text pixel of any item and the item's right edge,
      K the number of rows that carried text, Y the screen rows of the
      separator lines. The icon column is left out.
  shot_check.py ink SHOT.png L T R B RED GREEN BLUE [TOLERANCE]
      Prints "count N box L T R B": the pixels within the rectangle close to
      that colour (the channels' differences add up to no more than TOLERANCE,
      60 unless given), and the rectangle they lie in (screen coordinates).
  shot_check.py pixel SHOT.png X Y
      Prints "RED GREEN BLUE" of that pixel.
  shot_check.py same SHOT.png X Y PICTURE PX PY W H
      Prints the number of pixels of the W x H part of PICTURE at PX PY that
      the screen at X Y does not show exactly; its magenta (see-through)
      pixels are left out.
"""
import subprocess
import sys


def read_ppm(path, box):
    left, top, right, bottom = box
    crop = "%dx%d+%d+%d" % (right - left, bottom - top, left, top)
    data = subprocess.run(["convert", path, "-crop", crop, "+repage", "-depth", "8", "ppm:-"],
                          check=True, capture_output=True).stdout
    # P6 header: magic, width, height, maxval, each followed by white space.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos:]
    return width, height, lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])


def far(a, b, limit=48):
    return sum(abs(p - q) for p, q in zip(a, b)) > limit


def ink(path, box, colour, tolerance):
    width, height, at = read_ppm(path, box)
    found = [(x, y) for y in range(height) for x in range(width) if not far(at(x, y), colour, tolerance)]
    if not found:
        print("count 0 box none")
        return
    xs, ys = [x for x, _ in found], [y for _, y in found]
    print("count %d box %d %d %d %d" % (len(found), box[0] + min(xs), box[1] + min(ys), box[0] + max(xs) + 1,
                                         box[1] + max(ys) + 1))


def pixel(path, x, y):
    _, _, at = read_ppm(path, [x, y, x + 1, y + 1])
    print("%d %d %d" % at(0, 0))


def same(path, at, picture, part):
    x, y = at
    px, py, w, h = part
    _, _, got = read_ppm(path, [x, y, x + w, y + h])
    _, _, want = read_ppm(picture, [px, py, px + w, py + h])
    print(sum(want(i, j) != (255, 0, 255) and want(i, j) != got(i, j) for j in range(h) for i in range(w)))


def menu(path, box):
    width, height, at = read_ppm(path, box)
    # The item background: the most common colour of the menu's right half.
    counts = {}
    for y in range(0, height, 2):
        for x in range(width // 2, width, 2):
            counts[at(x, y)] = counts.get(at(x, y), 0) + 1
    background = max(counts, key=counts.get)
    # The items' right edge: where the columns of the border begin (a border
    # column is mostly not the background; on a palette display it is dotted).
    edge = width
    while edge > 0 and sum(at(edge - 1, y) == background for y in range(height)) < height // 2:
        edge -= 1
    start = 40  # right of every icon column
    least, rows, separators = None, 0, []
    border = 3  # rows of the menu window's own frame
    for y in range(border, height - border):
        marks = [x for x in range(start, edge) if far(at(x, y), background)]
        if not marks:
            continue
        if len(marks) > (edge - start) * 0.6:
            # A separator's line: one colour across the text column.
            line = at((start + edge) // 2, y)
            if sum(at(x, y) == line for x in range(start, edge)) >= (edge - start) * 0.9:
                separators.append(box[1] + y)
            continue
        rows += 1
        margin = edge - 1 - marks[-1]
        least = margin if least is None else min(least, margin)
    print("margin %s rows %d separators %s" % (least if least is not None else "none", rows,
                                                 " ".join(str(y) for y in separators)))


def main():
    what, path = sys.argv[1], sys.argv[2]
    if what == "same":
        same(path, [int(v) for v in sys.argv[3:5]], sys.argv[5], [int(v) for v in sys.argv[6:10]])
        return
    box = [int(v) for v in sys.argv[3:7]]
    if what == "pixel":
        pixel(path, box[0], box[1])
    elif what == "menu":
        menu(path, box)
    elif what == "ink":
        ink(path, box, tuple(int(v) for v in sys.argv[7:10]), int(sys.argv[10]) if len(sys.argv) > 10 else 60)
    else:
        sys.exit("usage: shot_check.py menu|ink|pixel|same SHOT …")


if __name__ == "__main__":
    main()
