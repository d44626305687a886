#!/usr/bin/env python3
"""Sets a Wine prefix's display scale and system fonts the way a user's
Windows has them, by editing its user.reg while no wineserver runs for it.

  prefix_look.py PREFIX [--dpi N] [--font "FACE" HEIGHT] [--wine-frames]

--dpi      LogPixels (96 is 100 %, 120, 144, 192 …)
--font     the menu, caption, small caption, status and message fonts
           (HEIGHT as in a LOGFONT: negative is the character height)
--wine-frames  Wine draws its windows' frames itself; a window manager only
           places them (winecfg: the window manager does not decorate them)
"""
import argparse
import re
import struct
import sys

FONT_VALUES = ("MenuFont", "CaptionFont", "SmCaptionFont", "StatusFont", "MessageFont")


def logfont_hex(face, height, weight=400):
    name = face.encode("utf-16-le")[:62].ljust(64, b"\0")
    blob = struct.pack("<5i8B", height, 0, 0, 0, weight, 0, 0, 0, 1, 0, 0, 0, 0) + name
    assert len(blob) == 92
    return "hex:" + ",".join("%02x" % b for b in blob)


def set_values(text, section, values):
    """Sets "name"=data lines in [section] of a .reg text (adds what is missing)."""
    head = "[" + section.replace("\\", "\\\\") + "]"
    start = text.find(head + " ")
    if start < 0:
        text += "\n%s 0\n" % head
        start = text.find(head + " ")
    body_start = text.index("\n", start) + 1
    end = text.find("\n[", body_start)
    end = len(text) if end < 0 else end + 1
    body = text[body_start:end]
    for name, data in values.items():
        # A value may run over several lines ending in a backslash.
        pattern = re.compile(r'^"%s"=(?:[^\n]*\\\n)*[^\n]*\n' % re.escape(name), re.M)
        line = '"%s"=%s\n' % (name, data)
        body, n = pattern.subn(lambda _: line, body)
        if n == 0:
            body = body.rstrip("\n") + "\n" + line + "\n"
    return text[:body_start] + body + text[end:]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("prefix")
    parser.add_argument("--dpi", type=int)
    parser.add_argument("--font", nargs=2, metavar=("FACE", "HEIGHT"))
    parser.add_argument("--wine-frames", action="store_true")
    args = parser.parse_args()
    path = args.prefix + "/user.reg"
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if args.dpi:
        dword = "dword:%08x" % args.dpi
        text = set_values(text, r"Control Panel\Desktop", {"LogPixels": dword})
        text = set_values(text, r"Software\Wine\Fonts", {"LogPixels": dword})
    if args.font:
        face, height = args.font[0], int(args.font[1])
        fonts = {name: logfont_hex(face, height) for name in FONT_VALUES}
        text = set_values(text, r"Control Panel\Desktop\WindowMetrics", fonts)
    if args.wine_frames:
        text = set_values(text, r"Software\Wine\X11 Driver", {"Decorated": '"N"'})
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    sys.exit(main())
