#!/usr/bin/env python3
"""Draws every picture of a skin pack on one PNG, labelled with its name.

  contactsheet.py PACK OUT.png [--width 1800] [--match REGEX]

Small pictures are shown twice their size, large ones scaled down to fit a
column; pictures with alpha sit on a checkerboard.
"""
import argparse
import base64
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagecodec  # noqa: E402
import packtool  # noqa: E402


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("pack")
    ap.add_argument("out")
    ap.add_argument("--width", type=int, default=1800)
    ap.add_argument("--match")
    ap.add_argument("--rsvg", default=shutil.which("rsvg-convert") or "rsvg-convert")
    opt = ap.parse_args(argv)
    try:
        pack = packtool.Pack(opt.pack)
    except (packtool.PackError, OSError) as e:
        print("contactsheet: error: %s" % e, file=sys.stderr)
        return 1
    items = []
    for name, _, _, _ in pack.entries:
        if opt.match and not re.search(opt.match, name, re.I):
            continue
        data = pack.read(name)
        try:
            w, h, rgba = imagecodec.decode_any(data)
        except imagecodec.ImageError as e:
            print("contactsheet: %s: %s" % (name, e), file=sys.stderr)
            continue
        scale = 2.0 if max(w, h) <= 64 else 1.0
        if w * scale > 420:
            scale = 420.0 / w
        items.append((name, w, h, scale, base64.b64encode(imagecodec.encode_png(w, h, rgba)).decode()))

    pad, label = 10, 14
    x = y = pad
    row_h = 0
    parts = []
    for name, w, h, scale, b64 in items:
        dw, dh = max(1, round(w * scale)), max(1, round(h * scale))
        cell_w = max(dw, min(len(name) * 6 + 4, 220))
        if x + cell_w + pad > opt.width and x > pad:
            x, y = pad, y + row_h + label + pad
            row_h = 0
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="url(#chk)"/>' % (x, y, dw, dh))
        parts.append('<image x="%d" y="%d" width="%d" height="%d" preserveAspectRatio="none" '
                     'style="image-rendering:pixelated" href="data:image/png;base64,%s"/>' % (x, y, dw, dh, b64))
        parts.append('<text x="%d" y="%d" font-family="DejaVu Sans" font-size="9" fill="#E6E8EC">%s %dx%d</text>'
                     % (x, y + dh + 11, name.replace("&", "&amp;"), w, h))
        x += cell_w + pad
        row_h = max(row_h, dh)
    height = y + row_h + label + pad
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d"><defs>'
           '<pattern id="chk" width="16" height="16" patternUnits="userSpaceOnUse">'
           '<rect width="16" height="16" fill="#6A6E76"/><rect width="8" height="8" fill="#7C8088"/>'
           '<rect x="8" y="8" width="8" height="8" fill="#7C8088"/></pattern></defs>'
           '<rect width="100%%" height="100%%" fill="#3A3D44"/>%s</svg>' % (opt.width, height, "".join(parts)))
    res = subprocess.run([opt.rsvg, "-f", "png", "-o", opt.out], input=svg.encode(), capture_output=True)
    if res.returncode != 0:
        print("contactsheet: rsvg-convert failed: %s" % res.stderr.decode(errors="replace"), file=sys.stderr)
        return 1
    print("%s: %d pictures" % (opt.out, len(items)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
