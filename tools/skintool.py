#!/usr/bin/env python3
"""Renders the skin pictures of the manifest.

  skintool.py render --manifest data/skin/manifest.tsv --icons NODE_MODULES
                     --out DIR [--cache DIR] [--art DIR] [--only NAME...]

Every manifest row names a recipe; the recipe becomes an SVG (with glyphs taken
from the open icon sets in NODE_MODULES), rsvg-convert renders it, and the
picture is written to DIR/<name> as BMP (24-bit), TGA (32-bit with alpha), PNG
(with alpha) or JPEG. Rendered pictures are kept in the cache by the hash of
their SVG, so a rebuild renders only what changed.
"""
import argparse
import concurrent.futures
import hashlib
import os
import re
import shlex
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagecodec  # noqa: E402

FONT = "DejaVu Sans"
PANE = "#05050A"        # panes and views
DIALOG = "#A8ABB0"      # skinned dialogs
BOX = "#1E1E23"         # report boxes and lists
ACCENT = "#00EDFF"
ACCENT_DIM = "#00A5B5"

# Button faces per state: gradient top, gradient bottom, border, glyph/caption.
# The program draws captions white (normal, pressed), navy (checked), black
# (hot) and grey (disabled), so checked and hot faces are light.
FACES = {
    "normal": ("#363A43", "#25272D", "#505661", "#E6E8EC"),
    "pressed": ("#07363B", "#0C4F56", ACCENT_DIM, ACCENT),
    "check": ("#E4F9FC", "#C2EDF3", ACCENT, "#082040"),
    "checkdark": ("#127380", "#0B4A52", ACCENT, "#FFFFFF"),
    # Dialog buttons draw their checked state on the pressed piece with a navy
    # caption; a mid tone keeps both the white and the navy caption readable.
    "pressedmid": ("#2296A3", "#187D89", ACCENT, "#FFFFFF"),
    "hot": ("#A6F1F7", "#62DAE5", ACCENT, "#05050A"),
    "disable": ("#232429", "#1E1F23", "#35373D", "#5A5E66"),
}
FACES["disabled"] = FACES["disable"]
DANGER_HOT = ("#F07A7D", "#D84448", "#FF9A9C", "#FFFFFF")


class SkinError(Exception):
    pass


# ---------------------------------------------------------------- glyphs

class Glyphs:
    def __init__(self, root):
        self.root = root
        self.cache = {}

    def path_of(self, ref):
        kind, _, name = ref.partition(":")
        if kind == "tabler":
            return os.path.join(self.root, "@tabler", "icons", "icons", "outline", name + ".svg")
        if kind == "tabler-filled":
            return os.path.join(self.root, "@tabler", "icons", "icons", "filled", name + ".svg")
        if kind == "maki":
            return os.path.join(self.root, "@mapbox", "maki", "icons", name + ".svg")
        raise SkinError("glyph %r: unknown icon set (tabler, tabler-filled, maki)" % ref)

    def svg(self, ref, x, y, size, color, stroke=None):
        """The glyph as a nested SVG placed in the square (x, y, size)."""
        if ref not in self.cache:
            path = self.path_of(ref)
            try:
                with open(path, encoding="utf-8") as f:
                    text = f.read()
            except OSError:
                raise SkinError("glyph %r: no file %s (is the icon set installed?)" % (ref, path))
            box = re.search(r'viewBox="([^"]+)"', text).group(1)
            inner = re.search(r"<svg[^>]*>(.*)</svg>", text, re.S).group(1)
            inner = re.sub(r'<path stroke="none" d="M0 0h24v24H0z" fill="none"\s*/>', "", inner)
            self.cache[ref] = (box, inner.strip(), ref.startswith("tabler:"))
        box, inner, outline = self.cache[ref]
        if outline:
            sw = stroke or (2.4 if size <= 16 else 2.0 if size <= 32 else 1.5)
            attrs = ('fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" '
                     'stroke-linejoin="round"' % (color, sw))
            inner = inner.replace("currentColor", color)
        else:
            attrs = 'fill="%s"' % color
            inner = inner.replace("currentColor", color)
        return ('<svg x="%g" y="%g" width="%g" height="%g" viewBox="%s"><g %s>%s</g></svg>'
                % (x, y, size, size, box, attrs, inner))


# ---------------------------------------------------------------- recipes

def text(x, y, s, size, color, weight="bold", anchor="middle", spacing=0, opacity=1):
    s = s.replace("&", "&amp;").replace("<", "&lt;")
    return ('<text x="%g" y="%g" font-family="%s" font-size="%g" font-weight="%s" fill="%s" '
            'text-anchor="%s" letter-spacing="%g" fill-opacity="%g">%s</text>'
            % (x, y, FONT, size, weight, color, anchor, spacing, opacity, s))


def vgrad(gid, stops):
    n = len(stops)
    body = "".join('<stop offset="%g" stop-color="%s"/>' % (i / max(n - 1, 1), c) for i, c in enumerate(stops))
    return '<linearGradient id="%s" x1="0" y1="0" x2="0" y2="1">%s</linearGradient>' % (gid, body)


def r_fill(w, h, a, g):
    return '<rect width="%d" height="%d" fill="%s"/>' % (w, h, a.get("color", PANE))


def r_band(w, h, a, g):
    stops = a.get("colors", PANE).split(",")
    out = ["<defs>%s</defs>" % vgrad("b", stops), '<rect width="%d" height="%d" fill="url(#b)"/>' % (w, h)]
    for edge in a.get("edge", []):
        side, col = edge.split(":")
        rect = {"top": (0, 0, w, 1), "bottom": (0, h - 1, w, 1), "left": (0, 0, 1, h), "right": (w - 1, 0, 1, h)}[side]
        out.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (rect + (col,)))
    return "".join(out)


def r_hline(w, h, a, g):
    col = a.get("color", ACCENT_DIM)
    return ('<defs><linearGradient id="l" x1="0" x2="1" y1="0" y2="0"><stop offset="0" stop-color="%s"/>'
            '<stop offset="0.15" stop-color="%s"/><stop offset="0.85" stop-color="%s"/>'
            '<stop offset="1" stop-color="%s"/></linearGradient></defs>'
            '<rect width="%d" height="%d" fill="url(#l)"/>' % (PANE, col, col, PANE, w, h))


def face_colors(a):
    state = a.get("state", "normal")
    if state not in FACES:
        raise SkinError("unknown state %r" % state)
    if a.get("danger") == "1" and state == "hot":
        return DANGER_HOT
    return FACES[state]


def r_face(w, h, a, g):
    top, bottom, border, ink = face_colors(a)
    r = float(a.get("radius", 4))
    out = ['<rect width="%d" height="%d" fill="%s"/>' % (w, h, a.get("outer", PANE)),
           "<defs>%s</defs>" % vgrad("f", [top, bottom]),
           '<rect x="0.5" y="0.5" width="%g" height="%g" rx="%g" fill="url(#f)" stroke="%s"/>'
           % (w - 1, h - 1, r, border)]
    if a.get("state") in ("normal", "pressed", "pressedmid", "hot", "checkdark"):   # a thin top light for depth
        out.append('<rect x="%g" y="1" width="%g" height="1" fill="#FFFFFF" fill-opacity="0.10"/>'
                   % (r, max(w - 2 * r, 0)))
    if "glyph" in a:
        size = float(a.get("gsize", min(w, h) * 0.6))
        cx = float(a.get("gx", w / 2))
        out.append(g.svg(a["glyph"], round(cx - size / 2), round((h - size) / 2), size, ink))
    if "text" in a:
        fs = float(a.get("fsize", round(h * 0.42)))
        out.append(text(float(a.get("tx", w / 2)), h / 2 + fs * 0.36, a["text"], fs, ink,
                        anchor="start" if "tx" in a else "middle"))
    return "".join(out)


def r_glyph(w, h, a, g):
    size = float(a.get("gsize", min(w, h)))
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, a.get("bg", PANE))
            + g.svg(a["glyph"], round((w - size) / 2), round((h - size) / 2), size, a.get("color", ACCENT)))


def r_tab(w, h, a, g):
    on = a.get("on") == "1"
    fill, border = ("#0B4A52", ACCENT) if on else ("#1E2026", "#3A3E47")
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, DIALOG)
            + '<path d="M0.5 %g V5 Q0.5 0.5 5 0.5 H%g Q%g 0.5 %g 5 V%g Z" fill="%s" stroke="%s"/>'
            % (h, w - 5, w - 0.5, w - 0.5, h, fill, border)
            + ('<rect x="4" y="1" width="%d" height="2" fill="%s"/>' % (w - 8, ACCENT) if on else ""))


def r_poi(w, h, a, g):
    col = a["color"]
    r = 5 if w >= 32 else 4
    size = round(w * 0.625)
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, BOX)
            + '<rect x="0.5" y="0.5" width="%d" height="%d" rx="%d" fill="%s" stroke="#FFFFFF" stroke-opacity="0.85"/>'
            % (w - 1, h - 1, r, col)
            + g.svg(a["icon"], (w - size) / 2, (h - size) / 2, size, "#FFFFFF"))


def r_check(w, h, a, g, radio=False):
    on = a.get("on") == "1"
    state = a.get("state", "normal")
    border = {"normal": "#C9CCD2", "hot": ACCENT, "pressed": ACCENT_DIM}[state]
    fill = ACCENT_DIM if on else ("#2B2E35" if state != "pressed" else "#0A3F45")
    if on and state == "hot":
        fill = "#19C3D3"
    if radio:
        out = '<circle cx="8" cy="8" r="6.8" fill="%s" stroke="%s" stroke-width="1.4"/>' % ("#2B2E35", border)
        if on:
            out += '<circle cx="8" cy="8" r="3.6" fill="%s"/>' % (ACCENT if state != "pressed" else ACCENT_DIM)
        return out
    out = '<rect x="1.2" y="1.2" width="13.6" height="13.6" rx="2.5" fill="%s" stroke="%s" stroke-width="1.4"/>' % (fill, border)
    if on:
        out += ('<path d="M4.2 8.3 L6.9 10.9 L11.9 5.3" fill="none" stroke="#FFFFFF" stroke-width="2" '
                'stroke-linecap="round" stroke-linejoin="round"/>')
    return out


def r_radio(w, h, a, g):
    return r_check(w, h, a, g, radio=True)


def r_checkbox(w, h, a, g):
    return r_check(w, h, a, g)


def r_panel(w, h, a, g):
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, PANE)
            + "<defs>%s</defs>" % vgrad("p", ["#12151A", "#08090C"])
            + '<rect x="1.5" y="1.5" width="%d" height="%d" rx="18" fill="url(#p)" stroke="%s" stroke-opacity="0.35"/>'
            % (w - 3, h - 3, ACCENT_DIM)
            + '<rect x="40" y="24" width="%d" height="2" fill="%s" fill-opacity="0.5"/>' % (w - 80, ACCENT_DIM)
            + g.svg(a["glyph"], w - 250, h - 250, 220, "#10262A", stroke=1.2))


def r_logo(w, h, a, g):
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, a.get("bg", PANE))
            + g.svg("tabler:navigation", 18, 26, 52, ACCENT, stroke=2)
            + text(84, 66, a["text"], min(46, round((w - 100) / (0.8 * len(a["text"])))), "#FFFFFF",
                   spacing=3, anchor="start")
            + text(88, 92, a.get("sub", "").upper(), 14, ACCENT_DIM, weight="normal", anchor="start", spacing=6))


def r_plate(w, h, a, g):
    return ("<defs>%s</defs>" % vgrad("q", ["#1A1D23", "#0C0D10"])
            + '<rect x="0.5" y="0.5" width="%d" height="%d" rx="16" fill="url(#q)" fill-opacity="0.92" '
              'stroke="%s" stroke-opacity="0.45"/>' % (w - 1, h - 1, ACCENT_DIM))


ALPHA = {  # fill, fill opacity, border, glyph
    "normal": ("#1B1D23", 0.92, "#454A54", "#E6E8EC"),
    "pressed": ("#03272B", 0.95, ACCENT_DIM, ACCENT),
    "check": ("#137480", 0.95, ACCENT, "#FFFFFF"),
    "hot": ("#1A6771", 0.95, ACCENT, "#FFFFFF"),
    "disable": ("#A9ACB2", 0.8, "#8A8D93", "#505050"),
}


def r_alpha(w, h, a, g):
    """Start-menu buttons. Neighbours stand close: categories side by side,
    task rows 137 pixels apart, and in the three-task layouts the lower tasks
    reach 13 pixels under the upper one. So the face keeps transparent margins:
    6 pixels at the sides of a category; 12 at the sides of a task and 7 at its
    top (edges included), which leaves every two tasks of a layout at least
    4 pixels apart, and the second caption line inside the face. The caption is drawn below the glyph; a two-line caption
    picture (multi=1) has a smaller, higher glyph."""
    fill, op, border, ink = ALPHA[a["state"]]
    task = w >= 180
    mx = 12 if task else 6
    top = 8 if task else 1
    bottom = h - 2 if task else h - 4
    size = 58 if task else 56
    gy = 22 if task else 18
    if a.get("multi") == "1":
        size, gy = size - 14, gy - 6
    return ('<rect x="%g" y="%g" width="%d" height="%d" rx="14" fill="%s" fill-opacity="%g" stroke="%s" stroke-width="2"/>'
            % (mx, top, w - 2 * mx, bottom - top, fill, op, border)
            + g.svg(a["glyph"], (w - size) / 2, gy, size, ink, stroke=1.6))


def r_splash(w, h, a, g):
    return ("<defs>%s</defs>" % vgrad("s", ["#15181E", "#05050A"])
            + '<rect width="%d" height="%d" fill="url(#s)"/>' % (w, h)
            + '<rect x="0" y="0" width="%d" height="3" fill="%s"/>' % (w, ACCENT)
            + '<path d="M-10 210 C 80 150, 160 220, 250 150 S 370 90, 420 120" fill="none" stroke="%s" '
              'stroke-opacity="0.35" stroke-width="6" stroke-linecap="round"/>' % ACCENT_DIM
            + g.svg("tabler-filled:map-pin", 262, 70, 56, ACCENT)
            + text(34, 110, a["text"], 44, "#FFFFFF", anchor="start")
            + text(36, 136, "PC companion for your navigation unit", 12, "#B8BCC4", weight="normal", anchor="start")
            + text(36, 192, a.get("maker", ""), 13, ACCENT_DIM, anchor="start", spacing=5)
            + '<rect x="0.5" y="0.5" width="%d" height="%d" fill="none" stroke="#3A3E47"/>' % (w - 1, h - 1))


def r_dialog(w, h, a, g):
    part = a["part"]
    dark, light, band = "#2B2E35", "#C4C7CC", ("#363A43", "#24262C")
    out = ['<rect width="%d" height="%d" fill="%s"/>' % (w, h, DIALOG)]
    if part.startswith("top"):
        out.append("<defs>%s</defs>" % vgrad("d", list(band)))
        out.append('<rect width="%d" height="%d" fill="url(#d)"/>' % (w, h - 1))
        out.append('<rect y="%d" width="%d" height="1" fill="%s"/>' % (h - 1, w, ACCENT_DIM))
        out.append('<rect width="%d" height="1" fill="#4A4F59"/>' % w)
        if part == "topleft":
            out.append('<rect width="1" height="%d" fill="#4A4F59"/>' % h)
        if part == "topright":
            out.append('<rect x="%d" width="1" height="%d" fill="#4A4F59"/>' % (w - 1, h))
        return "".join(out)
    if "left" in part:
        out.append('<rect width="1" height="%d" fill="%s"/><rect x="1" width="1" height="%d" fill="%s"/>'
                   % (h, dark, h, light))
    if "right" in part:
        out.append('<rect x="%d" width="1" height="%d" fill="%s"/><rect x="%d" width="1" height="%d" fill="#8E9196"/>'
                   % (w - 1, h, dark, w - 2, h))
    if "bottom" in part:
        out.append('<rect y="%d" width="%d" height="1" fill="%s"/><rect y="%d" width="%d" height="1" fill="#8E9196"/>'
                   % (h - 1, w, dark, h - 2, w))
        if part == "bottomleft":
            out.append('<rect width="1" height="%d" fill="%s"/>' % (h, dark))
        if part == "bottomright":
            out.append('<rect x="%d" width="1" height="%d" fill="%s"/>' % (w - 1, h, dark))
    return "".join(out)


def r_scroll(w, h, a, g):
    part = a["part"]
    out = ['<rect width="%d" height="%d" fill="#121317"/>' % (w, h)]
    state = a.get("state", "normal")
    if part == "arrow":
        fill = {"normal": "#2B2E35", "hot": "#3E444E", "pressed": "#0A3F45"}[state]
        ink = {"normal": "#C9CCD2", "hot": "#FFFFFF", "pressed": ACCENT}[state]
        out.append('<rect x="1" y="1" width="%d" height="%d" rx="2" fill="%s"/>' % (w - 2, h - 2, fill))
        out.append(g.svg(a["glyph"], 2, 2, 12, ink, stroke=2.6))
    elif part == "thumb":
        fill = {"normal": "#4A4F59", "hot": ACCENT_DIM, "pressed": ACCENT}[state]
        out.append('<rect x="3" y="3" width="%d" height="%d" rx="3" fill="%s"/>' % (w - 6, h - 6, fill))
    return "".join(out)


def r_progress(w, h, a, g):
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, DIALOG)
            + '<rect x="0.5" y="0.5" width="%d" height="%d" rx="4" fill="#15171B" stroke="#2B2E35"/>' % (w - 1, h - 1)
            + '<rect x="3" y="3" width="%d" height="1" fill="#000000" fill-opacity="0.5"/>' % (w - 6))


def r_anime(w, h, a, g):
    frame = int(a["frame"])
    out = ['<rect width="%d" height="%d" fill="%s"/>' % (w, h, PANE)]
    import math
    for k in range(12):
        ang = math.radians(k * 30 - 90)
        x, y = 32 + 22 * math.cos(ang), 32 + 22 * math.sin(ang)
        lit = (k - frame * 4) % 12
        col, op = (ACCENT, 1.0) if lit < 4 else ("#3A3E47", 1.0)
        r = 4.2 if lit == 3 else 3.4
        out.append('<circle cx="%.2f" cy="%.2f" r="%g" fill="%s" fill-opacity="%g"/>' % (x, y, r, col, op))
    return "".join(out)


def r_sel(w, h, a, g):
    part = a["part"]
    x, width = {"l": (0.5, w + 8), "c": (-8, w + 16), "r": (-8.5, w + 8)}[part]
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, BOX)
            + "<defs>%s</defs>" % vgrad("s", ["#137884", "#0B4A52"])
            + '<rect x="%g" y="0.5" width="%g" height="%d" rx="4" fill="url(#s)" stroke="%s"/>'
            % (x, width, h - 1, ACCENT_DIM))


def r_cell(w, h, a, g):
    sel = a.get("selected") == "1"
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, BOX)
            + '<rect x="2.5" y="2.5" width="%d" height="%d" rx="5" fill="%s" stroke="%s" stroke-width="%s"/>'
            % (w - 5, h - 5, "#0B4A52" if sel else "#26282E", ACCENT if sel else "#33363D", 2 if sel else 1))


def r_splitter(w, h, a, g):
    part = a["part"]
    out = ['<rect width="%d" height="%d" fill="#1E2026"/>' % (w, h),
           '<rect x="%d" width="1" height="%d" fill="#3A3E47"/>' % (w // 2, h)]
    if part == "top":
        out.append('<rect width="%d" height="1" fill="#3A3E47"/>' % w)
    if part == "bottom":
        out.append('<rect y="%d" width="%d" height="1" fill="#3A3E47"/>' % (h - 1, w))
    return "".join(out)


def r_balloon(w, h, a, g):
    """Pieces of a rounded frame of radius 9 cut around the 12 x 12 corners; the
    program fills the inside with the pane colour."""
    part = a["part"]
    dx = 0 if "left" in part else (-24 if "right" in part else -12)
    dy = 0 if part.startswith("top") else (-24 if part.startswith("bottom") else -12)
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, PANE)
            + '<rect x="%g" y="%g" width="35" height="35" rx="9" fill="%s" stroke="%s" stroke-width="1.5"/>'
            % (dx + 1, dy + 1, PANE, ACCENT_DIM))


def r_eco(w, h, a, g):
    level = int(a["level"])
    cols = ["#D83B3B", "#E8772E", "#E8C12E", "#9BD14A", "#3CC46B"]
    out = ['<rect width="%d" height="%d" fill="%s"/>' % (w, h, a.get("bg", PANE))]
    for k in range(5):
        on = k <= level
        out.append(g.svg("tabler-filled:leaf" if on else "tabler:leaf", 6 + k * 22, 7, 20,
                         cols[level] if on else "#3A3E47"))
    out.append('<rect x="6" y="34" width="%d" height="6" rx="3" fill="#2A2D34"/>' % (w - 12))
    out.append('<rect x="6" y="34" width="%d" height="6" rx="3" fill="%s"/>' % ((w - 12) * (level + 1) // 5, cols[level]))
    return "".join(out)


def r_banner(w, h, a, g):
    return ('<rect width="%d" height="%d" fill="%s"/>' % (w, h, DIALOG)
            + "<defs>%s</defs>" % vgrad("n", ["#262A31", "#17191D"])
            + '<rect x="0.5" y="0.5" width="%d" height="%d" rx="8" fill="url(#n)" stroke="%s"/>' % (w - 1, h - 1, ACCENT_DIM)
            + g.svg("tabler:world-www", 14, 14, 36, ACCENT)
            + text(62, 30, a["text"], 19, "#FFFFFF", anchor="start")
            + text(62, 50, a.get("sub", ""), 12, "#B8BCC4", weight="normal", anchor="start"))


def r_footer(w, h, a, g):
    return ("<defs>%s</defs>" % vgrad("o", ["#1E2026", "#111216"])
            + '<rect width="%d" height="%d" fill="url(#o)"/>' % (w, h)
            + '<rect width="%d" height="1" fill="%s"/>' % (w, ACCENT_DIM)
            + text(w - 16, h / 2 + 5, a["text"], 14, "#8A8F99", anchor="end", spacing=5))


RECIPES = {name[2:]: fn for name, fn in globals().items() if name.startswith("r_")}


def parse_recipe(recipe, where):
    try:
        words = shlex.split(recipe)
    except ValueError as e:
        raise SkinError("%s: recipe %r: %s" % (where, recipe, e))
    if not words or words[0] not in RECIPES:
        raise SkinError("%s: unknown recipe %r" % (where, words[0] if words else ""))
    args = {"edge": []}
    for w in words[1:]:
        k, sep, v = w.partition("=")
        if not sep:
            raise SkinError("%s: recipe argument %r is not key=value" % (where, w))
        if k == "edge":
            args["edge"].append(v)
        else:
            args[k] = v
    return words[0], args


# ---------------------------------------------------------------- manifest

FORMATS = ("bmp", "png", "tga", "jpg")


def read_manifest(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for no, line in enumerate(f, 1):
            line = line.rstrip("\n").rstrip("\r")
            if not line or line.startswith("#"):
                continue
            where = "%s:%d" % (path, no)
            fields = line.split("\t")
            if len(fields) < 5:
                raise SkinError("%s: want name, format, width, height, recipe [, note]" % where)
            name, fmt, w, h, recipe = fields[:5]
            if fmt not in FORMATS:
                raise SkinError("%s: entry %s: format %r is not one of %s" % (where, name, fmt, ", ".join(FORMATS)))
            if not name.lower().endswith("." + fmt):
                raise SkinError("%s: entry %s: name does not end in .%s" % (where, name, fmt))
            if not (w.isdigit() and h.isdigit() and int(w) > 0 and int(h) > 0):
                raise SkinError("%s: entry %s: size %sx%s is not two positive numbers" % (where, name, w, h))
            rows.append({"name": name, "format": fmt, "width": int(w), "height": int(h),
                         "recipe": recipe, "where": where})
    return rows


def svg_of(row, glyphs, art_dir):
    w, h = row["width"], row["height"]
    kind, args = parse_recipe(row["recipe"], row["where"])
    if kind == "art":
        with open(os.path.join(art_dir, args["file"]), encoding="utf-8") as f:
            return f.read()
    body = RECIPES[kind](w, h, args, glyphs)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">%s</svg>'
            % (w, h, w, h, body))


def encode(row, png, convert):
    w, h, rgba = imagecodec.decode_png(png)
    if (w, h) != (row["width"], row["height"]):
        raise SkinError("%s: entry %s: rendered %dx%d, want %dx%d" % (row["where"], row["name"], w, h,
                                                                       row["width"], row["height"]))
    fmt = row["format"]
    if fmt == "bmp":
        return imagecodec.encode_bmp24(w, h, rgba)
    if fmt == "tga":
        return imagecodec.encode_tga32(w, h, rgba)
    if fmt == "png":
        return imagecodec.encode_png(w, h, rgba)
    return imagecodec.encode_jpeg(w, h, rgba, convert)


def render_one(row, svg, rsvg, convert, cache_dir, out_dir, tool_hash):
    key = hashlib.sha256((tool_hash + row["format"] + svg).encode()).hexdigest()[:32]
    cached = os.path.join(cache_dir, key + "." + row["format"])
    if not os.path.exists(cached):
        res = subprocess.run([rsvg, "-f", "png"], input=svg.encode(), capture_output=True)
        if res.returncode != 0:
            raise SkinError("%s: entry %s: rsvg-convert failed: %s" % (row["where"], row["name"],
                                                                       res.stderr.decode(errors="replace")))
        data = encode(row, res.stdout, convert)
        tmp = "%s.%s.tmp" % (cached, hashlib.sha256(row["name"].encode()).hexdigest()[:8])
        with open(tmp, "wb") as f:   # entries with the same picture may render at once
            f.write(data)
        os.replace(tmp, cached)
    target = os.path.join(out_dir, row["name"])
    shutil.copyfile(cached, target + ".tmp")
    os.replace(target + ".tmp", target)


def tool_version(rsvg):
    """Renderer and tool versions: a change of either renders everything anew."""
    ver = subprocess.run([rsvg, "--version"], capture_output=True, text=True).stdout
    h = hashlib.sha256(ver.encode())
    for mod in (__file__, imagecodec.__file__):
        with open(mod, "rb") as f:
            h.update(f.read())
    return h.hexdigest()


def main(argv):
    ap = argparse.ArgumentParser(description="Renders the skin pictures of the manifest.")
    ap.add_argument("command", choices=["render"])
    ap.add_argument("--manifest", required=True)
    ap.add_argument("--icons", required=True, help="node_modules folder holding the icon sets")
    ap.add_argument("--out", required=True)
    ap.add_argument("--cache")
    ap.add_argument("--art", default=None)
    ap.add_argument("--rsvg", default=shutil.which("rsvg-convert") or "rsvg-convert")
    ap.add_argument("--convert", default=shutil.which("convert") or "convert", help="ImageMagick, for JPEG")
    ap.add_argument("--only", nargs="*")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    opt = ap.parse_args(argv)
    try:
        rows = read_manifest(opt.manifest)
        if opt.only:
            rows = [r for r in rows if r["name"] in opt.only]
        art = opt.art or os.path.join(os.path.dirname(opt.manifest), "art")
        cache = opt.cache or os.path.join(opt.out, ".cache")
        os.makedirs(opt.out, exist_ok=True)
        os.makedirs(cache, exist_ok=True)
        glyphs = Glyphs(opt.icons)
        svgs = [(r, svg_of(r, glyphs, art)) for r in rows]
        th = tool_version(opt.rsvg)
        with concurrent.futures.ThreadPoolExecutor(opt.jobs) as pool:
            for fut in [pool.submit(render_one, r, s, opt.rsvg, opt.convert, cache, opt.out, th) for r, s in svgs]:
                fut.result()
    except (SkinError, imagecodec.ImageError, OSError, KeyError) as e:
        print("skintool: error: %s" % (e,), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
